#include "app/analysis/engine_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_action.h"

namespace vorek {

EngineMenu::EngineMenu(QMenuBar& bar, QAction* before, QAction* panel) : QObject(&bar) {
    Engine1 = addNamedMenu(bar, before, "Eng&ine", "Engine1");
    Analyse1 = addNamedAction(*Engine1, "&Analyse", "Analyse1");
    Analyse1->setCheckable(true);
    Analyse1->setShortcut(QKeySequence(Qt::Key_F5));
    EngineSettings1 = addNamedAction(*Engine1, "Engine &Settings...", "EngineSettings1");
    Engine1->addSeparator();
    AnalysisPanel1 = named(panel, "AnalysisPanel1");
    AnalysisPanel1->setText(QStringLiteral("Analysis &Panel"));
    Engine1->addAction(AnalysisPanel1);
}

}  // namespace vorek
