// The layout of the main window: its first size and the design's sizes of
// its parts; the board picture grows with the window (WindowColumns).
#include <QFontDatabase>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/board_view/window_columns.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/form1.h"
#include "app/game/game_page.h"
#include "app/menu_action.h"
#include "app/path_label.h"
#include "app/tree/node_tree.h"

namespace vorek {

namespace {

constexpr int FORM_LEFT = 262;
constexpr int FORM_TOP = 97;
constexpr int FORM_WIDTH = 737;
constexpr int FORM_HEIGHT = 584;
constexpr int STATUS_BAR_HEIGHT = 19;
constexpr int STATUS_PANEL_WIDTHS[3] = {80, 50, 50};
constexpr int PLAYER1_LIST_WIDTH = 153;
constexpr int SPLITTER_WIDTH = 3;
constexpr int LEFT_PANEL_WIDTH = 405;
// The widest texts the first two panels show: a square report with an item
// of each player, and the largest weight sum of four lines.
constexpr const char* WIDEST_REPORT = "{cn=8 tn=8}/{cn=8 tn=8}";
constexpr const char* WIDEST_WEIGHT_SUM = "888888888";

QFrame* panel(const char* name, QWidget* parent) {
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

QVBoxLayout* tightColumn(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QStatusBar* panelStatusBar(const char* name, QWidget* parent) {
    auto* bar = named(new QStatusBar(parent), name);
    bar->setFixedHeight(STATUS_BAR_HEIGHT);
    bar->setSizeGripEnabled(false);
    return bar;
}

QListWidget* threatListBox(const char* name, QWidget* parent) {
    auto* list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    return list;
}

// A threat list under the heading that names its player.
QWidget* headedList(QListWidget*& list, const char* listName, QLabel*& heading, const char* headingName,
                    QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* rows = tightColumn(column);
    heading = named(new QLabel(column), headingName);
    heading->setContentsMargins(4, 2, 4, 2);
    list = threatListBox(listName, column);
    rows->addWidget(heading);
    rows->addWidget(list);
    return column;
}

// A sunken panel at least the design's width and as wide as its widest text.
QLabel* statusPanel(int index, const char* widest, QStatusBar* bar) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("StatusBar2Panel%1").arg(index));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int text = widest != nullptr ? label->fontMetrics().horizontalAdvance(QLatin1String(widest)) : 0;
    const int frame = 2 * label->frameWidth() + 2 * label->margin() + 4;
    label->setFixedWidth(std::max(STATUS_PANEL_WIDTHS[index], text + frame));
    return label;
}

}  // namespace

void TForm1::setUpLayout() {
    setWindowTitle(QStringLiteral("Form1"));
    setGeometry(FORM_LEFT, FORM_TOP, FORM_WIDTH, FORM_HEIGHT);

    auto* central = new QWidget(this);
    setCentralWidget(central);

    // Left: the board picture over its status bar.
    auto* panel1 = panel("Panel1", central);
    auto* left = tightColumn(panel1);
    auto* panel3 = panel("Panel3", panel1);
    ImgBoard = named(new BoardImage(panel3), "ImgBoard");
    ImgBoard->move(1, 1);
    left->addWidget(panel3);
    left->addStretch();
    StatusBar2 = panelStatusBar("StatusBar2", panel1);
    const char* widest[3] = {WIDEST_REPORT, WIDEST_WEIGHT_SUM, nullptr};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = statusPanel(i, widest[i], StatusBar2);
        StatusBar2->addWidget(StatusPanels[i]);
    }
    SideToMove = named(new QLabel(StatusBar2), "SideToMove");
    SideToMove->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SideToMove->setContentsMargins(2, 0, 2, 0);
    StatusBar2->addWidget(SideToMove);
    left->addWidget(StatusBar2);

    // Right: the pages over a status bar with the folder's path.
    auto* panel2 = panel("Panel2", central);
    auto* right = tightColumn(panel2);
    PageControl1 = named(new QTabWidget(panel2), "PageControl1");
    // Every tab stays readable at the smallest size.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setElideMode(Qt::ElideNone);

    auto* treePage = named(new QWidget, "TabSheet1");
    Tree = named(new NodeTree(treePage), "Tree");
    tightColumn(treePage)->addWidget(Tree);
    PageControl1->addTab(treePage, QStringLiteral("Tree View"));

    auto* threatsPage = named(new QWidget, "Threats");
    auto* splitter = named(new QSplitter(Qt::Horizontal, threatsPage), "Splitter1");
    splitter->setHandleWidth(SPLITTER_WIDTH);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(headedList(TList1, "TList1", TList1Heading, "TList1Heading", splitter));
    splitter->addWidget(headedList(TList0, "TList0", TList0Heading, "TList0Heading", splitter));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({PLAYER1_LIST_WIDTH, FORM_WIDTH - LEFT_PANEL_WIDTH - PLAYER1_LIST_WIDTH});
    tightColumn(threatsPage)->addWidget(splitter);
    PageControl1->addTab(threatsPage, QStringLiteral("Threats"));

    auto* logPage = named(new QWidget, "Log");
    Memo = named(new QPlainTextEdit(logPage), "Memo");
    // The exchange with an AI program: read and copied, never typed into; a
    // fixed font keeps the board lines of the file protocol square.
    Memo->setReadOnly(true);
    Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tightColumn(logPage)->addWidget(Memo);
    PageControl1->addTab(logPage, QStringLiteral("Log"));

    Game = new GamePage;
    PageControl1->addTab(Game, QStringLiteral("Game"));
    PageControl1->setCurrentIndex(0);

    right->addWidget(PageControl1);
    StatusBar1 = panelStatusBar("StatusBar1", panel2);
    FolderPath = named(new PathLabel(StatusBar1), "FolderPath");
    StatusBar1->addWidget(FolderPath, 1);
    right->addWidget(StatusBar1);

    // The menu.
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    auto* currNode = named(menuBar()->addMenu(QStringLiteral("Node")), "currNode");
    FileInput1 = addNamedAction(*currNode, "File Input", "FileInput1");
    FileOutput1 = addNamedAction(*currNode, "File Output", "FileOutput1");
    Solve1 = addNamedAction(*currNode, "Solve", "Solve1");
    Solve1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SolveSettings1 = addNamedAction(*currNode, "Solve Settings...", "SolveSettings1");
    FileMenu = new FolderMenu(*menuBar(), currNode->menuAction());
    EditCommands = new EditMenu(*menuBar(), currNode->menuAction());
    ViewChoices = new ViewMenu(*menuBar(), currNode->menuAction());

    coordinates_ = std::make_unique<BoardCoordinates>(*panel3);
    coordinates_->setShown(ViewChoices->coordinates());
    columns_ = new WindowColumns(*central, *panel1, *panel3, *ImgBoard, *coordinates_, *StatusBar2, *panel2);
    Tree->setFocus();
}

}  // namespace vorek
