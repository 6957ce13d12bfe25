// vorek-ai: an AI program for gomoku managers. Started under a name that
// begins with "pbrain-" (such as the pbrain-vorek link installed beside it) or
// with --pbrain, it speaks the stdin/stdout protocol as an engine; otherwise
// it plays one move under the file protocol in the working directory.
// "vorek-ai --version" prints its name and version.
#include <chrono>
#include <csignal>
#include <iostream>
#include <string_view>

#include "ai/engine_loop.h"
#include "ai/file_protocol.h"
#include "opponent/ask_opponent.h"

namespace {

constexpr std::string_view PBRAIN_OPTION = "--pbrain";

}  // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "vorek-ai " VOREK_VERSION "\n" << std::flush;
        return std::cout ? 0 : 1;
    }
    const bool pbrainOption = argc == 2 && argv[1] == PBRAIN_OPTION;
    if (argc > (pbrainOption ? 2 : 1)) {
        std::cerr << "vorek-ai: takes no arguments but --pbrain; under the file protocol it works on the "
                     "position files in the working directory\n";
        return 2;
    }
    if (!pbrainOption && !(argc > 0 && vorek::namesStdinEngine(argv[0]))) return vorek::playThroughFiles(started);
    // A manager that goes away ends the engine through a failed write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    return vorek::runProtocolEngine(0, 1);
}
