// Games in the window: "File" > "Open Game...", the "Game" page, stepping
// through a game's positions, playing on the board with variations, saving
// the line as a record, leaving a changed game, and the analysis column.
#include <QAction>
#include <QFocusEvent>
#include <QProcess>
#include <fstream>
#include <iterator>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include "app/board_view/board_image.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/game/game_tree.h"
#include "app/solve/solve_dialog.h"
#include "files/position_source.h"
#include "board/evaluation.h"
#include "board/five_in_row.h"
#include "files/game_record.h"
#include "picture/board_png.h"
#include "tests/app/board_text.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;

const fs::path REAL_GAME = fs::path(VOREK_EXAMPLES_DIR) / "games" / "o-wins-in-row-12.psq";

struct GameWindow : WindowFixture {
    QString answer;
    QStringList errors;
    testing::DialogRecord opponent;
    testing::ScriptedFolderDialogs* dialogs = nullptr;

    GameWindow() {
        auto scripted = std::make_unique<testing::ScriptedFolderDialogs>(answer, errors);
        dialogs = scripted.get();
        folder().setDialogs(std::move(scripted));
        ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), opponent));
        // The list can only take the keyboard focus in the active window.
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
    }

    // "Open Game..." answered with the file.
    void open(const fs::path& file) {
        answer = QString::fromStdString(file.string());
        action("OpenGame1")->trigger();
    }
    QTreeWidget* list() const { return widgets().gamePage.GameList; }
    QStringList lines() const {
        QStringList rows;
        for (int count = 0; count < game().page().rows(); ++count) rows << game().page().rowText(count);
        return rows;
    }
    // The letter whose stone stands in the cell, by its colour in the
    // picture (the first mover's black); '-' for none. Looked at beside the
    // cell's centre, clear of the last move's mark and the grid.
    char stoneAt(int column, int row) const {
        const QRgb pixel = image().pixel(column * 20 + 4, row * 20 + 6);
        const char first = game().game() ? game().game()->firstLetter() : 'x';
        if (pixel == qRgb(0, 0, 0)) return first;
        if (pixel == qRgb(255, 255, 255)) return otherLetter(first);
        return '-';
    }
    void newGame() { action("NewGame1")->trigger(); }
    // Plays the squares, x,y each, by clicks on the board.
    void play(std::initializer_list<QPoint> squares) {
        for (const QPoint square : squares) clickBoard(square.x(), square.y());
    }
    // A click on the row of the position after `count` moves.
    void clickRow(int count) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->topLevelItem(count)).center());
    }
    int selected() const { return game().page().selectedPosition(); }
};

GameRecord readRecord(const fs::path& file) { return std::get<GameRecord>(readGameRecord(file)); }

// The position after `count` moves, evaluated as a root over it would be.
std::unique_ptr<V2Board> evaluatedPositionAfter(const GameRecord& record, int count) {
    return positionAfter(record, count);
}

// The window's tree is a fresh one over the position after `count` moves of
// the record, shown as the picture draws it.
void checkRootIsPositionAfter(GameWindow& w, const GameRecord& record, int count) {
    QCOMPARE(w.treeView()->topLevelItemCount(), 1);
    QCOMPARE(w.root()->childCount(), 0);
    QCOMPARE(w.currentNode(), w.node(w.root()));
    auto expected = evaluatedPositionAfter(record, count);
    QCOMPARE(testing::showText(*w.rootBoard()), testing::showText(*expected));
    QCOMPARE(w.controller().rootLabels().player1Letter, letterOfMove(record, count + 1));
    // In the record's colours, its first mover black, with its last move marked.
    PictureOptions options;
    options.coloursByLetter = true;
    options.player1Letter = letterOfMove(record, count + 1);
    options.blackLetter = record.firstLetter;
    const int lastMove = count > 0 ? record.moves[static_cast<std::size_t>(count - 1)] : -1;
    if (const std::optional<FiveInRow> five = fiveInRow(*expected)) options.fiveSquares = five->squares;
    QCOMPARE(w.image(), WindowFixture::picture(*expected, lastMove, options));
    QCOMPARE(w.selected(), count);
}

}  // namespace

class OpenGameTest : public QObject {
    Q_OBJECT

private slots:
    void openingAGameListsItsPositionsAndShowsTheLastWritingNothing() {
        GameWindow w;
        const std::string filesBefore = w.dir().read("plocha.dat") + w.dir().read("tah.dat");
        w.form->findChild<QTabBar*>()->setFocus();
        w.open(REAL_GAME);
        QVERIFY(w.errors.isEmpty());

        const QStringList lines = w.lines();
        QCOMPARE(lines.size(), 17);
        // The record's "10,10" is the square 9,9 counted from 0, as the window counts.
        QCOMPARE(lines.mid(0, 4), (QStringList{"0. (empty board)", "1. 9,9", "2. 10,11", "3. 9,12"}));
        QCOMPARE(lines.last(), QStringLiteral("16. 14,11"));
        QCOMPARE((&w.widgets().pages)->currentWidget(), (&w.widgets().gamePage));
        QVERIFY(w.list()->hasFocus());
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 16);

        QCOMPARE(w.dir().listing(), std::string("plocha.dat tah.dat "));
        QCOMPARE(w.dir().read("plocha.dat") + w.dir().read("tah.dat"), filesBefore);
    }

    void keysStepThroughTheGameEachPositionANewTree() {
        GameWindow w;
        w.open(REAL_GAME);
        const GameRecord record = readRecord(REAL_GAME);
        struct Step {
            Qt::Key key;
            int count;
        };
        const Step steps[] = {{Qt::Key_Up, 15}, {Qt::Key_Up, 14}, {Qt::Key_Home, 0},
                              {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_End, 16}};
        for (const Step& step : steps) {
            w.tree().ExpandSelectedNode();  // grow the old tree: the step must replace it
            QTest::keyClick(w.list(), step.key);
            checkRootIsPositionAfter(w, record, step.count);
        }
        // A digit asks an AI about the position shown, and selects no row.
        const StatNode* root = w.node(w.root());
        QTest::keyClick(w.list(), Qt::Key_1);
        QCOMPARE(w.opponent.asked, 1);
        QCOMPARE(w.node(w.root()), root);
        QCOMPARE(w.selected(), 16);
    }

    void aRecordThatCannotBeReadGetsABoxNamingTheLineAndChangesNothing() {
        GameWindow w;
        w.open(REAL_GAME);
        QTest::keyClick(w.list(), Qt::Key_Up);
        w.tree().ExpandSelectedNode();
        const StatNode* root = w.node(w.root());
        const int children = w.root()->childCount();
        const QImage picture = w.image();

        struct Case {
            const char* name;
            const char* content;  // nullptr: no such file
            int line;             // 0: the box names no line
        };
        const Case cases[] = {
            {"small.psq", "Piskvorky 15x15, 7:7, 0\n8,8,0\n", 1},
            {"header.psq", "Gomoku game\n10,10,0\n", 1},
            {"mover.psq", "Piskvorky 20x20, 7:7, 2\n10,10,0\n", 1},
            {"off-board.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n21,3,0\n", 3},
            {"taken.psq", "Piskvorky 20x20, 7:7, 0\r\n10,10,0\r\n11,11,0\r\n10,10,0\r\n", 4},
            {"no-moves.psq", "Piskvorky 20x20, 7:7, 0\npisq7.exe\n", 2},
            {"empty.psq", "", 1},
            {"missing.psq", nullptr, 0},
        };
        for (const Case& bad : cases) {
            if (bad.content != nullptr) w.dir().write(bad.name, bad.content);
            w.errors.clear();
            w.open(w.dir() / bad.name);
            QCOMPARE(w.errors.size(), 1);
            const QString file = QString::fromStdString((w.dir() / bad.name).string());
            QString named = QStringLiteral("Game record \"%1\"").arg(file);
            if (bad.line > 0) named += QStringLiteral(" line %1").arg(bad.line);
            QVERIFY2(w.errors.front().startsWith(named + ": "), qPrintable(w.errors.front()));
            QVERIFY2(w.errors.front().size() > named.size() + 2, bad.name);

            QCOMPARE(w.node(w.root()), root);
            QCOMPARE(w.root()->childCount(), children);
            QCOMPARE(w.image(), picture);
            QCOMPARE(w.lines().size(), 17);
            QCOMPARE(w.selected(), 15);
        }
        // The window names a square from 0, the record's own text beside it.
        w.errors.clear();
        w.open(w.dir() / "taken.psq");
        QVERIFY2(w.errors.front().endsWith(QStringLiteral("line 4: move 3 (9,9; 10,10 in the record) is on the stone of "
                                                          "move 1")),
                 qPrintable(w.errors.front()));
    }

    void theGameRestsWhileASolveRunsOrAPositionIsEdited() {
        GameWindow w;
        w.open(REAL_GAME);
        QTest::keyClick(w.list(), Qt::Key_Home);
        const auto checkRefused = [&w] {
            const StatNode* root = w.node(w.root());
            QVERIFY(!w.action("OpenGame1")->isEnabled());
            QVERIFY(!w.list()->isEnabled());
            QVERIFY(!w.game().OpenGame(REAL_GAME));
            w.game().ShowGamePosition(3, 0);
            QCOMPARE(w.node(w.root()), root);
            QCOMPARE(w.selected(), 0);
            QVERIFY(w.errors.isEmpty());
        };

        w.solve().SolveSelectedNode();
        QVERIFY(w.solving());
        checkRefused();
        w.form->close();  // ends the solve
        w.form->show();
        QVERIFY(w.list()->isEnabled());

        w.action("EditPosition1")->trigger();
        QVERIFY(w.editing());
        checkRefused();
        w.action("EditPosition1")->trigger();
        QVERIFY(w.list()->isEnabled());
        QCOMPARE(w.selected(), -1);  // the edited position is no position of the game
        QTest::keyClick(w.list(), Qt::Key_Down);
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 0);
    }

    void fileInputLeavesTheGameListedWithNoLineSelected() {
        GameWindow w;
        w.open(REAL_GAME);
        w.action("FileInput1")->trigger();
        QCOMPARE(w.selected(), -1);
        QCOMPARE(w.rootBoard()->stoneCount(), 4);
        QCOMPARE(w.lines().size(), 17);
        w.clickRow(5);
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 5);
    }

    // The game's moves and variations, without a window.
    void aGameKeepsItsVariations() {
        GameTree game('x');
        const int a = squareAt(9, 9), b = squareAt(10, 10), c = squareAt(11, 8), d = squareAt(8, 10);
        for (const int square : {a, b, c}) QCOMPARE(game.play(square, 5), GameTree::Play::Played);
        QVERIFY(game.changed());
        QCOMPARE(game.play(a, 0), GameTree::Play::Taken);
        game.select(2);
        QCOMPARE(game.play(d, 0), GameTree::Play::Played);  // beside c
        QCOMPARE(game.lineRecord().moves, (std::vector<int>{a, b, d}));
        QCOMPARE(game.nextMoves(game.line()[2]).size(), std::size_t{2});
        game.choose(game.nextMoves(game.line()[2]).front());
        QCOMPARE(game.lineRecord().moves, (std::vector<int>{a, b, c}));
        QCOMPARE(game.selected(), 3);
        game.select(2);
        QCOMPARE(game.play(d, 0), GameTree::Play::Played);  // played before: the line goes that way again
        QCOMPARE(game.nextMoves(game.line()[2]).size(), std::size_t{2});
        QVERIFY(game.removeSelected());
        QCOMPARE(game.selected(), 2);
        QCOMPARE(game.lineRecord().moves, (std::vector<int>{a, b, c}));
        game.select(0);
        QVERIFY(!game.removeSelected());

        // A five ends the game: nothing is played after it.
        GameTree five('o');
        for (int i = 0; i < 5; ++i) {
            five.play(squareAt(i, 0), 0);
            if (i < 4) five.play(squareAt(i, 5), 0);
        }
        QCOMPARE(five.fiveAt(), 9);
        QCOMPARE(five.play(squareAt(9, 9), 0), GameTree::Play::GameOver);
        QCOMPARE(letterOfMove(five.lineRecord(), 9), 'o');
    }

    // Clicks on the "Game" page play x, o, x; Back takes the last one off
    // the board, and a click then plays a variation beside it; the Game list
    // shows both and switches between them; "Delete Move" removes a tail.
    void clicksPlayMovesAndBackMakesRoomForAVariation() {
        GameWindow w;
        w.newGame();
        QCOMPARE(w.widgets().pages.currentWidget(), &w.widgets().gamePage);
        w.play({{9, 9}, {10, 10}, {11, 8}});
        QCOMPARE(w.stoneAt(9, 9), 'x');
        QCOMPARE(w.stoneAt(10, 10), 'o');
        QCOMPARE(w.stoneAt(11, 8), 'x');
        QCOMPARE(w.lines(), (QStringList{"0. (empty board)", "1. 9,9", "2. 10,10", "3. 11,8"}));
        QCOMPARE(w.selected(), 3);
        QCOMPARE(w.rootBoard()->stoneCount(), 3);
        w.clickBoard(10, 10);  // a stone: nothing
        QCOMPARE(w.rootBoard()->stoneCount(), 3);

        QTest::keyClick(w.list(), Qt::Key_Left);  // Back
        QCOMPARE(w.selected(), 2);
        QCOMPARE(w.stoneAt(11, 8), '-');
        w.clickBoard(8, 10);
        QCOMPARE(w.stoneAt(8, 10), 'x');
        QCOMPARE(w.stoneAt(11, 8), '-');
        QCOMPARE(w.lines().last(), QStringLiteral("3. 8,10 (+1)"));
        w.action("Back1")->trigger();
        QCOMPARE(w.game().page().nextMoves(), (QStringList{"3. 11,8", "3. 8,10"}));
        w.game().chooseNextMove(0);
        QCOMPARE(w.lines().last(), QStringLiteral("3. 11,8 (+1)"));
        QCOMPARE(w.selected(), 3);
        QCOMPARE(w.stoneAt(11, 8), 'x');
        QTest::keyClick(w.list(), Qt::Key_Delete);  // "Delete Move"
        QCOMPARE(w.lines(), (QStringList{"0. (empty board)", "1. 9,9", "2. 10,10", "3. 8,10"}));
        QCOMPARE(w.selected(), 2);

        // On another page the board is not played on.
        w.widgets().pages.setCurrentIndex(0);
        w.clickBoard(0, 0);
        QCOMPARE(w.rootBoard()->stoneCount(), 2);
    }

    // A five ends the game: it is ringed, the status says who won, no move
    // follows, and Solve says the game is over.
    void aFiveEndsTheGame() {
        GameWindow w;
        w.newGame();
        for (int i = 0; i < 4; ++i) w.play({{i, 0}, {i, 5}});
        w.play({{4, 0}});
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("x wins (five)"));
        QCOMPARE(w.image().pixel(4 * 20 + 2, 10), qRgb(0, 64, 255));  // the five's ring
        w.clickBoard(9, 9);
        QCOMPARE(w.rootBoard()->stoneCount(), 9);
        QCOMPARE(w.status(), QStringLiteral("The game is over: a five stands on the board"));
        w.solve().SolveSelectedNode();
        QVERIFY(!w.solving());
        QCOMPARE(w.solve().dialog()->findChild<QLabel*>(QStringLiteral("SolveOutcome"))->text(),
                 QStringLiteral("The game is over: x has five in a row."));
        // A record that ends in a five says it too.
        w.dialogs->unsaved = UnsavedChoice::Discard;
        QVERIFY(w.game().OpenGame(REAL_GAME));
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("o wins (five)"));
    }

    // "Save Game As..." writes the line shown, with its times, as a record
    // that the reader, vorek-cli and the window read back; a record saved
    // unchanged keeps the lines after its moves.
    void theSavedRecordReadsBackEverywhere() {
        GameWindow w;
        w.newGame();
        w.play({{9, 9}, {10, 10}, {11, 8}});
        w.action("Back1")->trigger();
        w.play({{8, 10}, {12, 12}});
        const fs::path saved = w.dir() / "played.psq";
        w.answer = QString::fromStdString(saved.string());
        QVERIFY(w.game().SaveGameAsClick());
        QVERIFY(!w.game().game()->changed());
        const std::string text = w.dir().read("played.psq");
        QVERIFY2(text.starts_with("Piskvorky 20x20, 7:7, 0\r\n10,10,"), text.c_str());
        const GameRecord record = readRecord(saved);
        QCOMPARE(record.moves, (std::vector<int>{squareAt(9, 9), squareAt(10, 10), squareAt(8, 10), squareAt(12, 12)}));
        QCOMPARE(record.milliseconds, w.game().game()->lineRecord().milliseconds);

        QProcess cli;
        cli.start(QStringLiteral(VOREK_CLI_BINARY), {QStringLiteral("game"), QString::fromStdString(saved.string()),
                                                     QStringLiteral("--nodes"), QStringLiteral("1000")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(cli.readAllStandardOutput().startsWith("1 x "));

        const QImage shown = w.image();
        GameWindow again;
        QVERIFY(again.game().OpenGame(saved));
        QCOMPARE(again.image(), shown);

        // The record read and saved unchanged, but for its trailer.
        QVERIFY(again.game().saveGameTo(w.dir() / "copy.psq"));
        std::ifstream real(REAL_GAME, std::ios::binary);
        const std::string realText{std::istreambuf_iterator<char>(real), {}};
        w.dir().write("real.psq", realText);
        QVERIFY(again.game().OpenGame(w.dir() / "real.psq"));
        QVERIFY(again.game().SaveGameClick());
        QCOMPARE(w.dir().read("real.psq"), realText);
    }

    // A save that cannot be written says so and keeps what was there; a game
    // without moves is no record.
    void aFailedSaveLosesNothing() {
        GameWindow w;
        w.newGame();
        QVERIFY(!w.game().saveGameTo(w.dir() / "empty.psq"));
        QCOMPARE(w.errors, QStringList{"The game has no moves to save"});
        QVERIFY(!w.dir().exists("empty.psq"));
        w.play({{9, 9}});
        fs::create_directory(w.dir() / "taken.psq");
        w.dir().write("taken.psq/kept", "kept");
        QVERIFY(!w.game().saveGameTo(w.dir() / "taken.psq"));
        QVERIFY(w.errors.last().startsWith(QStringLiteral("Cannot save the game in")));
        QCOMPARE(w.dir().read("taken.psq/kept"), std::string("kept"));
        QVERIFY(w.game().game()->changed());
    }

    // Leaving a changed game (another game, a new one, closing) asks first:
    // Cancel keeps it, Discard lets it go, Save saves it first.
    void leavingAChangedGameAsksFirst() {
        GameWindow w;
        w.newGame();
        w.play({{9, 9}});
        w.dialogs->unsaved = UnsavedChoice::Cancel;
        QVERIFY(!w.game().OpenGame(REAL_GAME));
        QVERIFY(!w.form->close());
        QCOMPARE(w.dialogs->asked.size(), 2);
        QVERIFY(w.dialogs->asked.front().contains(QStringLiteral("open another game")));
        QCOMPARE(w.rootBoard()->stoneCount(), 1);

        w.dialogs->unsaved = UnsavedChoice::Save;
        w.answer = QString::fromStdString((w.dir() / "kept.psq").string());
        w.newGame();
        QCOMPARE(readRecord(w.dir() / "kept.psq").moves, std::vector<int>{squareAt(9, 9)});
        QCOMPARE(w.rootBoard()->stoneCount(), 0);
        w.play({{5, 5}});
        w.dialogs->unsaved = UnsavedChoice::Discard;
        QVERIFY(w.game().OpenGame(REAL_GAME));
        QCOMPARE(w.dialogs->asked.size(), 4);
        QVERIFY(w.form->close());  // an unchanged game closes without a question
        QCOMPARE(w.dialogs->asked.size(), 4);
    }

    // "New Game From Here" keeps the position shown as the game's first
    // moves: a game's own and the tree's below it, or, for a position from
    // files, its stones in turn, the side to move to move after them.
    void aNewGameStartsFromThePositionShown() {
        GameWindow w;
        w.game().OpenGame(REAL_GAME);
        w.game().ShowGamePosition(5);
        w.select(w.root());
        w.tree().ExpandSelectedNode();
        w.select(w.root()->child(0));
        w.tree().ShowSelectedNode();
        const int grown = w.currentNode()->move;
        w.action("NewGameFromHere1")->trigger();
        std::vector<int> moves = readRecord(REAL_GAME).moves;
        moves.resize(5);
        moves.push_back(grown);
        QCOMPARE(w.game().game()->lineRecord().moves, moves);
        QCOMPARE(w.game().game()->firstLetter(), 'x');
        QCOMPARE(w.selected(), 6);

        GameWindow files;  // two "x" and two "o", x to move
        files.action("NewGameFromHere1")->trigger();
        QCOMPARE(files.game().game()->length(), 4);
        QCOMPARE(testing::showText(*files.rootBoard()),
                 testing::showText(*folderPosition(files.dir().path()).board));
        QVERIFY(files.game().game()->changed());

        files.dir().write("plocha.dat", testing::boardFile({"xxx"}));
        files.action("FileInput1")->trigger();
        const int length = files.game().game()->length();
        files.action("NewGameFromHere1")->trigger();
        QCOMPARE(files.errors.size(), 1);
        QVERIFY(files.errors.front().startsWith(QStringLiteral("No game leads to this position")));
        QCOMPARE(files.game().game()->length(), length);
    }

    // The list taking the focus back (after a dialog) selects no row of its
    // own: after a game, "Open Folder..." shows the folder's position.
    void aFolderOpenedAfterAGameShowsItsPosition() {
        GameWindow w;
        w.game().OpenGame(REAL_GAME);
        testing::TempDir other;
        other.write("plocha.dat", testing::boardFile({"", "x", "xo"}));
        other.write("tah.dat", "o");
        w.answer = QString::fromStdString(other.path().string());
        w.action("OpenFolder1")->trigger();
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(w.list(), &back);
        QCOMPARE(testing::showText(*w.rootBoard()), testing::showText(*folderPosition(other.path()).board));
        QCOMPARE(w.selected(), -1);
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Form1"));  // nothing of the old position is reported
    }

    // "Analyse Game" judges every position on a thread of its own; each row
    // gets its result and the mark of the move that led to it, and the
    // proving move of the position shown is ringed in green.
    void theAnalysisColumnMarksTheMoves() {
        GameWindow w;
        w.game().OpenGame(REAL_GAME);
        w.action("AnalyseGame1")->trigger();
        QVERIFY(w.game().analysing());
        w.game().waitForAnalysis();
        QVERIFY(!w.game().analysing());
        QVERIFY(!w.action("AnalyseGame1")->isChecked());
        const GamePage& page = w.game().page();
        // vorek-cli game: "9 x unknown - 11,11 blunder", "10 o proved 13,11".
        QCOMPARE(page.rowText(9, GamePage::ANALYSIS_COLUMN), QStringLiteral("blunder: o wins at 12,10"));
        QCOMPARE(page.rowText(10, GamePage::ANALYSIS_COLUMN), QStringLiteral("win found: o wins"));
        QCOMPARE(page.rowText(16, GamePage::ANALYSIS_COLUMN), QStringLiteral("win found: o has won (five)"));
        QCOMPARE(page.rowText(1, GamePage::ANALYSIS_COLUMN), QStringLiteral("no win by threats"));
        w.game().ShowGamePosition(9);
        QCOMPARE(w.view().pictureOptions().hint, squareAt(12, 10));
        QCOMPARE(w.image().pixel(12 * 20 + 2, 10 * 20 + 10), qRgb(0, 160, 0));
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::OpenGameTest>(argc, argv, "test_open_game");
}

#include "test_open_game.moc"
