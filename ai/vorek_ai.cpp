// vorek-ai: an AI program that speaks the file protocol. It reads the position
// from "plocha.dat" and "tah.dat" and its time from "timeouts.dat" in the
// working directory, solves for part of that time, writes its move "x,y"
// (column, row) into "tah.dat" and exits 0. On failure it writes nothing, says
// why on one line of stderr and exits 1 (2 for a wrong invocation).
// "vorek-ai --version" prints its name and version.
#include <chrono>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "ai/choose_move.h"
#include "ai/time_limit.h"
#include "board/position_files.h"
#include "board/replace_file.h"
#include "search/root_build.h"

namespace {

using Clock = std::chrono::steady_clock;

// About 0.8 GB of tree at most, and few enough nodes to free well inside the
// time left after solving.
constexpr std::uint64_t SOLVE_NODES = 1'000'000;

int fail(const std::string& message, int code = 1) {
    std::cerr << "vorek-ai: " << message << '\n';
    return code;
}

std::string reply(int square) {
    return std::to_string(vorek::columnOf(square)) + "," + std::to_string(vorek::rowOf(square));
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point started = Clock::now();
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "vorek-ai " VOREK_VERSION "\n" << std::flush;
        return std::cout ? 0 : 1;
    }
    if (argc > 1)
        return fail("takes no arguments; it works on the position files in the working directory", 2);
    const std::chrono::milliseconds limit = vorek::readTimeLimit();

    const vorek::RootBuild build = vorek::buildRootNode();
    if (!build.read) return fail("cannot read the position from \"plocha.dat\" and \"tah.dat\"");
    const vorek::SolvingLimits limits{SOLVE_NODES, vorek::solvingTime(limit, Clock::now() - started)};
    const std::optional<int> move = vorek::chooseMove(*build.root, limits);
    if (!move) return fail("the board has no empty square");
    // An answer after the limit would land in files the asker may already
    // have rewritten for a later question.
    if (Clock::now() - started > limit)
        return fail("the time limit of " + std::to_string(limit.count()) + " ms has passed; no move written");
    if (!vorek::replaceFile(vorek::MOVE_FILE, reply(*move))) return fail("cannot write \"tah.dat\"");
    return 0;
}
