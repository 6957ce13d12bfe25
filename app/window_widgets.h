// The widgets the main window lays out and its features act on: the board
// picture with its status bar, the pages, the menus. The window makes them
// and owns them; the features hold them by reference.
#pragma once

class QLabel;
class QListWidget;
class QMainWindow;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;

namespace vorek {

class AnalysisPanel;
class BoardImage;
class EditMenu;
class EngineMenu;
class FolderMenu;
class GameMenu;
class GamePage;
class NodeMenu;
class NodeTree;
class PathLabel;
class ViewMenu;

struct WindowWidgets {
    QMainWindow& window;
    BoardImage& board;
    QStatusBar& boardStatus;    // under the board: the square report, the weight sum, the side to move
    QLabel& reportPanel;        // the square under the mouse: both players' best items
    QLabel& weightPanel;        // the square under the mouse: player 1's weight sum
    QLabel& sideToMove;
    QTabWidget& pages;
    NodeTree& tree;
    QListWidget& threats0;      // player 0's threat list, under its heading
    QLabel& heading0;
    QListWidget& threats1;
    QLabel& heading1;
    QPlainTextEdit& memo;       // the "Log" page
    GamePage& gamePage;
    QStatusBar& pagesStatus;    // under the pages: what a mode of work asks, the folder's path
    PathLabel& folderPath;
    NodeMenu& nodeMenu;
    FolderMenu& fileMenu;
    EditMenu& editMenu;
    ViewMenu& viewMenu;
    GameMenu& gameMenu;
    EngineMenu& engineMenu;
    AnalysisPanel& analysisPanel;  // a dock of the window
};

}  // namespace vorek
