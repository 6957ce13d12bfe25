#include "ai/file_protocol.h"

#include <iostream>
#include <string>

#include "ai/choose_move.h"
#include "ai/manager_files.h"
#include "board/square_text.h"
#include "files/position_files.h"
#include "files/position_source.h"
#include "files/replace_file.h"

namespace vorek {

namespace {

using Clock = std::chrono::steady_clock;

int fail(const std::string& message) {
    std::cerr << "vorek-ai: " << message << '\n';
    return 1;
}

}  // namespace

int playThroughFiles(Clock::time_point started) {
    const EngineLimits limits = readManagerFiles();
    const std::chrono::milliseconds turn = limits.thisTurn();
    const std::filesystem::path moveFile = findProtocolFile({}, MOVE_FILE);

    MoveChoice choice;
    {
        const PositionSource position = folderPosition({});
        if (!position.read) return fail("cannot read the position from \"plocha.dat\" and \"tah.dat\"");
        const SolvingLimits solving{SOLVE_NODES, solvingTime(turn, Clock::now() - started), limits.maxMemory};
        choice = chooseMove(*position.board, solving);
    }
    if (!choice.move) return fail("the board has no empty square");
    // An answer after the limit would land in files the asker may already
    // have rewritten for a later question. A turn too short to solve in (0
    // or less: "as fast as you can") is answered at once, however late.
    if (leavesTimeToSolve(turn) && Clock::now() - started > turn)
        return fail("the time limit of " + std::to_string(turn.count()) + " ms has passed; no move written");
    if (!replaceFile(moveFile, squareText(columnOf(*choice.move), rowOf(*choice.move)))) return fail("cannot write \"" + moveFile.string() + "\"");
    writeManagerMessage(describeChoice(choice, turn));
    return 0;
}

}  // namespace vorek
