#include "opponent/ask_through_files.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "files/regular_file.h"
#include "opponent/process_runner.h"

namespace vorek {

namespace {

// Bytes of the answer file shown in the log.
constexpr std::size_t SHOWN_ANSWER = 60;

void logPositionFiles(const V2Board& board, bool written, const AskTimeline& log) {
    if (!written) {
        log("could not write \"plocha.dat\" and \"tah.dat\" in full");
        return;
    }
    log(std::string("wrote \"tah.dat\": ") + (board.sideToMove() == PLAYER1 ? "x" : "o") + ", and \"plocha.dat\":");
    std::ostringstream squares;
    writeSquares(squares, board);
    std::istringstream rows(squares.str());
    for (std::string row; std::getline(rows, row);) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        log("  " + row);
    }
}

// The first bytes of a regular file, control characters shown as '?'; empty
// when it cannot be read. A named pipe is no answer.
std::string fileStart(const std::filesystem::path& path) {
    const ReadFile file = openRegularFile(path);
    if (!file) return {};
    std::string bytes(SHOWN_ANSWER, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    std::replace_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return bytes;
}

void logAnswer(const std::filesystem::path& folder, const std::optional<MoveReply>& move, const AskTimeline& log) {
    std::string line = "\"tah.dat\" holds \"" + fileStart(findProtocolFile(folder, MOVE_FILE)) + "\": ";
    line += move ? "the move " + squareText(move->x, move->y) : std::string("no move");
    log(line);
}

}  // namespace

int timeoutDigit(int milliseconds) { return std::clamp(milliseconds / MILLISECONDS_PER_TIMEOUT_DIGIT, 1, 9); }

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
