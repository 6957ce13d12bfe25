// Stdin/stdout engines still being ended after their ask (EnginePipes::end
// gives them time to exit on their own). The window waits for them when it
// goes, so that it leaves no engine process behind.
#pragma once

#include <future>
#include <vector>

namespace vorek {

class EndingEngines {
public:
    EndingEngines() = default;
    // Waits until every engine kept has ended and been collected: at most
    // the time EnginePipes::end takes for one.
    ~EndingEngines();
    EndingEngines(const EndingEngines&) = delete;
    EndingEngines& operator=(const EndingEngines&) = delete;

    // Keeps the end of an engine, if the future is valid, and lets go of
    // those that have ended meanwhile.
    void add(std::future<void> ended);

private:
    std::vector<std::future<void>> ends_;
};

}  // namespace vorek
