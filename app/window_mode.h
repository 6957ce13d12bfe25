// What the window is doing, and what it allows meanwhile: one mode at a
// time, and one table of the commands each mode allows.
#pragma once

#include <array>
#include <cstddef>

namespace vorek {

enum class WindowMode {
    IDLE,     // a position from the files (or an edited one) is the root
    GAME,     // a position of the listed game record is the root
    EDITING,  // a position is set up by hand on the board
    SOLVING,  // the solver works on a thread of its own
    ASKING,   // an AI program is asked for its move
    SHOWING_LINE,  // the board shows a position of a solve's line, past its start
};

enum class Command {
    SELECT_NODE,     // select an item of the tree and show its node
    EXPAND_NODE,     // expand a node, or open the items of one the solver grew
    ASK_OPPONENT,    // the digit keys
    SOLVE,           // "Solve"
    FILE_INPUT,      // "File Input"
    FILE_OUTPUT,     // "File Output"
    OPEN_FOLDER,     // "Open Folder...", "Open Recent"
    OPEN_GAME,       // "Open Game..."
    STEP_GAME,       // select a line of the "Game" page
    START_EDITING,   // "Edit Position" on
    EDIT_POSITION,   // clicks on the board, "Swap Side to Move", "Clear Board", "Undo"
    FINISH_EDITING,  // "Edit Position" off
    STEP_LINE,       // the Solve dialog's "Back", "Previous", "Next", "End"
    PLAY_MOVE,       // clicks on the board on the "Game" page, "Back", "Forward", "Delete Move"
    NEW_GAME,        // "New Game", "New Game From Here"
    SAVE_GAME,       // "Save Game", "Save Game As..."
    ANALYSE_GAME,    // "Analyse Game"
    ANALYSE,         // "Analyse" (F5) on, "Engine Settings...", and an analysis thinking
    COMMAND_COUNT,
};

inline constexpr std::size_t MODE_COUNT = 6;
inline constexpr std::size_t COMMANDS = static_cast<std::size_t>(Command::COMMAND_COUNT);

// By mode, in the order of WindowMode, and by command, in the order of
// Command. A solve owns the tree below its start and an ask the position
// files, so both leave only looking around; an edit owns the position. A
// line shown owns the board: the tree rests under it, whose selection would
// replace the board, and so does all that would change the tree or start
// other work; the position shown may be written out. Moves are played on a
// position of the game only; a new game may start from an edited position,
// and the game may be saved whenever nothing else writes. An engine's
// analysis follows the position shown beside every mode but an ask: the
// program asked (or the AI playing) has the machine to itself, and the
// analysis waits meanwhile, to follow the position shown afterwards.
namespace mode_table {
inline constexpr bool Y = true;
inline constexpr bool N = false;
}  // namespace mode_table

inline constexpr std::array<std::array<bool, COMMANDS>, MODE_COUNT> ALLOWED = [] {
    using namespace mode_table;
    return std::array<std::array<bool, COMMANDS>, MODE_COUNT>{{
        // sel exp ask sol inp out fol gam stp edi chg fin lin ply new sav ana eng
        {{Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, N, N, Y, N, Y, Y, Y, Y}},  // IDLE
        {{Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, N, N, Y, Y, Y, Y, Y, Y}},  // GAME
        {{N, N, N, N, N, Y, N, N, N, N, Y, Y, N, N, Y, Y, N, Y}},  // EDITING
        {{Y, N, N, N, N, Y, N, N, N, N, N, N, N, N, N, Y, N, Y}},  // SOLVING
        {{N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N}},  // ASKING
        {{N, N, N, N, N, Y, N, N, N, N, N, N, Y, N, N, Y, N, Y}},  // SHOWING_LINE
    }};
}();

constexpr bool allows(WindowMode mode, Command command) {
    return ALLOWED[static_cast<std::size_t>(mode)][static_cast<std::size_t>(command)];
}

}  // namespace vorek
