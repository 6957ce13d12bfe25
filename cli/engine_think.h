// Thinking with an engine kept running, for the commands that ask one for
// its view of positions (analyse, game --engine): the options that name it,
// and the wait for a think's end.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command.h"
#include "opponent/engine_event_queue.h"
#include "opponent/engine_session.h"

namespace vorek::cli {

inline constexpr std::string_view ENGINE_OPTION = "--engine";
inline constexpr std::string_view ENGINE_MS_OPTION = "--ms";
inline constexpr int LARGEST_ENGINE_MILLISECONDS = 3'600'000;

struct EngineChoice {
    std::string commandLine;  // --engine as given, for messages
    std::vector<std::string> words;
    int milliseconds = 0;  // --ms: each think's time
};

// The engine of --engine, a command line split as the window splits one
// (the program runs in the working directory), and the time of --ms
// (1..3600000, default `defaultMilliseconds`); nullopt without --engine.
std::variant<std::optional<EngineChoice>, Misuse> engineOption(const CommandArguments& arguments,
                                                               int defaultMilliseconds);

struct ThinkEnd {
    std::optional<SearchLine> best;  // the last report of the engine's best line
    int move = -1;                   // the engine's answer; -1 when there is none
    std::string failure;             // why there is none, for the user
};

// Waits for the end of the think, handing each of its events to `seen` as it
// comes. Once the interrupt flag is set the think is stopped (it then
// answers what it has).
ThinkEnd awaitThink(EngineEventQueue& queue, EngineSession& session, int think,
                    const std::atomic<bool>* interrupt, const std::function<void(const EngineEvent&)>& seen);

}  // namespace vorek::cli
