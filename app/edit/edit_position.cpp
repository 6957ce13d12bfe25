// Setting up a position by hand: "Edit" > "Edit Position" and clicks on the
// board. While it is on, the board, the square report and the threat lists
// show the edited position after every change, the status bar says how to
// edit, and the tree rests.
#include <QAction>
#include <QLabel>

#include "app/edit/edit_menu.h"
#include "app/edit/position_editor.h"
#include "app/form1.h"
#include "app/game/game_page.h"
#include "app/tree/node_tree.h"
#include "files/position_source.h"

namespace vorek {

void TForm1::EditPositionClick(bool on) {
    if (on == editing()) return;
    if (on && !allows(Command::START_EDITING)) {  // a solve works on the tree the edit would replace
        EditCommands->showEditing(false);
        return;
    }
    if (on) {
        const StoneLabels& labels = rootLabels();
        controller_.startEditing(std::make_unique<PositionEditor>(
            CurrentNode->ensureBoard(), labels.player1Letter, numbersAfter(labels, movesFromRoot(*CurrentNode))));
        showEdit();
        return;
    }
    const std::unique_ptr<PositionEditor> edited = controller_.finishEditing();
    Game->selectPosition(-1);
    showRoot(edited->position());
    Tree->setFocus();
}

void TForm1::ImgBoardClick(int square, Qt::MouseButton button) {
    if (!allows(Command::EDIT_POSITION)) return;  // outside the edit a click changes nothing
    controller_.editor()->click(square, button == Qt::LeftButton);
    showEdit();
}

void TForm1::SwapSideToMoveClick() {
    if (!allows(Command::EDIT_POSITION)) return;
    controller_.editor()->swapSideToMove();
    showEdit();
}

void TForm1::ClearBoardClick() {
    if (!allows(Command::EDIT_POSITION)) return;
    controller_.editor()->clear();
    showEdit();
}

void TForm1::UndoClick() {
    if (allows(Command::EDIT_POSITION) && controller_.editor()->undo()) showEdit();
}

// The report of the square under the mouse follows too, once there is one.
void TForm1::showEdit() {
    applyMode();
    showPosition();
    if (!StatusPanels[0]->text().isEmpty()) showSquareReport();
}

}  // namespace vorek
