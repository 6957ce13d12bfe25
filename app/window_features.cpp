#include "app/window_features.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QStatusBar>
#include <QTreeWidget>
#include <cstdio>

#include "app/analysis/analysis_commands.h"
#include "app/analysis/engine_menu.h"
#include "app/ask/ask_commands.h"
#include "app/board_view/position_view.h"
#include "app/edit/edit_commands.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_commands.h"
#include "app/folder/folder_menu.h"
#include "app/game/ai_player.h"
#include "app/game/game_commands.h"
#include "app/game/game_menu.h"
#include "app/game/game_page.h"
#include "app/node_menu.h"
#include "app/solve/line_stepper.h"
#include "app/solve/solve_commands.h"
#include "app/solve/solve_dialog.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "files/position_source.h"

namespace vorek {

WindowFeatures::WindowFeatures(const WindowWidgets& widgets, const std::filesystem::path& folder)
    : widgets_(widgets),
      view_(std::make_unique<PositionView>(controller_, widgets_)),
      tree_(std::make_unique<TreeCommands>(*this, widgets_.tree)),
      folder_(std::make_unique<FolderCommands>(*this, folder)),
      game_(std::make_unique<GameCommands>(*this, widgets_.gamePage)),
      edit_(std::make_unique<EditCommands>(*this)),
      solve_(std::make_unique<SolveCommands>(*this)),
      ask_(std::make_unique<AskCommands>(*this)),
      analysis_(std::make_unique<AnalysisCommands>(*this, widgets_.analysisPanel)) {
    // The analysis follows every position shown.
    view_->setShownListener([this] { analysis_->follow(); });
}

// The analysis, the solve and the AI go first: they work on the tree. The
// tree's items go before its nodes; the files found go back last.
WindowFeatures::~WindowFeatures() {
    view_->setShownListener({});
    analysis_->endAll();
    solve_->endAll();
    game_->endAll();
    tree_->clear();
    controller_.dropTree();
    if (!folder_->putBack())
        std::fprintf(stderr, "visual-vorek: cannot put back the position files in \"%s\" as they were found\n",
                     folder_->folder().c_str());
}

void WindowFeatures::start() { folder_->start(); }

// One place says what the mode allows: every command's control follows the table.
void WindowFeatures::applyMode() {
    const WindowWidgets& w = widgets_;
    w.tree.setEnabled(allows(Command::SELECT_NODE));
    w.nodeMenu.FileInput1->setEnabled(allows(Command::FILE_INPUT));
    w.nodeMenu.FileOutput1->setEnabled(allows(Command::FILE_OUTPUT));
    w.nodeMenu.Solve1->setEnabled(allows(Command::SOLVE));
    w.fileMenu.setEnabled(allows(Command::OPEN_FOLDER), allows(Command::OPEN_GAME), allows(Command::FILE_OUTPUT));
    w.gamePage.GameList->setEnabled(allows(Command::STEP_GAME));
    w.gamePage.NextMoves->setEnabled(allows(Command::STEP_GAME));
    const GameMenu& game = w.gameMenu;
    const bool hasGame = game_->game() != nullptr;
    game.NewGame1->setEnabled(allows(Command::NEW_GAME));
    game.NewGameFromHere1->setEnabled(allows(Command::NEW_GAME));
    for (QAction* step : {game.Back1, game.Forward1}) step->setEnabled(hasGame && allows(Command::STEP_GAME));
    game.DeleteMove1->setEnabled(hasGame && allows(Command::PLAY_MOVE));
    for (QAction* save : {game.SaveGame1, game.SaveGameAs1}) save->setEnabled(hasGame && allows(Command::SAVE_GAME));
    game.AnalyseGame1->setEnabled(hasGame && (allows(Command::ANALYSE_GAME) || game_->analysing()));
    const PositionEditor* editor = controller_.editor();
    w.editMenu.EditPosition1->setEnabled(allows(Command::START_EDITING) || allows(Command::FINISH_EDITING));
    w.editMenu.showEditing(controller_.mode() == WindowMode::EDITING,
                           allows(Command::EDIT_POSITION) && editor != nullptr && editor->canUndo());
    if (SolveDialog* dialog = solve_->dialog()) dialog->line()->setEnabled(allows(Command::STEP_LINE));
    w.engineMenu.Analyse1->setEnabled(allows(Command::ANALYSE) || analysis_->analysing());
    w.engineMenu.EngineSettings1->setEnabled(allows(Command::ANALYSE));
    showModeMessage();
    analysis_->follow();
}

// The status bar under the pages says what a mode of work asks of the user;
// its tool tip says the rest.
void WindowFeatures::showModeMessage() {
    QStatusBar& bar = widgets_.pagesStatus;
    QString tip;
    switch (controller_.mode()) {
        case WindowMode::EDITING: {
            const char mover = controller_.editor()->letterToMove();
            bar.showMessage(QStringLiteral("Editing: left click %1, right click %2, Ctrl+E to finish")
                                .arg(QLatin1Char(mover))
                                .arg(QLatin1Char(otherLetter(mover))));
            tip = QStringLiteral("A click on a stone takes it off; the \"Edit\" menu swaps the side to move, "
                                 "clears the board and undoes.");
            break;
        }
        case WindowMode::SOLVING:
            bar.showMessage(QStringLiteral("Solving: the tree can be looked at, not changed"));
            break;
        case WindowMode::ASKING: break;  // the ask says whom it waits for
        case WindowMode::SHOWING_LINE:
            bar.showMessage(QStringLiteral("Showing the solve's line: Back returns"));
            tip = QStringLiteral("The tree rests while the board shows a position of the line; \"Back\" or "
                                 "closing the Solve dialog shows the selected node again.");
            break;
        case WindowMode::IDLE:
        case WindowMode::GAME: bar.clearMessage(); break;
    }
    bar.setToolTip(tip);
}

void WindowFeatures::say(const QString& text) { widgets_.pagesStatus.showMessage(text); }

void WindowFeatures::ImgBoardClick(int square, Qt::MouseButton button) {
    if (edit_->ImgBoardClick(square, button)) return;
    game_->ImgBoardClick(square, button);
}

bool WindowFeatures::prepareToClose() {
    if (!game_->confirmLeave(QStringLiteral("close the window"))) return false;
    analysis_->stop();
    game_->ai().stop();
    game_->AnalyseGameClick(false);
    solve_->stop();
    return true;
}

}  // namespace vorek
