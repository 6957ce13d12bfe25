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

#include "app/analysis/analysis_panel.h"
#include "app/analysis/engine_menu.h"
#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/board_view/window_columns.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/form1.h"
#include "app/game/game_menu.h"
#include "app/game/game_page.h"
#include "app/menu_action.h"
#include "app/node_menu.h"
#include "app/path_label.h"
#include "app/tree/node_tree.h"
#include "app/window_widgets.h"

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

WindowWidgets TForm1::setUpLayout() {
    setWindowTitle(QStringLiteral("Form1"));
    setGeometry(FORM_LEFT, FORM_TOP, FORM_WIDTH, FORM_HEIGHT);

    // Left: the board picture over its status bar.
    auto* panel1 = panel("Panel1", nullptr);
    auto* panel3 = panel("Panel3", panel1);
    auto* image = named(new BoardImage(panel3), "ImgBoard");
    image->move(1, 1);
    auto* statusBar2 = panelStatusBar("StatusBar2", panel1);
    const char* widest[3] = {WIDEST_REPORT, WIDEST_WEIGHT_SUM, nullptr};
    QLabel* panels[3] = {};
    for (int i = 0; i < 3; ++i) {
        panels[i] = statusPanel(i, widest[i], statusBar2);
        statusBar2->addWidget(panels[i]);
    }
    auto* sideToMove = named(new QLabel(statusBar2), "SideToMove");
    sideToMove->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sideToMove->setContentsMargins(2, 0, 2, 0);
    statusBar2->addWidget(sideToMove);
    coordinates_ = std::make_unique<BoardCoordinates>(*panel3);
    boardColumn_ = new BoardColumn(*panel1, *panel3, *image, *coordinates_, *statusBar2);

    // Right: the pages over a status bar with the folder's path.
    auto* panel2 = panel("Panel2", nullptr);
    auto* right = tightColumn(panel2);
    auto* pages = named(new QTabWidget(panel2), "PageControl1");
    // Every tab stays readable at the smallest size.
    pages->setUsesScrollButtons(false);
    pages->tabBar()->setElideMode(Qt::ElideNone);

    auto* treePage = named(new QWidget, "TabSheet1");
    auto* tree = named(new NodeTree(treePage), "Tree");
    tightColumn(treePage)->addWidget(tree);
    pages->addTab(treePage, QStringLiteral("Tree View"));

    auto* threatsPage = named(new QWidget, "Threats");
    auto* splitter = named(new QSplitter(Qt::Horizontal, threatsPage), "Splitter1");
    splitter->setHandleWidth(SPLITTER_WIDTH);
    splitter->setChildrenCollapsible(false);
    QListWidget* tList0 = nullptr;
    QListWidget* tList1 = nullptr;
    QLabel* heading0 = nullptr;
    QLabel* heading1 = nullptr;
    splitter->addWidget(headedList(tList1, "TList1", heading1, "TList1Heading", splitter));
    splitter->addWidget(headedList(tList0, "TList0", heading0, "TList0Heading", splitter));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({PLAYER1_LIST_WIDTH, FORM_WIDTH - LEFT_PANEL_WIDTH - PLAYER1_LIST_WIDTH});
    tightColumn(threatsPage)->addWidget(splitter);
    pages->addTab(threatsPage, QStringLiteral("Threats"));

    auto* logPage = named(new QWidget, "Log");
    auto* memo = named(new QPlainTextEdit(logPage), "Memo");
    // The exchange with an AI program: read and copied, never typed into; a
    // fixed font keeps the board lines of the file protocol square.
    memo->setReadOnly(true);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tightColumn(logPage)->addWidget(memo);
    pages->addTab(logPage, QStringLiteral("Log"));

    auto* gamePage = new GamePage;
    pages->addTab(gamePage, QStringLiteral("Game"));
    pages->setCurrentIndex(0);

    right->addWidget(pages);
    auto* statusBar1 = panelStatusBar("StatusBar1", panel2);
    auto* folderPath = named(new PathLabel(statusBar1), "FolderPath");
    statusBar1->addWidget(folderPath, 1);
    right->addWidget(statusBar1);

    columns_ = new WindowColumns(*panel1, *boardColumn_, *panel2, this);
    setCentralWidget(columns_);

    // Under the board and the pages, where the window at its first size has
    // room to spare; shown when an analysis starts.
    auto* analysisPanel = new AnalysisPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, analysisPanel);
    analysisPanel->hide();

    // The menu.
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    auto* nodeMenu = new NodeMenu(*menuBar());
    QAction* nodeAction = nodeMenu->currNode->menuAction();
    auto* fileMenu = new FolderMenu(*menuBar(), nodeAction);
    auto* editMenu = new EditMenu(*menuBar(), nodeAction);
    auto* viewMenu = new ViewMenu(*menuBar(), nodeAction);
    auto* gameMenu = new GameMenu(*menuBar(), nodeAction, {gamePage, image});
    auto* engineMenu = new EngineMenu(*menuBar(), nodeAction, analysisPanel->toggleViewAction());
    coordinates_->setShown(viewMenu->coordinates());
    tree->setFocus();

    return WindowWidgets{*this,     *image,    *statusBar2, *panels[0], *panels[1], *sideToMove, *pages,
                         *tree,     *tList0,   *heading0,   *tList1,    *heading1,  *memo,       *gamePage,
                         *statusBar1, *folderPath, *nodeMenu, *fileMenu, *editMenu, *viewMenu,   *gameMenu,
                         *engineMenu, *analysisPanel};
}

}  // namespace vorek
