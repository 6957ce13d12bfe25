// A main window over position files written into a fresh working directory.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "app/ask/ask_commands.h"
#include "app/board_view/board_image.h"
#include "app/board_view/position_view.h"
#include "app/edit/edit_commands.h"
#include "app/folder/folder_commands.h"
#include "app/form1.h"
#include "app/game/game_commands.h"
#include "app/game/game_page.h"
#include "app/solve/solve_commands.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "picture/board_png.h"
#include "tests/app/working_directory.h"

namespace vorek::testing {

// Two crossed pairs in the centre, player 1 ("x") to move: undecided, and
// the root gets a dozen children.
inline std::string openingBoard() {
    return boardFile({"", "", "", "", "", "", "", "", "", "          o", "         xx",
                      "          o"});
}

#ifdef VOREK_EXAMPLES_DIR
// The bytes of one file of a shipped example position.
inline std::string exampleFile(const char* example, const char* name) {
    std::ifstream in(std::filesystem::path(VOREK_EXAMPLES_DIR) / example / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
#endif

class WindowFixture {
public:
    // Writes the position files (no "tah.dat" for nullopt), then opens the
    // window on them.
    WindowFixture(const std::string& board = openingBoard(),
                  const std::optional<std::string>& move = "x") {
        dir().write("plocha.dat", board);
        if (move) dir().write("tah.dat", *move);
        form = std::make_unique<TForm1>();
        form->show();
    }

    const TempDir& dir() const { return scratch.dir(); }

    // Closes the window: the tree is destroyed and the files found put back
    // where the window wrote them.
    void close() { form.reset(); }

    // The window's features, which the tests drive, and the widgets they show.
    WindowFeatures& features() const { return form->features(); }
    const WindowWidgets& widgets() const { return features().widgets(); }
    WindowController& controller() const { return features().controller(); }
    PositionView& view() const { return features().view(); }
    TreeCommands& tree() const { return features().tree(); }
    FolderCommands& folder() const { return features().folder(); }
    GameCommands& game() const { return features().game(); }
    EditCommands& edit() const { return features().edit(); }
    SolveCommands& solve() const { return features().solve(); }
    AskCommands& ask() const { return features().ask(); }

    // A menu item by its object name.
    QAction* action(const char* name) const {
        auto* found = form->findChild<QAction*>(QLatin1String(name));
        if (found == nullptr) qFatal("no menu item %s", name);
        return found;
    }
    NodeTree* treeView() const { return &widgets().tree; }
    BoardImage* boardImage() const { return &widgets().board; }
    QImage image() const { return view().image(); }
    StatNode* currentNode() const { return controller().currentNode(); }
    V2Board* rootBoard() const { return controller().rootBoard(); }
    bool editing() const { return controller().mode() == WindowMode::EDITING; }
    bool solving() const { return solve().solving(); }
    QString status() const { return widgets().pagesStatus.currentMessage(); }

    QTreeWidgetItem* root() const { return treeView()->topLevelItem(0); }
    QString text(const QTreeWidgetItem* item) const { return item->text(0); }
    StatNode* node(const QTreeWidgetItem* item) const { return TreeCommands::nodeOf(item); }

    void select(QTreeWidgetItem* item) { treeView()->setCurrentItem(item); }
    // A key pressed and let go in the tree view, which has the keyboard then.
    void keyClick(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        treeView()->setFocus();
        QTest::keyClick(treeView(), key, modifiers);
    }
    void doubleClick(QTreeWidgetItem* item) {
        QTest::mouseDClick(treeView()->viewport(), Qt::LeftButton, {}, treeView()->visualItemRect(item).center());
    }
    void mouseOverBoard(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), boardImage()->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(boardImage(), &move);
    }
    // A click on the board's cell at column, row, at the picture's first size.
    void clickBoard(int column, int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(boardImage(), button, {}, QPoint(column * 20 + 10, row * 20 + 10));
    }
    // The board's status panel 0, 1 or 2, and its text.
    QLabel* panelLabel(int i) const { return form->findChild<QLabel*>(QStringLiteral("StatusBar2Panel%1").arg(i)); }
    QString panel(int i) const { return panelLabel(i)->text(); }

    // The window's picture of the board at its first size: the options' own,
    // with the last move marked.
    static QImage picture(V2Board& board, int lastMove = -1, PictureOptions options = {}) {
        options.lastMove = lastMove;
        return renderBoard(board, options, PICTURE_SIZE, NumberStyle::FONT);
    }

    static QStringList lines(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    ScratchWorkingDirectory scratch;
    std::unique_ptr<TForm1> form;
};

}  // namespace vorek::testing
