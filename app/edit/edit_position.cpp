// Setting up a position by hand: "Edit" > "Edit Position" and clicks on the
// board.
#include <QAction>

#include "app/board_view/position_view.h"
#include "app/edit/edit_commands.h"
#include "app/edit/edit_menu.h"
#include "app/edit/position_editor.h"
#include "app/game/game_commands.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "files/position_source.h"

namespace vorek {

void EditCommands::EditPositionClick(bool on) {
    WindowController& controller = window_.controller();
    const bool editing = controller.mode() == WindowMode::EDITING;
    if (on == editing) return;
    if (on && !window_.allows(Command::START_EDITING)) {  // a solve works on the tree the edit would replace
        window_.widgets().editMenu.showEditing(false);
        return;
    }
    if (on) {
        const StoneLabels& labels = controller.rootLabels();
        StatNode& current = *controller.currentNode();
        const PictureOptions shown = window_.view().pictureOptions();
        const char black = shown.coloursByLetter ? shown.blackLetter : shown.player1Letter;
        controller.startEditing(std::make_unique<PositionEditor>(
            current.ensureBoard(), labels.player1Letter,
            numbersAfter(labels, movesFromRoot(current)), black));
        showEdit();
        return;
    }
    const std::unique_ptr<PositionEditor> edited = controller.finishEditing();
    window_.game().showNoPosition();
    window_.tree().showRoot(edited->position());
    window_.tree().view().setFocus();
}

void EditCommands::dropEdit() {
    if (window_.controller().mode() != WindowMode::EDITING) return;
    window_.controller().finishEditing();
    window_.applyMode();
}

bool EditCommands::ImgBoardClick(int square, Qt::MouseButton button) {
    if (!window_.allows(Command::EDIT_POSITION)) return false;
    window_.controller().editor()->click(square, button == Qt::LeftButton);
    showEdit();
    return true;
}

void EditCommands::SwapSideToMoveClick() {
    if (!window_.allows(Command::EDIT_POSITION)) return;
    window_.controller().editor()->swapSideToMove();
    showEdit();
}

void EditCommands::ClearBoardClick() {
    if (!window_.allows(Command::EDIT_POSITION)) return;
    window_.controller().editor()->clear();
    showEdit();
}

void EditCommands::UndoClick() {
    if (window_.allows(Command::EDIT_POSITION) && window_.controller().editor()->undo()) showEdit();
}

// The report of the square under the mouse follows too, once there is one.
void EditCommands::showEdit() {
    window_.applyMode();
    window_.view().show();
}

}  // namespace vorek
