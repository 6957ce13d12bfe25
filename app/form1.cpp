#include "app/form1.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <cstdio>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_dialogs.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/board_view/list_box_sink.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "app/ask/opponent_dialogs.h"
#include "app/path_text.h"
#include "app/solve/solve_dialog.h"
#include "app/edit/position_editor.h"
#include "app/solve/solve_run.h"
#include "app/board_view/view_menu.h"
#include "board/board_canvas.h"
#include "board/threat_text.h"
#include "board/evaluation.h"
#include "search/root_build.h"
#include "threats/slot_pool.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

constexpr int NODE_ROLE = Qt::UserRole;

// player 1's four line values of the last square scan, by weight.
int playerOneWeightSum() {
    int sum = 0;
    for (int line = 0; line < LINES; ++line) sum += weight(lineThreats[lineThreatIndex(1, line)]);
    return sum;
}

void showThreats(QListWidget& list, const V2Board& board, int player) {
    list.clear();
    ListBoxSink sink(list);
    fillThreatList(board, sink, player);
}

}  // namespace

TForm1::TForm1(const std::filesystem::path& folder, QWidget* parent)
    : QMainWindow(parent),
      folder_(folder),
      dialogs_(std::make_unique<QtOpponentDialogs>()),
      folderDialogs_(std::make_unique<QtFolderDialogs>()) {
    setUpLayout();
    connectHandlers();
    solveSettings_ = SolveSettings::load();
    BuildRootNode();
    // Drawing and showing the root leave its board as it was read.
    StartBoard = RootBoard->clone();
    showFolder();
}

TForm1::TForm1(QWidget* parent) : TForm1(std::filesystem::path(), parent) {}

TForm1::~TForm1() {
    // The solve goes first: its dialog is a child of this window, and it
    // works on the tree.
    solve_.reset();
    FormDestroy();
}

void TForm1::connectHandlers() {
    connect(FileInput1, &QAction::triggered, this, &TForm1::FileInput1Click);
    connect(FileOutput1, &QAction::triggered, this, &TForm1::FileOutput1Click);
    connect(ImgBoard, &BoardImage::mouseMoved, this, &TForm1::ImgBoardMouseMove);
    connect(Tree, &NodeTree::treeClicked, this, &TForm1::TreeClick);
    connect(Tree, &NodeTree::treeDoubleClicked, this, &TForm1::TreeDblClick);
    connect(Tree, &NodeTree::treeKeyReleased, this, &TForm1::TreeKeyUp);
    connect(Tree, &QTreeWidget::itemExpanded, this, &TForm1::TreeItemExpanded);
    connect(SolveSettings1, &QAction::triggered, this, &TForm1::SolveSettings1Click);
    connect(Solve1, &QAction::triggered, this, &TForm1::SolveSelectedNode);
    connect(FileMenu, &FolderMenu::openFolderChosen, this, &TForm1::OpenFolderClick);
    connect(FileMenu, &FolderMenu::recentFolderChosen, this,
            [this](const QString& folder) { OpenFolder(pathOf(folder)); });
    connect(FileMenu, &FolderMenu::quitChosen, this, &QWidget::close);
    connect(ImgBoard, &BoardImage::squareClicked, this, &TForm1::ImgBoardClick);
    connect(FileMenu, &FolderMenu::openGameChosen, this, &TForm1::OpenGameClick);
    connect(Game, &GamePage::positionChosen, this, &TForm1::ShowGamePosition);
    Game->restWith(*Tree);
    connect(EditCommands->EditPosition1, &QAction::toggled, this, &TForm1::EditPositionClick);
    connect(EditCommands->SwapSideToMove1, &QAction::triggered, this, &TForm1::SwapSideToMoveClick);
    connect(EditCommands->ClearBoard1, &QAction::triggered, this, &TForm1::ClearBoardClick);
    connect(EditCommands->Undo1, &QAction::triggered, this, &TForm1::UndoClick);
    connect(ViewChoices, &ViewMenu::changed, this, &TForm1::ViewChanged);
}

StatNode* TForm1::nodeOf(const QTreeWidgetItem* item) {
    return static_cast<StatNode*>(item->data(0, NODE_ROLE).value<void*>());
}

QTreeWidgetItem* TForm1::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = Tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void TForm1::BuildRootNode() {
    Game->selectPosition(-1);
    showRoot(buildRootNode(folder_.path()).root, originOfFolder(folder_.path()));
}

void TForm1::showRoot(std::unique_ptr<StatNode> root, const PositionOrigin& origin) {
    root_ = std::move(root);
    origin_ = origin;
    RootBoard = root_->board;  // a root keeps the board it is built over
    CurrentNode = root_.get();

    auto* item = new QTreeWidgetItem(QStringList{NodeLabel(*root_)});
    item->setData(0, NODE_ROLE, QVariant::fromValue(static_cast<void*>(root_.get())));
    Tree->addTopLevelItem(item);
    Tree->setCurrentItem(item);
    ShowSelectedNode();
}

void TForm1::addChildItems(QTreeWidgetItem* item, const StatNode& node) {
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(node.childCount));
    for (std::uint32_t i = 0; i < node.childCount; ++i) {
        StatNode* child = node.child(i);
        auto* childItem = new QTreeWidgetItem(QStringList{NodeLabel(*child)});
        childItem->setData(0, NODE_ROLE, QVariant::fromValue(static_cast<void*>(child)));
        childItem->setToolTip(0, moveText(*child));
        // The solver may have grown the child already: its items come when it is opened.
        if (child->childCount > 0) childItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        children.append(childItem);
    }
    item->addChildren(children);
}

void TForm1::ShowSelectedNode() {
    if (QTreeWidgetItem* item = selectedItem()) CurrentNode = nodeOf(item);
    showPosition();
}

V2Board& TForm1::shownBoard() { return editor_ ? editor_->board() : CurrentNode->ensureBoard(); }

PictureOptions TForm1::pictureOptions() const {
    if (editor_) return ViewChoices->pictureOptions(editor_->letterToMove(), editor_->numbers());
    return ViewChoices->pictureOptions(origin_.player1Letter, numbersAt(origin_, *CurrentNode));
}

void TForm1::showPosition() {
    V2Board& board = shownBoard();
    ImgBoard->showBoard(board, pictureOptions());
    showThreats(*TList0, board, 0);
    showThreats(*TList1, board, 1);
}

void TForm1::ViewChanged() {
    coordinates_->setShown(ViewChoices->coordinates());
    showPosition();
}

void TForm1::destroyTree() {
    CurrentNode = nullptr;
    RootBoard = nullptr;
    root_.reset();
    Tree->clear();
    // A tree a solve grew can be gigabytes: give them back.
    releaseUnusedPoolMemory();
}

void TForm1::replaceRoot(std::unique_ptr<StatNode> root, const PositionOrigin& origin) {
    destroyTree();
    showRoot(std::move(root), origin);
}

void TForm1::FileInput1Click() {
    if (solving() || editing()) return;  // the solver works on the tree; an edit ends by its own command
    destroyTree();
    BuildRootNode();
}

void TForm1::FileOutput1Click() { folder_.writePosition(shownBoard()); }

// The start-up position is not written back: the bytes found are what the
// user had, also when they could not be read or name the players otherwise.
void TForm1::FormDestroy() {
    destroyTree();
    if (!folder_.putBack())
        std::fprintf(stderr, "visual-vorek: cannot put back the position files in \"%s\" as they were found\n",
                     folder().c_str());
    StartBoard.reset();
}

void TForm1::ImgBoardMouseMove(int x, int y) {
    // A held button reports positions off the picture; they name no square.
    const std::optional<int> square = squareAtPixel(x, y);
    if (!square) return;
    MouseSquare = *square;
    MouseColumn = columnOf(MouseSquare);
    MouseRow = rowOf(MouseSquare);
    setWindowTitle(QStringLiteral("[%1,%2,%3]").arg(MouseColumn).arg(MouseRow).arg(MouseSquare));
    showSquareReport();
}

// The report of MouseSquare: its items and player 1's line weights.
void TForm1::showSquareReport() {
    const V2Board& board = shownBoard();
    StatusPanels[0]->setText(QString::fromStdString(squareReport(board, MouseSquare)));
    scanSquare(board, MouseSquare);
    StatusPanels[1]->setText(QString::number(playerOneWeightSum()));
}

}  // namespace vorek
