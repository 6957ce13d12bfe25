#include "app/edit/edit_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "app/menu_action.h"

namespace vorek {

EditMenu::EditMenu(QMenuBar& bar, QAction* before) : QObject(&bar) {
    Edit1 = addNamedMenu(bar, before, "&Edit", "Edit1");

    EditPosition1 = addNamedAction(*Edit1, "&Edit Position", "EditPosition1");
    EditPosition1->setCheckable(true);
    EditPosition1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    SwapSideToMove1 = addNamedAction(*Edit1, "S&wap Side to Move", "SwapSideToMove1");
    ClearBoard1 = addNamedAction(*Edit1, "&Clear Board", "ClearBoard1");
    Edit1->addSeparator();
    Undo1 = addNamedAction(*Edit1, "&Undo", "Undo1");
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    showEditing(false);
}

void EditMenu::showEditing(bool editing, bool canUndo) {
    const QSignalBlocker quiet(EditPosition1);
    EditPosition1->setChecked(editing);
    SwapSideToMove1->setEnabled(editing);
    ClearBoard1->setEnabled(editing);
    Undo1->setEnabled(editing && canUndo);
}

}  // namespace vorek
