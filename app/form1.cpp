#include "app/form1.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <cstdio>

#include "app/ask/opponent_dialogs.h"
#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/board_view/list_box_sink.h"
#include "app/board_view/view_menu.h"
#include "app/board_view/window_columns.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_dialogs.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/path_text.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_run.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "board/evaluation.h"
#include "board/threat_text.h"
#include "files/position_source.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

// player 1's four line values of a square scan, by weight.
int playerOneWeightSum(const LineThreats& lines) {
    int sum = 0;
    for (int line = 0; line < LINES; ++line) sum += weight(lines[lineThreatIndex(PLAYER1, line)]);
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
    connect(EditCommands->EditPosition1, &QAction::toggled, this, &TForm1::EditPositionClick);
    connect(EditCommands->SwapSideToMove1, &QAction::triggered, this, &TForm1::SwapSideToMoveClick);
    connect(EditCommands->ClearBoard1, &QAction::triggered, this, &TForm1::ClearBoardClick);
    connect(EditCommands->Undo1, &QAction::triggered, this, &TForm1::UndoClick);
    connect(ViewChoices, &ViewMenu::changed, this, &TForm1::ViewChanged);
}

StatNode* TForm1::nodeOf(const QTreeWidgetItem* item) { return &nodeOfItem(*item); }

QTreeWidgetItem* TForm1::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = Tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

// One place says what the mode allows: every command's control follows the table.
void TForm1::applyMode() {
    Tree->setEnabled(allows(Command::SELECT_NODE));
    FileInput1->setEnabled(allows(Command::FILE_INPUT));
    FileOutput1->setEnabled(allows(Command::FILE_OUTPUT));
    Solve1->setEnabled(allows(Command::SOLVE));
    FileMenu->setOpeningEnabled(allows(Command::OPEN_FOLDER), allows(Command::OPEN_GAME));
    Game->GameList->setEnabled(allows(Command::STEP_GAME));
    EditCommands->EditPosition1->setEnabled(allows(Command::START_EDITING) || allows(Command::FINISH_EDITING));
    const PositionEditor* editor = controller_.editor();
    EditCommands->showEditing(editing(), allows(Command::EDIT_POSITION) && editor != nullptr && editor->canUndo());
    showModeMessage();
}

// The status bar under the pages says what a mode of work asks of the user;
// its tool tip says the rest.
void TForm1::showModeMessage() {
    QString tip;
    switch (mode()) {
        case WindowMode::EDITING: {
            const char mover = controller_.editor()->letterToMove();
            StatusBar1->showMessage(QStringLiteral("Editing: left click %1, right click %2, Ctrl+E to finish")
                                        .arg(QLatin1Char(mover))
                                        .arg(QLatin1Char(otherLetter(mover))));
            tip = QStringLiteral("A click on a stone takes it off; the \"Edit\" menu swaps the side to move, "
                                 "clears the board and undoes.");
            break;
        }
        case WindowMode::SOLVING:
            StatusBar1->showMessage(QStringLiteral("Solving: the tree can be looked at, not changed"));
            break;
        case WindowMode::ASKING: break;  // the ask says whom it waits for
        case WindowMode::IDLE:
        case WindowMode::GAME: StatusBar1->clearMessage(); break;
    }
    StatusBar1->setToolTip(tip);
}

void TForm1::BuildRootNode() {
    Game->selectPosition(-1);
    showRoot(folderPosition(folder_.path()));
}

// The old tree's items go first: they stand for its nodes, which are deleted
// off this thread from now on.
void TForm1::showRoot(PositionSource source) {
    clearTreeView();
    controller_.replaceTree(std::move(source));
    StatNode& shown = *controller_.root();
    RootBoard = shown.board;  // a root keeps the board it is built over
    CurrentNode = &shown;

    auto* item = new NodeItem(shown, NodeLabel(shown));
    Tree->addTopLevelItem(item);
    Tree->fitLabels(*item);
    Tree->setCurrentItem(item);
    applyMode();
    ShowSelectedNode();
}

void TForm1::clearTreeView() {
    CurrentNode = nullptr;
    RootBoard = nullptr;
    Tree->clear();
}

void TForm1::addChildItems(QTreeWidgetItem* item, const StatNode& node) {
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(node.childCount));
    for (std::uint32_t i = 0; i < node.childCount; ++i) {
        StatNode& child = *node.child(i);
        auto* childItem = new NodeItem(child, NodeLabel(child));
        // The solver may have grown the child already: its items come when it is opened.
        if (child.childCount > 0) childItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        children.append(childItem);
    }
    item->addChildren(children);
    Tree->fitLabels(*item);
}

void TForm1::ShowSelectedNode() {
    if (QTreeWidgetItem* item = selectedItem()) CurrentNode = nodeOf(item);
    showPosition();
}

V2Board& TForm1::shownBoard() {
    PositionEditor* editor = controller_.editor();
    return editor != nullptr ? editor->board() : CurrentNode->ensureBoard();
}

// The letter of player 1 in the position shown.
char TForm1::player1Letter() const {
    const PositionEditor* editor = controller_.editor();
    return editor != nullptr ? editor->letterToMove() : rootLabels().player1Letter;
}

// A position of a game keeps the record's colours, its first mover black,
// whatever the "View" menu says; the last move is marked.
PictureOptions TForm1::pictureOptions() const {
    if (const PositionEditor* editor = controller_.editor())
        return ViewChoices->pictureOptions(editor->letterToMove(), editor->numbers());
    const StoneLabels& labels = rootLabels();
    const std::vector<int> moves = movesFromRoot(*CurrentNode);
    PictureOptions options = ViewChoices->pictureOptions(labels.player1Letter, numbersAfter(labels, moves));
    options.lastMove = lastMoveAfter(labels, moves);
    if (labels.gameFirstLetter != 0) {
        options.coloursByLetter = true;
        options.blackLetter = labels.gameFirstLetter;
    }
    return options;
}

void TForm1::showPosition() {
    V2Board& board = shownBoard();
    const PictureOptions options = pictureOptions();
    ImgBoard->showBoard(board, options);
    showThreats(*TList0, board, 0);
    showThreats(*TList1, board, 1);
    const char letter1 = player1Letter();
    TList1Heading->setText(QStringLiteral("Player 1, %1").arg(QLatin1Char(letter1)));
    TList0Heading->setText(QStringLiteral("Player 0, %1").arg(QLatin1Char(otherLetter(letter1))));
    showSideToMove(board, options);
    showModeMessage();
}

// "x to move" after a stone of the colour the picture gives the side to
// move: a black circle or a white one.
void TForm1::showSideToMove(const V2Board& board, const PictureOptions& options) {
    const char letter1 = player1Letter();
    const char mover = board.sideToMove() == PLAYER1 ? letter1 : otherLetter(letter1);
    const bool moverPlaysBlack = options.coloursByLetter ? mover == options.blackLetter : board.sideToMove() == PLAYER1;
    const QChar stone = moverPlaysBlack ? QChar(0x25CF) : QChar(0x25CB);
    SideToMove->setText(QStringLiteral("%1 %2 to move").arg(stone).arg(QLatin1Char(mover)));
    SideToMove->setToolTip(QStringLiteral("%1 is to move in the position shown, with the %2 stones")
                               .arg(QLatin1Char(mover))
                               .arg(moverPlaysBlack ? QStringLiteral("black") : QStringLiteral("white")));
}

void TForm1::ViewChanged() {
    coordinates_->setShown(ViewChoices->coordinates());
    columns_->invalidate();
    columns_->activate();
    showPosition();
}

void TForm1::FileInput1Click() {
    if (!allows(Command::FILE_INPUT)) return;
    BuildRootNode();
}

void TForm1::FileOutput1Click() {
    if (allows(Command::FILE_OUTPUT)) folder_.writePosition(shownBoard());
}

// The start-up position is not written back: the bytes found are what the
// user had, also when they could not be read or name the players otherwise.
void TForm1::FormDestroy() {
    clearTreeView();
    controller_.dropTree();
    if (!folder_.putBack())
        std::fprintf(stderr, "visual-vorek: cannot put back the position files in \"%s\" as they were found\n",
                     folder().c_str());
    StartBoard.reset();
}

void TForm1::ImgBoardMouseMove(int x, int y) {
    // A held button reports positions off the picture; they name no square.
    const std::optional<int> square = squareAtPixel(x, y, ImgBoard->side());
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
    StatusPanels[1]->setText(QString::number(playerOneWeightSum(scanSquare(board, MouseSquare))));
}

}  // namespace vorek
