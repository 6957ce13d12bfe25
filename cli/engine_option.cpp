#include "cli/engine_option.h"

#include "cli/arguments.h"
#include "opponent/process_runner.h"

namespace vorek::cli {

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

}  // namespace vorek::cli
