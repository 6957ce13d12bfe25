#include "cli/engine_think.h"

#include "cli/arguments.h"
#include "opponent/process_runner.h"

namespace vorek::cli {

namespace {

// How often the wait looks at the interrupt flag.
constexpr std::chrono::milliseconds LOOK_EVERY{100};

}  // namespace

std::variant<std::optional<EngineChoice>, Misuse> engineOption(const CommandArguments& arguments,
                                                               int defaultMilliseconds) {
    const auto engine = arguments.value(ENGINE_OPTION);
    const auto ms = arguments.value(ENGINE_MS_OPTION);
    if (!engine) {
        if (ms) return Misuse{"--ms needs --engine"};
        return std::optional<EngineChoice>();
    }
    EngineChoice choice{.commandLine = std::string(*engine), .words = {}, .milliseconds = defaultMilliseconds};
    const std::optional<std::vector<std::string>> words = splitCommandLine(*engine);
    if (!words || words->empty())
        return Misuse{"bad --engine '" + choice.commandLine + "': give the engine's program and its arguments"};
    choice.words = *words;
    if (ms) {
        const std::optional<int> value = boundedNumber(*ms, LARGEST_ENGINE_MILLISECONDS);
        if (!value || *value < 1)
            return Misuse{"bad --ms '" + std::string(*ms) + "': give a whole number of milliseconds, 1..3600000"};
        choice.milliseconds = *value;
    }
    return choice;
}

ThinkEnd awaitThink(EngineEventQueue& queue, EngineSession& session, int think,
                    const std::atomic<bool>* interrupt, const std::function<void(const EngineEvent&)>& seen) {
    ThinkEnd end;
    bool stopped = false;
    for (;;) {
        if (!stopped && interrupt != nullptr && interrupt->load()) {
            session.stop();
            stopped = true;
        }
        const std::optional<EngineEvent> event = queue.pop(ChildClock::now() + LOOK_EVERY);
        if (!event || thinkOf(*event) != think) continue;
        seen(*event);
        if (const auto* search = std::get_if<SearchEvent>(&*event); search && search->line.index == 0) {
            end.best = search->line;
        } else if (const auto* answer = std::get_if<AnswerEvent>(&*event)) {
            end.move = answer->square;
            end.failure = answer->fault;
            return end;
        } else if (const auto* down = std::get_if<EngineDownEvent>(&*event)) {
            end.failure = down->detail;
            return end;
        }
    }
}

}  // namespace vorek::cli
