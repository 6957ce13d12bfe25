// A main window over position files written into a fresh working directory.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "app/form1.h"
#include "picture/board_png.h"
#include "app/tree/node_tree.h"
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

    QTreeWidgetItem* root() const { return form->Tree->topLevelItem(0); }
    QString text(const QTreeWidgetItem* item) const { return item->text(0); }
    StatNode* node(const QTreeWidgetItem* item) const { return TForm1::nodeOf(item); }

    void select(QTreeWidgetItem* item) { form->Tree->setCurrentItem(item); }
    void keyClick(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(form->Tree, key, modifiers);
    }
    void doubleClick(QTreeWidgetItem* item) {
        QTest::mouseDClick(form->Tree->viewport(), Qt::LeftButton, {},
                           form->Tree->visualItemRect(item).center());
    }
    void mouseOverBoard(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), form->ImgBoard->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->ImgBoard, &move);
    }
    QString panel(int i) const { return form->StatusPanels[i]->text(); }

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
