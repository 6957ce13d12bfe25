// The "Game" menu: "New Game" (Ctrl+N) and "New Game From Here"; "Back"
// (Left), "Forward" (Right) and "Delete Move" (Delete), whose keys act on the
// "Game" page and the board; "Save Game" and "Save Game As..."
// (Ctrl+Shift+S); "AI Plays x" and "AI Plays o" (check items); "Analyse
// Game". It only holds the items; the game connects to them.
#pragma once

#include <QObject>
#include <initializer_list>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vorek {

class GameMenu final : public QObject {
    Q_OBJECT

public:
    // Puts the menu into the bar in front of the menu whose action is
    // `before`. The keys of stepping through the game act where the focus is
    // in one of the `stepping` widgets.
    GameMenu(QMenuBar& bar, QAction* before, std::initializer_list<QWidget*> stepping);

    QMenu* Game1 = nullptr;
    QAction* NewGame1 = nullptr;
    QAction* NewGameFromHere1 = nullptr;
    QAction* Back1 = nullptr;
    QAction* Forward1 = nullptr;
    QAction* DeleteMove1 = nullptr;
    QAction* SaveGame1 = nullptr;
    QAction* SaveGameAs1 = nullptr;
    QAction* AiPlaysX1 = nullptr;
    QAction* AiPlaysO1 = nullptr;
    QAction* AnalyseGame1 = nullptr;
};

}  // namespace vorek
