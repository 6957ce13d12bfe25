#include "app/node_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_action.h"

namespace vorek {

NodeMenu::NodeMenu(QMenuBar& bar) : QObject(&bar) {
    currNode = named(bar.addMenu(QStringLiteral("&Node")), "currNode");
    FileInput1 = addNamedAction(*currNode, "File &Input", "FileInput1");
    FileOutput1 = addNamedAction(*currNode, "File &Output", "FileOutput1");
    Solve1 = addNamedAction(*currNode, "&Solve", "Solve1");
    Solve1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SolveSettings1 = addNamedAction(*currNode, "Solve Se&ttings...", "SolveSettings1");
}

}  // namespace vorek
