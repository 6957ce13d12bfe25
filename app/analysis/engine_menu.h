// The "Engine" menu: "Analyse" (F5, a check item) keeps the chosen engine
// thinking on the position shown; "Engine Settings..." chooses the engine,
// its time and its lines; "Analysis Panel" shows or hides the panel. It only
// holds the items; the analysis connects to them.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace vorek {

class EngineMenu final : public QObject {
    Q_OBJECT

public:
    // Puts the menu into the bar in front of the menu whose action is
    // `before`; `panel` is the panel's own show-and-hide item.
    EngineMenu(QMenuBar& bar, QAction* before, QAction* panel);

    QMenu* Engine1 = nullptr;
    QAction* Analyse1 = nullptr;
    QAction* EngineSettings1 = nullptr;
    QAction* AnalysisPanel1 = nullptr;
};

}  // namespace vorek
