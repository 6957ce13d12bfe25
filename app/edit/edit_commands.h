// Setting up a position by hand: "Edit" > "Edit Position" and clicks on the
// board. While it is on, the board, the square report and the threat lists
// show the edited position after every change, the status bar says how to
// edit, and the tree rests; turning it off makes the edited position the
// root of a new tree.
#pragma once

#include <QObject>

namespace vorek {

class WindowFeatures;

class EditCommands final : public QObject {
    Q_OBJECT

public:
    explicit EditCommands(WindowFeatures& window) : window_(window) {}

    // "Edit Position" on: the shown position becomes the edited one, its
    // stones keeping their colours, and the tree, the AI keys and the
    // commands that replace the tree rest. Off: the edited position becomes
    // the root of a new tree.
    void EditPositionClick(bool on);
    // A click on the board while a position is edited: the left button puts
    // a stone of the side to move on an empty square and the right button
    // one of the other side; either takes a stone off. False outside an edit.
    bool ImgBoardClick(int square, Qt::MouseButton button);
    // The commands of the "Edit" menu while a position is edited.
    void SwapSideToMoveClick();
    void ClearBoardClick();
    void UndoClick();

    // Ends the edit without a tree over its position; nothing happens
    // outside one.
    void dropEdit();

private:
    void showEdit();

    WindowFeatures& window_;
};

}  // namespace vorek
