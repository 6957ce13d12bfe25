#include "app/game/game_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "app/menu_action.h"

namespace vorek {

namespace {

// The key acts while the focus is in one of the widgets, so that an arrow
// key keeps its own meaning in the tree and the lists elsewhere.
void stepKey(QAction& action, QKeySequence key, std::initializer_list<QWidget*> stepping) {
    action.setShortcut(key);
    action.setShortcutContext(Qt::WidgetWithChildrenShortcut);
    for (QWidget* widget : stepping) widget->addAction(&action);
}

}  // namespace

GameMenu::GameMenu(QMenuBar& bar, QAction* before, std::initializer_list<QWidget*> stepping) : QObject(&bar) {
    Game1 = addNamedMenu(bar, before, "&Game", "Game1");

    NewGame1 = addNamedAction(*Game1, "&New Game", "NewGame1");
    NewGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    NewGameFromHere1 = addNamedAction(*Game1, "New Game From &Here", "NewGameFromHere1");
    Game1->addSeparator();
    Back1 = addNamedAction(*Game1, "&Back", "Back1");
    stepKey(*Back1, QKeySequence(Qt::Key_Left), stepping);
    Forward1 = addNamedAction(*Game1, "&Forward", "Forward1");
    stepKey(*Forward1, QKeySequence(Qt::Key_Right), stepping);
    DeleteMove1 = addNamedAction(*Game1, "&Delete Move", "DeleteMove1");
    stepKey(*DeleteMove1, QKeySequence(Qt::Key_Delete), stepping);
    Game1->addSeparator();
    SaveGame1 = addNamedAction(*Game1, "&Save Game", "SaveGame1");
    SaveGameAs1 = addNamedAction(*Game1, "Save Game &As...", "SaveGameAs1");
    SaveGameAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Game1->addSeparator();
    AiPlaysX1 = addNamedAction(*Game1, "AI Plays &x", "AiPlaysX1");
    AiPlaysX1->setCheckable(true);
    AiPlaysO1 = addNamedAction(*Game1, "AI Plays &o", "AiPlaysO1");
    AiPlaysO1->setCheckable(true);
    Game1->addSeparator();
    AnalyseGame1 = addNamedAction(*Game1, "Ana&lyse Game", "AnalyseGame1");
    AnalyseGame1->setCheckable(true);
}

}  // namespace vorek
