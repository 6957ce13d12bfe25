// Setting up a position by hand: "Edit" > "Edit Position" and clicks on the
// board. While it is on, the board, the square report and the threat lists
// show the edited position after every change, and the tree rests.
#include <QAction>
#include <QLabel>

#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/form1.h"
#include "app/game/game_page.h"
#include "app/tree/node_tree.h"
#include "app/edit/position_editor.h"
#include "search/root_build.h"

namespace vorek {

void TForm1::EditPositionClick(bool on) {
    if (on == editing()) return;
    if (solving()) {  // the solver works on the tree the edit would replace
        EditCommands->showEditing(false);
        return;
    }
    if (on) {
        editor_ = std::make_unique<PositionEditor>(CurrentNode->ensureBoard(), origin_.player1Letter,
                                                   numbersAt(origin_, *CurrentNode));
        restTreeCommands(true);
        showEdit();
        return;
    }
    const std::unique_ptr<PositionEditor> edited = std::move(editor_);
    EditCommands->showEditing(false);
    restTreeCommands(false);
    Game->selectPosition(-1);
    replaceRoot(buildRootNode(edited->position()).root, edited->origin());
}

void TForm1::ImgBoardClick(int square, Qt::MouseButton button) {
    if (!editor_) return;  // outside the edit a click changes nothing
    editor_->click(square, button == Qt::LeftButton);
    showEdit();
}

void TForm1::SwapSideToMoveClick() {
    if (!editor_) return;
    editor_->swapSideToMove();
    showEdit();
}

void TForm1::ClearBoardClick() {
    if (!editor_) return;
    editor_->clear();
    showEdit();
}

void TForm1::UndoClick() {
    if (editor_ && editor_->undo()) showEdit();
}

// The report of the square under the mouse follows too, once there is one.
void TForm1::showEdit() {
    EditCommands->showEditing(true, editor_->canUndo());
    showPosition();
    if (!StatusPanels[0]->text().isEmpty()) showSquareReport();
}

// The tree view with its AI keys, and every command that replaces or solves
// the tree; the "Game" page's list rests with the tree view.
void TForm1::restTreeCommands(bool resting) {
    Tree->setEnabled(!resting);
    FileMenu->setOpeningEnabled(!resting);
    FileInput1->setEnabled(!resting);
    Solve1->setEnabled(!resting);
    if (!resting) Tree->setFocus();
}

}  // namespace vorek
