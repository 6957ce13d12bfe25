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
    COMMAND_COUNT,
};

inline constexpr std::size_t MODE_COUNT = 5;
inline constexpr std::size_t COMMANDS = static_cast<std::size_t>(Command::COMMAND_COUNT);

// By mode, in the order of WindowMode, and by command, in the order of
// Command. A solve owns the tree below its start and an ask the position
// files, so both leave only looking around; an edit owns the position.
inline constexpr std::array<std::array<bool, COMMANDS>, MODE_COUNT> ALLOWED{{
    //  select expand ask    solve  input  output folder game   step   edit   change finish
    {{true, true, true, true, true, true, true, true, true, true, false, false}},          // IDLE
    {{true, true, true, true, true, true, true, true, true, true, false, false}},          // GAME
    {{false, false, false, false, false, true, false, false, false, false, true, true}},   // EDITING
    {{true, false, false, false, false, true, false, false, false, false, false, false}},  // SOLVING
    {{false, false, false, false, false, false, false, false, false, false, false, false}}, // ASKING
}};

constexpr bool allows(WindowMode mode, Command command) {
    return ALLOWED[static_cast<std::size_t>(mode)][static_cast<std::size_t>(command)];
}

}  // namespace vorek
