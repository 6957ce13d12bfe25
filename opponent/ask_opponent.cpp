#include "opponent/ask_opponent.h"

#include "files/ascii_text.h"
#include "opponent/ask_through_files.h"
#include "opponent/ask_through_pipes.h"
#include "opponent/process_runner.h"

namespace vorek {

namespace {

constexpr std::string_view STDIN_PROTOCOL_PREFIX = "pbrain-";

}  // namespace

std::string_view failureMessage(RunResult result) {
    switch (result) {
        case RUN_OK: return {};
        case RUN_TIMEOUT: return "Timeout";
        case RUN_NOT_STARTED: return "File not found";
        default: return "AI Error";
    }
}

std::string outcomeMessage(const AskOutcome& outcome) {
    if (!outcome.refusal.empty()) return outcome.refusal;
    return std::string(failureMessage(outcome.result));
}

bool namesStdinEngine(std::string_view program) {
    const std::size_t slash = program.rfind('/');
    if (slash != std::string_view::npos) program.remove_prefix(slash + 1);
    return beginsIgnoringCase(program, STDIN_PROTOCOL_PREFIX);
}

bool speaksStdinProtocol(std::string_view commandLine) {
    const std::optional<std::vector<std::string>> words = splitCommandLine(commandLine);
    return words && !words->empty() && namesStdinEngine(words->front());
}

AskOutcome askOpponent(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                       int milliseconds, AskLog& log, const StopFlag* stop) {
    try {
        const AskTimeline timeline(log);
        if (!speaksStdinProtocol(commandLine))
            return askThroughFiles(commandLine, board, folder, milliseconds, timeline, stop);
        timeline("stdin/stdout protocol: " + std::string(commandLine));
        return askThroughPipes(*splitCommandLine(commandLine), board, folder, milliseconds, timeline, stop);
    } catch (const std::exception&) {
        return AskOutcome{};  // no memory for the ask: "AI Error"
    }
}

}  // namespace vorek
