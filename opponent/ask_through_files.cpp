#include "opponent/ask_through_files.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "board/square_text.h"
#include "files/file_snapshot.h"
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
    log(std::string("wrote \"tah.dat\": ") + moveFileBytes(board) + ", and \"plocha.dat\":");
    std::istringstream rows(boardFileBytes(board));
    for (std::string row; std::getline(rows, row);) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        log("  " + row);
    }
}

// The first bytes of the regular file at the name, a link not followed;
// empty when there is none.
std::string fileStart(const FolderHandle& folder, const std::string& name) {
    const ReadFile file = folder.openFile(name);
    if (!file) return {};
    std::string bytes(SHOWN_ANSWER, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return bytes;
}

void logAnswer(const FolderHandle& folder, const std::optional<MoveReply>& move, const AskTimeline& log) {
    std::string line = "\"tah.dat\" holds \"" + fileStart(folder, protocolName(folder, MOVE_FILE)) + "\": ";
    line += move ? "the move " + squareText(move->x, move->y) : std::string("no move");
    log(line);
}

std::string quoted(const std::string& text) {
    std::string line(1, '"');
    line += text;
    line += '"';
    return line;
}

// Why the folder's files could not be put back after an ask, naming the
// first that could not; empty when they can.
std::string whyNotAsked(const FileSnapshot& found, const std::filesystem::path& folder) {
    if (found.folder() == nullptr)
        return "cannot open the folder " + (folder.empty() ? std::string("\".\"") : quoted(folder.string())) +
               "; the program is not run";
    if (found.leftOut().empty()) return {};
    const FileSnapshot::LeftOut& first = found.leftOut().front();
    const std::string file = folder.empty() ? first.name : (folder / first.name).string();
    return quoted(file) + " " + first.why + "; the program is not run, as the file could not be put back after it";
}

}  // namespace

int timeoutDigit(int milliseconds) { return std::clamp(milliseconds / MILLISECONDS_PER_TIMEOUT_DIGIT, 1, 9); }

AskOutcome askThroughFiles(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                           int milliseconds, const AskTimeline& log, const StopFlag* stop) {
    log("file protocol: " + std::string(commandLine));
    AskOutcome outcome;
    // Kept in the outcome from the start: what the ask renames aside goes
    // back only through it.
    FileSnapshot& found = outcome.found.emplace(FileSnapshot::take(folder, {BOARD_FILE, MOVE_FILE, TIMEOUTS_FILE}));
    if (std::string refusal = whyNotAsked(found, folder); !refusal.empty()) {
        log("not asked: " + refusal);
        outcome.result = RUN_NOT_STARTED;
        outcome.refusal = std::move(refusal);
        outcome.found.reset();
        return outcome;
    }
    const FolderHandle& here = *found.folder();
    const bool boardWritten = found.writeForNow(BOARD_FILE, boardFileBytes(board));
    logPositionFiles(board, found.writeForNow(MOVE_FILE, moveFileBytes(board)) && boardWritten, log);
    const int digit = timeoutDigit(milliseconds);
    if (found.writeForNow(TIMEOUTS_FILE, timeoutsFileBytes(digit)))
        log("wrote \"timeouts.dat\": " + std::to_string(digit) + ", 2147483647");
    else
        log("could not write \"timeouts.dat\"");

    RunReport run = runOpponentProgram(commandLine, milliseconds, folder, stop);
    log("the program " + run.how);
    for (const std::string& line : endingLines(run.end)) log(line);
    outcome.result = run.result;
    outcome.programEnd = run.how;
    outcome.processesEnded = std::make_shared<GroupEnd>(std::move(run.end));
    if (run.result == RUN_OK) {
        outcome.move = readMoveReply(here);
        logAnswer(here, outcome.move, log);
    }
    return outcome;
}

}  // namespace vorek
