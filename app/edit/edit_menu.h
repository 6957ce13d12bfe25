// The "Edit" menu: "Edit Position" (a check item, Ctrl+E) turns the mode in
// which clicks on the board set up a position on and off; "Swap Side to
// Move", "Clear Board" and "Undo" (Ctrl+Z) change the position while it is on.
// The window connects to the actions.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace vorek {

class EditMenu final : public QObject {
    Q_OBJECT

public:
    // Puts the menu into the bar in front of the menu whose action is `before`;
    // the mode is off.
    EditMenu(QMenuBar& bar, QAction* before);

    // Checks or clears "Edit Position" without reporting it, and enables the
    // commands that change the position only while it is checked; "Undo" also
    // needs something to undo.
    void showEditing(bool editing, bool canUndo = false);

    QMenu* Edit1 = nullptr;
    QAction* EditPosition1 = nullptr;
    QAction* SwapSideToMove1 = nullptr;
    QAction* ClearBoard1 = nullptr;
    QAction* Undo1 = nullptr;
};

}  // namespace vorek
