// The main window: the board picture with its status bar on the left; the
// search tree, the two threat lists, the log of the last AI question, the
// moves of a game record and the position folder's path on the right. It is
// a view over the window's controller: the controller holds the mode, the
// tree and the edited position, and says what each mode allows.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <memory>

#include "app/ask/ending_engines.h"
#include "app/folder/position_folder.h"
#include "app/solve/solve_settings.h"
#include "app/window_controller.h"
#include "picture/board_picture.h"
#include "search/stat_node.h"

class QAction;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class QTreeWidgetItem;

namespace vorek {

class BoardCoordinates;
class BoardImage;
class EditMenu;
class FolderDialogs;
class FolderMenu;
class GamePage;
class NodeTree;
class OpponentDialogs;
class PathLabel;
class SolveDialog;
class SolveRun;
class ViewMenu;
class WindowColumns;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Lays out the window, reads the position in the folder (empty: the
    // working directory), keeps the position files as found for closing, and
    // shows the root node. Reads, writes and AI runs all happen in the folder.
    explicit TForm1(const std::filesystem::path& folder, QWidget* parent = nullptr);
    // The same in the working directory.
    explicit TForm1(QWidget* parent = nullptr);
    // Destroys the tree and, where the window wrote the position files, puts
    // back the files found at start-up.
    ~TForm1() override;

    // Window components, named as their object names.
    BoardImage* ImgBoard = nullptr;
    QStatusBar* StatusBar2 = nullptr;
    QLabel* StatusPanels[3] = {};
    QLabel* SideToMove = nullptr;            // in StatusBar2: the letter to move and its colour
    NodeTree* Tree = nullptr;
    QListWidget* TList0 = nullptr;
    QListWidget* TList1 = nullptr;
    QLabel* TList0Heading = nullptr;         // names the player whose threats TList0 lists
    QLabel* TList1Heading = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    PathLabel* FolderPath = nullptr;         // in StatusBar1
    QTabWidget* PageControl1 = nullptr;
    GamePage* Game = nullptr;                // the "Game" page
    FolderMenu* FileMenu = nullptr;
    EditMenu* EditCommands = nullptr;
    ViewMenu* ViewChoices = nullptr;
    QAction* FileInput1 = nullptr;
    QAction* FileOutput1 = nullptr;
    QAction* Solve1 = nullptr;
    QAction* SolveSettings1 = nullptr;

    // Window state.
    V2Board* RootBoard = nullptr;            // the root's board, owned by the root node
    std::unique_ptr<V2Board> StartBoard;     // the position read at start-up or on opening a folder
    StatNode* CurrentNode = nullptr;         // the node shown; points into the tree
    int MouseColumn = 0;
    int MouseRow = 0;
    int MouseSquare = 0;

    // The node an item of Tree stands for.
    static StatNode* nodeOf(const QTreeWidgetItem* item);
    // The selected tree item, or null.
    QTreeWidgetItem* selectedItem() const;

    // What the window is doing, and whether that allows the command.
    WindowMode mode() const { return controller_.mode(); }
    bool allows(Command command) const { return controller_.allows(command); }
    bool solving() const { return mode() == WindowMode::SOLVING; }
    bool editing() const { return mode() == WindowMode::EDITING; }

    // Reads the position files into a new root and shows it as the only item;
    // no line of the "Game" page is selected.
    void BuildRootNode();
    // Makes the selected item's node current and shows its board and lists
    // (while a position is edited: the edited board).
    void ShowSelectedNode();
    // Expands the selected item's node and shows its children and the new numbers.
    // A node the solver expanded gets the items for its children instead.
    void ExpandSelectedNode();

    // The board on show: the edited one while a position is edited, else
    // the current node's.
    V2Board& shownBoard();
    // What the picture of the board on show adds to its stones: the "View"
    // menu's choices, a game's colours, the last move's mark.
    PictureOptions pictureOptions() const;

    // Rebuilds the tree from the position files, where the mode allows it.
    void FileInput1Click();
    // Writes the shown position (the edited one while editing) to the
    // position files.
    void FileOutput1Click();
    // Reports the square under the mouse for the shown position.
    void ImgBoardMouseMove(int x, int y);
    // A click on the board: while a position is edited, the left button puts
    // a stone of the side to move on an empty square and the right button
    // one of the other side; either takes a stone off. Otherwise nothing.
    void ImgBoardClick(int square, Qt::MouseButton button);
    void TreeClick();
    void TreeDblClick();
    void TreeKeyUp(int virtualKey);
    // An item opened by its indicator or the arrow key: an item whose node the
    // solver expanded gets its child items now.
    void TreeItemExpanded(QTreeWidgetItem* item);

    // Asks an AI program for its move in the selected position, giving it
    // digit x 1100 ms, shows the exchange on the "Log" page and marks the
    // answer on the board, saying "AI move: x,y", or shows the failure,
    // naming the program. A cancelled input box does nothing at all. Returns
    // once the ask is over; meanwhile the window paints and the tree and the
    // menus rest. A close requested meanwhile closes the window afterwards,
    // and nothing is shown.
    void AskOpponentMove(int digit);
    // Replaces the input box and the message box of AskOpponentMove.
    void setOpponentDialogs(std::unique_ptr<OpponentDialogs> dialogs);

    // The folder the window works on, absolute.
    const std::filesystem::path& folder() const { return folder_.path(); }
    // "Open Folder...": asks for a folder and opens it.
    void OpenFolderClick();
    // Puts back the current folder's files as closing does, then reads the
    // new folder as "File Input" does, with a new start-up board. A folder
    // that cannot be opened gets a message and the window stays where it is;
    // where the mode does not allow opening, nothing happens. True when the
    // folder was opened.
    bool OpenFolder(const std::filesystem::path& folder);
    // Replaces the dialogs of OpenFolderClick, OpenFolder, OpenGameClick and OpenGame.
    void setFolderDialogs(std::unique_ptr<FolderDialogs> dialogs);

    // "Open Game...": asks for a game record and opens it.
    void OpenGameClick();
    // Reads the game record and lists its positions on the "Game" page, which
    // comes to the front with the keyboard focus on its list; the position
    // after the last move becomes the root of a new tree. A record that
    // cannot be read gets a message naming the file and the line, and the
    // tree, the position and the page stay as they were. Nothing happens
    // where the mode does not allow opening. True when the game was opened.
    bool OpenGame(const std::filesystem::path& file);
    // Makes the position after `count` moves of the listed game the root of a
    // new tree, as "File Input" does with the files, writing nothing. Where
    // the mode does not allow it the line of `previous` moves is selected
    // again instead.
    void ShowGamePosition(int count, int previous = -1);
    // What the source of the root's position said of its stones: the letter
    // of player 1, their numbers, the last move, a record's colours.
    const StoneLabels& rootLabels() const { return controller_.rootLabels(); }

    // "Edit Position" on: the shown position becomes the edited one, and the
    // tree, the AI keys and the commands that replace the tree rest. Off: the
    // edited position becomes the root of a new tree.
    void EditPositionClick(bool on);
    // The commands of the "Edit" menu while a position is edited.
    void SwapSideToMoveClick();
    void ClearBoardClick();
    void UndoClick();

    // A "View" item changed: the picture and the coordinates follow it.
    void ViewChanged();

    // Solves the selected node's position on a thread of its own, by the
    // solve settings, with a progress dialog. The board, the threat lists and
    // moving through the items keep working; commands that change the tree
    // (expansion, digit keys, "File Input", opening, a second solve) do
    // nothing while it runs. Afterwards the dialog says how it ended; under
    // the tree's rules the path is relabelled, and the proving move, if any,
    // is selected where the tree has it.
    void SolveSelectedNode();
    // "Solve Settings...": asks for the budgets and rules of later solves.
    void SolveSettings1Click();
    void setSolveSettings(const SolveSettings& settings);

    // Waits until the trees handed over for deletion are deleted and their
    // memory given back.
    void waitForDeletedTrees() { controller_.disposal().waitForAll(); }

protected:
    // Ends a running solve before the window closes.
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpLayout();
    void connectHandlers();
    void FormDestroy();
    void showRoot(PositionSource source);
    void clearTreeView();
    void applyMode();
    void showModeMessage();
    char player1Letter() const;
    void showPosition();
    void showSideToMove(const V2Board& board, const PictureOptions& options);
    void showSquareReport();
    void showEdit();
    void addChildItems(QTreeWidgetItem* item, const StatNode& node);
    bool addGrownChildItems(QTreeWidgetItem* item);
    void relabelPath(QTreeWidgetItem* item);
    void finishSolve();
    void stopSolve();
    void showSolvedItems(QTreeWidgetItem* item);
    void selectChildByMove(QTreeWidgetItem* item, int move);
    void selectChildItemByMove(QTreeWidgetItem* item, int move);
    void showFolder();
    void showAskStatus(const QString& commandLine, int milliseconds);

    WindowController controller_;
    PositionFolder folder_;
    std::unique_ptr<OpponentDialogs> dialogs_;
    std::unique_ptr<FolderDialogs> folderDialogs_;
    SolveSettings solveSettings_;
    std::filesystem::path lastGame_;  // the game record opened last; empty before one
    std::unique_ptr<BoardCoordinates> coordinates_;
    WindowColumns* columns_ = nullptr;  // the central widget's layout
    std::unique_ptr<SolveRun> solve_;
    std::unique_ptr<SolveDialog> solveDialog_;  // how the last solve ended
    EndingEngines endingEngines_;  // waited for when the window goes
};

}  // namespace vorek
