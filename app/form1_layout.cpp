// The fixed layout of the main window.
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/edit/edit_menu.h"
#include "app/menu_action.h"
#include "app/folder/folder_menu.h"
#include "app/form1.h"
#include "app/game/game_page.h"
#include "app/tree/node_tree.h"
#include "app/path_label.h"
#include "app/board_view/view_menu.h"

namespace vorek {

namespace {

constexpr int FORM_LEFT = 262;
constexpr int FORM_TOP = 97;
constexpr int FORM_WIDTH = 737;
constexpr int FORM_HEIGHT = 584;
constexpr int LEFT_PANEL_WIDTH = 405;
constexpr int PICTURE_PANEL_HEIGHT = 403;
constexpr int STATUS_BAR_HEIGHT = 19;
constexpr int STATUS_PANEL_WIDTHS[3] = {80, 50, 50};
constexpr int PLAYER1_LIST_WIDTH = 153;
constexpr int SPLITTER_WIDTH = 3;

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
    return bar;
}

QListWidget* threatListBox(const char* name, QWidget* parent) {
    auto* list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    return list;
}

}  // namespace

void TForm1::setUpLayout() {
    setWindowTitle(QStringLiteral("Form1"));
    setGeometry(FORM_LEFT, FORM_TOP, FORM_WIDTH, FORM_HEIGHT);

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    setCentralWidget(central);

    // Left: the board picture over its status bar.
    auto* panel1 = panel("Panel1", central);
    panel1->setFixedWidth(LEFT_PANEL_WIDTH);
    auto* left = tightColumn(panel1);
    auto* panel3 = panel("Panel3", panel1);
    panel3->setFixedHeight(PICTURE_PANEL_HEIGHT);
    ImgBoard = named(new BoardImage(panel3), "ImgBoard");
    ImgBoard->move(1, 1);
    left->addWidget(panel3);
    left->addStretch();
    StatusBar2 = panelStatusBar("StatusBar2", panel1);
    StatusBar2->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(StatusBar2);
        label->setObjectName(QStringLiteral("StatusBar2Panel%1").arg(i));
        label->setFixedWidth(STATUS_PANEL_WIDTHS[i]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar2->addWidget(label);
        StatusPanels[i] = label;
    }
    left->addWidget(StatusBar2);
    columns->addWidget(panel1);

    // Right: the pages over an empty status bar.
    auto* panel2 = panel("Panel2", central);
    auto* right = tightColumn(panel2);
    PageControl1 = named(new QTabWidget(panel2), "PageControl1");

    auto* treePage = named(new QWidget, "TabSheet1");
    Tree = named(new NodeTree(treePage), "Tree");
    tightColumn(treePage)->addWidget(Tree);
    PageControl1->addTab(treePage, QStringLiteral("Tree View"));

    auto* threatsPage = named(new QWidget, "Threats");
    auto* splitter = named(new QSplitter(Qt::Horizontal, threatsPage), "Splitter1");
    splitter->setHandleWidth(SPLITTER_WIDTH);
    splitter->setChildrenCollapsible(false);
    TList1 = threatListBox("TList1", splitter);
    TList0 = threatListBox("TList0", splitter);
    splitter->addWidget(TList1);
    splitter->addWidget(TList0);
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
    StatusBar1->setSizeGripEnabled(false);
    FolderPath = named(new PathLabel(StatusBar1), "FolderPath");
    StatusBar1->addWidget(FolderPath, 1);
    right->addWidget(StatusBar1);
    columns->addWidget(panel2, 1);

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

    coordinates_ = std::make_unique<BoardCoordinates>(*panel1, *panel3, *ImgBoard);
    coordinates_->setShown(ViewChoices->coordinates());
    Tree->setFocus();
}

}  // namespace vorek
