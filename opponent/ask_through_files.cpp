#include "opponent/ask_through_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "opponent/process_runner.h"

namespace vorek {

namespace {

constexpr int MILLISECONDS_PER_DIGIT = 1100;
// Bytes of the answer file shown in the log.
constexpr std::size_t SHOWN_ANSWER = 60;

void logPositionFiles(const V2Board& board, bool written, const AskTimeline& log) {
    if (!written) {
        log("could not write \"plocha.dat\" and \"tah.dat\" in full");
        return;
    }
    log(std::string("wrote \"tah.dat\": ") + (board.sideToMove == 1 ? "x" : "o") + ", and \"plocha.dat\":");
    std::ostringstream squares;
    writeSquares(squares, board);
    std::istringstream rows(squares.str());
    for (std::string row; std::getline(rows, row);) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        log("  " + row);
    }
}

// The first bytes of a regular file, control characters shown as '?'; empty
// when it cannot be read. Opened without blocking: a named pipe is no answer.
std::string fileStart(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat st {};
    std::string bytes(SHOWN_ANSWER, '\0');
    ssize_t count = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) count = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.resize(static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    std::replace_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return bytes;
}

void logAnswer(const std::filesystem::path& folder, const std::optional<MoveReply>& move, const AskTimeline& log) {
    std::string line = "\"tah.dat\" holds \"" + fileStart(findProtocolFile(folder, MOVE_FILE)) + "\": ";
    line += move ? "the move " + std::to_string(move->x) + "," + std::to_string(move->y) : std::string("no move");
    log(line);
}

}  // namespace

int timeoutDigit(int milliseconds) { return std::clamp(milliseconds / MILLISECONDS_PER_DIGIT, 1, 9); }

AskOutcome askThroughFiles(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                           int milliseconds, const AskTimeline& log) {
    log("file protocol: " + std::string(commandLine));
    logPositionFiles(board, writePositionFiles(board, folder), log);
    const int digit = timeoutDigit(milliseconds);
    if (writeTimeouts(digit, folder))
        log("wrote \"timeouts.dat\": " + std::to_string(digit) + ", 2147483647");
    else
        log("could not write \"timeouts.dat\"");

    const RunReport run = runOpponentProgram(commandLine, milliseconds, folder);
    log("the program " + run.how);
    AskOutcome outcome;
    outcome.result = run.result;
    if (run.result != RUN_OK) return outcome;
    outcome.move = readMoveReply(folder);
    logAnswer(folder, outcome.move, log);
    return outcome;
}

}  // namespace vorek
