// vorek-ai as an engine of the stdin/stdout protocol: the position it keeps
// between commands, its answer to each line, and the loop over its input.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ai/engine_command.h"
#include "ai/engine_limits.h"
#include "board/square_flags.h"

namespace vorek {

class ProtocolEngine {
public:
    using Clock = std::chrono::steady_clock;

    struct Reply {
        std::vector<std::string> lines;  // to write, in order, each ended by a line end
        bool end = false;                // END: the engine stops
    };

    // Answers one line of input that came at `received`, the moment a turn's
    // time is counted from. Lines between BOARD and DONE are stone lines. A
    // move asked for (BEGIN, TURN, DONE) is found as vorek-ai finds it under
    // the file protocol, for the turn time the INFO lines gave, and played on
    // the engine's own board; "MESSAGE" and a line about the solve come first.
    // Bad input gets one ERROR line (UNKNOWN for an unknown command) and
    // changes nothing.
    Reply handle(std::string_view line, Clock::time_point received);

private:
    enum Cell : std::uint8_t { NO_STONE = 0, OWN = 1, OPPONENT = 2 };
    using Cells = std::array<Cell, BOARD_SQUARES>;

    Reply command(const EngineCommand& command, Clock::time_point received);
    Reply info(const EngineCommand& command);
    void stoneLine(std::string_view line);
    Reply finishBoard(Clock::time_point received);
    Reply play(Clock::time_point received);

    Cells cells_{};
    EngineLimits limits_;
    bool ruleRefused_ = false;
    bool readingBoard_ = false;  // between BOARD and DONE
    Cells givenBoard_{};         // the stones given since BOARD
    std::string boardFault_;     // the first bad stone line since BOARD
};

// Runs a ProtocolEngine on the input and output descriptors until END or the
// end of the input, with lines ended by LF, CR LF or CR. Writes each line
// ended by LF. Returns the exit code: 0, or 1 when the output cannot be
// written.
int runProtocolEngine(int input, int output);

}  // namespace vorek
