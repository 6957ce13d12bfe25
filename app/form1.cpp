#include "app/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QListWidget>
#include <QSettings>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/analysis/analysis_commands.h"
#include "app/analysis/engine_menu.h"
#include "app/ask/ask_commands.h"
#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/board_view/position_view.h"
#include "app/board_view/view_menu.h"
#include "app/board_view/window_columns.h"
#include "app/edit/edit_commands.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_commands.h"
#include "app/folder/folder_menu.h"
#include "app/game/ai_player.h"
#include "app/game/game_commands.h"
#include "app/game/game_menu.h"
#include "app/game/game_page.h"
#include "app/menu_keys.h"
#include "app/node_menu.h"
#include "app/path_text.h"
#include "app/solve/solve_commands.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"

namespace vorek {

namespace {

constexpr const char* GEOMETRY_KEY = "window/geometry";
constexpr const char* COLUMNS_KEY = "window/columns";
constexpr const char* DOCKS_KEY = "window/docks";

}  // namespace

TForm1::TForm1(const std::filesystem::path& folder, QWidget* parent) : QMainWindow(parent) {
    widgets_ = std::make_unique<WindowWidgets>(setUpLayout());
    const QSettings kept;
    restoreGeometry(kept.value(QLatin1String(GEOMETRY_KEY)).toByteArray());
    columns_->restoreState(kept.value(QLatin1String(COLUMNS_KEY)).toByteArray());
    restoreState(kept.value(QLatin1String(DOCKS_KEY)).toByteArray());
    features_ = std::make_unique<WindowFeatures>(*widgets_, folder);
    connectHandlers();
    features_->start();
}

TForm1::TForm1(QWidget* parent) : TForm1(std::filesystem::path(), parent) {}

// The features go before the widgets they hold.
TForm1::~TForm1() {
    keepGeometry();
    features_.reset();
}

void TForm1::keepGeometry() const {
    QSettings kept;
    kept.setValue(QLatin1String(GEOMETRY_KEY), saveGeometry());
    kept.setValue(QLatin1String(COLUMNS_KEY), columns_->saveState());
    kept.setValue(QLatin1String(DOCKS_KEY), saveState());
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!features_->prepareToClose()) {
        event->ignore();
        return;
    }
    keepGeometry();
    QMainWindow::closeEvent(event);
}

void TForm1::connectHandlers() {
    WindowFeatures& f = *features_;
    const WindowWidgets& w = *widgets_;
    TreeCommands* tree = &f.tree();
    FolderCommands* folder = &f.folder();
    GameCommands* game = &f.game();
    EditCommands* edit = &f.edit();
    SolveCommands* solve = &f.solve();

    connect(w.nodeMenu.FileInput1, &QAction::triggered, folder, &FolderCommands::FileInput1Click);
    connect(w.nodeMenu.FileOutput1, &QAction::triggered, folder, &FolderCommands::FileOutput1Click);
    connect(w.nodeMenu.Solve1, &QAction::triggered, solve, &SolveCommands::SolveSelectedNode);
    connect(w.nodeMenu.SolveSettings1, &QAction::triggered, solve, &SolveCommands::SolveSettings1Click);

    AnalysisCommands* analysis = &f.analysis();
    connect(&w.board, &BoardImage::mouseMoved, this, [&f](int x, int y) {
        f.view().reportSquareAt(x, y);
        f.analysis().pointerAt(x, y);
    });
    connect(&w.board, &BoardImage::pointerLeft, analysis, &AnalysisCommands::pointerLeft);
    connect(&w.board, &BoardImage::squareClicked, this,
            [&f](int square, Qt::MouseButton button) { f.ImgBoardClick(square, button); });

    connect(&w.tree, &NodeTree::treeClicked, tree, &TreeCommands::TreeClick);
    connect(&w.tree, &NodeTree::treeDoubleClicked, tree, &TreeCommands::TreeDblClick);
    connect(&w.tree, &NodeTree::treeKeyReleased, tree, &TreeCommands::TreeKeyUp);
    connect(&w.tree, &QTreeWidget::itemExpanded, tree, &TreeCommands::TreeItemExpanded);

    connect(&w.fileMenu, &FolderMenu::openFolderChosen, folder, &FolderCommands::OpenFolderClick);
    connect(&w.fileMenu, &FolderMenu::recentFolderChosen, folder,
            [folder](const QString& chosen) { folder->OpenFolder(pathOf(chosen)); });
    connect(w.fileMenu.SavePositionAs1, &QAction::triggered, folder, &FolderCommands::SavePositionAsClick);
    connect(&w.fileMenu, &FolderMenu::openGameChosen, game, &GameCommands::OpenGameClick);
    connect(&w.fileMenu, &FolderMenu::quitChosen, this, &QWidget::close);

    connect(&w.gamePage, &GamePage::positionChosen, game, &GameCommands::ShowGamePosition);
    connect(&w.gamePage, &GamePage::nextMoveChosen, game, &GameCommands::chooseNextMove);
    connect(&w.gamePage, &GamePage::digitReleased, game, &GameCommands::digitReleased);
    connect(&w.pages, &QTabWidget::currentChanged, game, [game, &w](int index) {
        if (w.pages.widget(index) == &w.gamePage) game->pageShown();
    });
    const GameMenu& gameMenu = w.gameMenu;
    connect(gameMenu.NewGame1, &QAction::triggered, game, &GameCommands::NewGameClick);
    connect(gameMenu.NewGameFromHere1, &QAction::triggered, game, &GameCommands::NewGameFromHereClick);
    connect(gameMenu.Back1, &QAction::triggered, game, &GameCommands::BackClick);
    connect(gameMenu.Forward1, &QAction::triggered, game, &GameCommands::ForwardClick);
    connect(gameMenu.DeleteMove1, &QAction::triggered, game, &GameCommands::DeleteMoveClick);
    connect(gameMenu.SaveGame1, &QAction::triggered, game, &GameCommands::SaveGameClick);
    connect(gameMenu.SaveGameAs1, &QAction::triggered, game, &GameCommands::SaveGameAsClick);
    connect(gameMenu.AnalyseGame1, &QAction::triggered, game, &GameCommands::AnalyseGameClick);
    AiPlayer* ai = &game->ai();
    connect(gameMenu.AiPlaysX1, &QAction::triggered, ai, [ai](bool on) { ai->AiPlaysClick('x', on); });
    connect(gameMenu.AiPlaysO1, &QAction::triggered, ai, [ai](bool on) { ai->AiPlaysClick('o', on); });

    connect(w.engineMenu.Analyse1, &QAction::triggered, analysis, &AnalysisCommands::AnalyseClick);
    connect(w.engineMenu.EngineSettings1, &QAction::triggered, analysis, &AnalysisCommands::EngineSettingsClick);

    connect(w.editMenu.EditPosition1, &QAction::toggled, edit, &EditCommands::EditPositionClick);
    connect(w.editMenu.SwapSideToMove1, &QAction::triggered, edit, &EditCommands::SwapSideToMoveClick);
    connect(w.editMenu.ClearBoard1, &QAction::triggered, edit, &EditCommands::ClearBoardClick);
    connect(w.editMenu.Undo1, &QAction::triggered, edit, &EditCommands::UndoClick);

    // The rulers come and go beside a picture that keeps its size.
    connect(&w.viewMenu, &ViewMenu::changed, this, [this, &f] {
        const int side = widgets_->board.side();
        coordinates_->setShown(widgets_->viewMenu.coordinates());
        columns_->keepPictureSide(side);
        f.view().show();
    });

    openMenusByKeyboard(*menuBar());
}

}  // namespace vorek
