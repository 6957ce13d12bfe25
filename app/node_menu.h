// The "Node" menu: "File Input" and "File Output" of the position files,
// "Solve" (Ctrl+S) of the selected node and "Solve Settings...". It only
// holds the items; the window's features connect to them.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace vorek {

class NodeMenu final : public QObject {
    Q_OBJECT

public:
    // Appends the menu to the bar.
    explicit NodeMenu(QMenuBar& bar);

    QMenu* currNode = nullptr;
    QAction* FileInput1 = nullptr;
    QAction* FileOutput1 = nullptr;
    QAction* Solve1 = nullptr;
    QAction* SolveSettings1 = nullptr;
};

}  // namespace vorek
