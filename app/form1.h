// The main window: the board picture with its status bar on the left; the
// search tree, the two threat lists, the log of the last AI question and the
// position folder's path on the right.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/ending_engines.h"
#include "app/position_folder.h"
#include "search/stat_node.h"

class QAction;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class QTreeWidgetItem;

namespace vorek {

class BoardImage;
class FolderDialogs;
class FolderMenu;
class NodeTree;
class OpponentDialogs;
class PathLabel;
class SolveRun;

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
    NodeTree* Tree = nullptr;
    QListWidget* TList0 = nullptr;
    QListWidget* TList1 = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    PathLabel* FolderPath = nullptr;         // in StatusBar1
    QTabWidget* PageControl1 = nullptr;
    FolderMenu* FileMenu = nullptr;
    QAction* FileInput1 = nullptr;
    QAction* FileOutput1 = nullptr;
    QAction* Solve1 = nullptr;

    // Window state.
    V2Board* RootBoard = nullptr;            // the root's board, owned by the root node
    std::unique_ptr<V2Board> StartBoard;     // the position read at start-up or on opening a folder
    StatNode* CurrentNode = nullptr;         // the node shown; points into the tree
    int MouseColumn = 0;
    int MouseRow = 0;
    int MouseSquare = 0;

    // The node an item stands for.
    static StatNode* nodeOf(const QTreeWidgetItem* item);
    // The selected tree item, or null.
    QTreeWidgetItem* selectedItem() const;

    // Reads the position files into a new root and shows it as the only item.
    void BuildRootNode();
    // Makes the selected item's node current and shows its board and lists.
    void ShowSelectedNode();
    // Expands the selected item's node and shows its children and the new numbers.
    // A node the solver expanded gets the items for its children instead.
    void ExpandSelectedNode();

    void FileInput1Click();
    void FileOutput1Click();
    void ImgBoardMouseMove(int x, int y);
    void TreeClick();
    void TreeDblClick();
    void TreeKeyUp(int virtualKey);
    // An item opened by its indicator or the arrow key: an item whose node the
    // solver expanded gets its child items now.
    void TreeItemExpanded(QTreeWidgetItem* item);

    // Asks an AI program for its move in the selected position, giving it
    // digit x 1100 ms, shows the exchange on the "Log" page and circles the
    // answer on the board or shows the failure. Returns once the ask is over;
    // meanwhile the window paints and the tree and the menus rest. A close
    // requested meanwhile closes the window afterwards, and nothing is shown.
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
    // while a solve runs nothing happens. True when the folder was opened.
    bool OpenFolder(const std::filesystem::path& folder);
    // Replaces the dialogs of OpenFolderClick and OpenFolder.
    void setFolderDialogs(std::unique_ptr<FolderDialogs> dialogs);

    // Solves from the selected node in slices between the window's events,
    // with a progress dialog; tree commands, digit keys, "File Input" and a
    // second solve do nothing while it runs. Afterwards the path is relabelled
    // and the proving move, if any, is selected.
    void SolveSelectedNode();
    bool solving() const { return solve_ != nullptr; }

protected:
    // Ends a running solve before the window closes.
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpLayout();
    void connectHandlers();
    void FormDestroy();
    void destroyTree();
    void addChildItems(QTreeWidgetItem* item, const StatNode& node);
    bool addGrownChildItems(QTreeWidgetItem* item);
    void relabelPath(QTreeWidgetItem* item);
    void solveSlice();
    void finishSolve();
    void stopSolve();
    void enableCommandsBesideSolve(bool enabled);
    void showSolvedItems(QTreeWidgetItem* item);
    void selectChildByMove(QTreeWidgetItem* item, int move);
    void showFolder();

    PositionFolder folder_;
    std::unique_ptr<StatNode> root_;
    std::unique_ptr<OpponentDialogs> dialogs_;
    std::unique_ptr<FolderDialogs> folderDialogs_;
    std::unique_ptr<SolveRun> solve_;
    QTimer solveTimer_;
    EndingEngines endingEngines_;  // waited for when the window goes
};

}  // namespace vorek
