// The verdict of a solve in the window: the kind and length of the win in its
// text, and the line found stepped through on the board from the Solve
// dialog, with the tree at rest meanwhile and the board given back after.
#include <QAction>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/board_view/board_image.h"
#include "app/solve/line_stepper.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_line.h"
#include "app/solve/solve_outcome.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"
#include "tests/temp_dir.h"

Q_DECLARE_METATYPE(vorek::SolveReport)

namespace vorek {

using testing::WindowFixture;

namespace {

constexpr int SOLVE_LIMIT_MS = 60000;  // a guard against a hang, far above any real solve here

std::string exampleFile(const char* example, const char* name) {
    std::ifstream in(std::filesystem::path(VOREK_EXAMPLES_DIR) / example / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// x to move against two threes of o: every defence loses to o's fours.
std::string lostBoard() {
    return testing::boardFile({"", "", "", "   x             x", "", "", "              o", "              o",
                               "              o", "        ooo", "", "", "", "", "", "", "", "   x"});
}

struct LineWindow : WindowFixture {
    using WindowFixture::WindowFixture;
    explicit LineWindow(const char* example)
        : WindowFixture(exampleFile(example, "plocha.dat"), exampleFile(example, "tah.dat")) {}

    // An exact solve of the selected node, waited for.
    void solve() {
        SolveSettings settings;
        settings.exact = true;
        form->setSolveSettings(settings);
        form->SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!form->solving(), SOLVE_LIMIT_MS);
    }
    SolveDialog* dialog() const { return form->findChild<SolveDialog*>(); }
    LineStepper* stepper() const { return dialog()->line(); }
    QString outcome() const { return dialog()->findChild<QLabel*>(QStringLiteral("SolveOutcome"))->text(); }
    QString stepText() const { return stepper()->findChild<QLabel*>(QStringLiteral("SolveLineStep"))->text(); }
    // A key pressed in the dialog, as the user does once it is the active window.
    void keyInDialog(Qt::Key key) {
        QApplication::setActiveWindow(dialog());
        QTest::keyClick(dialog(), key);
    }
    QImage shown() const { return form->ImgBoard->image(); }
};

// The window's picture of the start position after `step` moves of the
// line: the line's stones numbered from 1, the last of them marked.
QImage linePicture(const V2Board& start, const std::vector<int>& line, int step) {
    const std::unique_ptr<V2Board> board = start.clone();
    PictureOptions options;
    const std::span<const int> played(line.data(), static_cast<std::size_t>(step));
    numberStones(options.moveNumbers, played, 1);
    for (const int square : played) board->play(square);
    return WindowFixture::picture(*board, step > 0 ? line[static_cast<std::size_t>(step - 1)] : -1, options);
}

SolveReport decided(SolveResult result, int move, bool foursOnly, int winnerMoves) {
    SolveReport report;
    report.result = result;
    report.move = move;
    report.foursOnly = foursOnly;
    report.winnerMoves = winnerMoves;
    return report;
}

}  // namespace

class SolveLineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the settings go to a test place
        QSettings().clear();
    }

    void outcomeTextsSayTheKindAndLengthOfTheWin_data() {
        QTest::addColumn<SolveReport>("report");
        QTest::addColumn<QString>("text");
        const int square = squareAt(6, 12);
        QTest::newRow("fours") << decided(SolveResult::Proved, square, true, 7)
                               << QStringLiteral("Proved: 6,12 wins by fours in 7 moves.");
        QTest::newRow("a five at once") << decided(SolveResult::Proved, square, true, 1)
                                        << QStringLiteral("Proved: 6,12 wins by fours in 1 move.");
        QTest::newRow("player 0 to move") << decided(SolveResult::Proved, -1, false, 4)
                                          << QStringLiteral("Proved: player 1 wins by threats in 4 moves whatever "
                                                            "player 0 plays.");
        QTest::newRow("disproved") << decided(SolveResult::Disproved, -1, false, 5)
                                   << QStringLiteral("Disproved: player 0 has a forced win by threats in 5 moves.");
        // The tree's rules tell no kind: the text stays as it was.
        QTest::newRow("tree's rules") << decided(SolveResult::Proved, square, false, 0)
                                      << QStringLiteral("Proved: 6,12 wins.");
        QTest::newRow("undecided") << decided(SolveResult::Unknown, -1, false, 0)
                                   << QStringLiteral("Not decided: neither side can force a win by threats from here.");
    }
    void outcomeTextsSayTheKindAndLengthOfTheWin() {
        QFETCH(SolveReport, report);
        QFETCH(QString, text);
        QCOMPARE(solveOutcomeText(report), text);
    }

    // A line is only ever played on the board it came with; the steps stay
    // within it, and the sides alternate from the side to move.
    void aLineIsCutBeforeAMoveItCannotPlayAndItsStepsAreHeld() {
        Stones stones;
        stones.put(squareAt(9, 9), PLAYER1);
        const std::unique_ptr<V2Board> start = V2Board::fromStones(stones, PLAYER0);
        StoneLabels labels;
        labels.player1Letter = 'o';
        labels.nextNumber = 4;
        const int a = squareAt(10, 10), b = squareAt(11, 11);
        SolveLine line(*start, labels, {squareAt(9, 9)}, {a, b, squareAt(9, 9), squareAt(12, 12)});
        QCOMPARE(line.length(), 2);
        QCOMPARE(line.letterOf(0), 'x');
        QCOMPARE(line.letterOf(1), 'o');
        for (const auto& [wanted, held] : {std::pair{5, 2}, {-1, 0}, {1, 1}}) {
            line.stepTo(wanted);
            QCOMPARE(line.step(), held);
            QCOMPARE(line.board().stoneCount(), 1 + held);
        }
        QCOMPARE(line.movesShown(), (std::vector<int>{squareAt(9, 9), a}));
        QCOMPARE(line.lineNumbers()[static_cast<std::size_t>(a)], 1);
        QCOMPARE(line.lineNumbers()[static_cast<std::size_t>(b)], 0);
        QCOMPARE(line.board().stoneAt(a), PLAYER0);
        QCOMPARE(start->stoneCount(), 1);
    }

    void theProvingLineIsSteppedThroughAndTheTreeRestsMeanwhile() {
        LineWindow w("middlegame");
        testing::DialogRecord asked;
        w.form->setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), asked));
        w.solve();
        QCOMPARE(w.outcome(), QStringLiteral("Proved: 6,12 wins by threats in 5 moves."));
        V2Board& start = w.node(w.root())->ensureBoard();
        const QImage before = w.shown();
        QCOMPARE(before, WindowFixture::picture(start));
        QVERIFY(w.stepper()->isVisible());
        QCOMPARE(w.stepper()->length(), 9);
        QCOMPARE(w.stepText(), QStringLiteral("Move 0 of 9: the position solved"));
        QVERIFY(!w.stepper()->Previous->isEnabled());

        // Keys in the dialog: each step shows the board after it.
        w.keyInDialog(Qt::Key_Right);
        QCOMPARE(w.form->mode(), WindowMode::SHOWING_LINE);
        QCOMPARE(w.stepText(), QStringLiteral("Move 1 of 9: x 6,12"));
        QCOMPARE(w.shown(), linePicture(start, {squareAt(6, 12)}, 1));
        QVERIFY(!w.form->Tree->isEnabled());
        QVERIFY(!w.form->StatusBar1->currentMessage().isEmpty());

        // Nothing changes the tree or starts other work under the line.
        const int items = w.root()->childCount();
        w.form->FileInput1Click();
        w.form->SolveSelectedNode();
        w.form->TreeDblClick();
        w.form->TreeKeyUp(KEY_DIGIT_1);
        w.form->EditPositionClick(true);
        QCOMPARE(w.form->findChildren<SolveDialog*>().size(), 1);
        QCOMPARE(w.root()->childCount(), items);
        QCOMPARE(asked.asked, 0);
        QCOMPARE(w.form->mode(), WindowMode::SHOWING_LINE);

        // The end and past it: the last move, the five, and no further.
        w.keyInDialog(Qt::Key_End);
        QCOMPARE(w.stepper()->step(), 9);
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 9 of 9: x ")));
        const QImage end = w.shown();
        w.keyInDialog(Qt::Key_Right);
        w.form->StepSolveLine(12);
        QCOMPARE(w.stepper()->step(), 9);
        QCOMPARE(w.shown(), end);
        QVERIFY(!w.stepper()->Next->isEnabled());
        w.keyInDialog(Qt::Key_Left);
        QCOMPARE(w.stepper()->step(), 8);
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 8 of 9: o ")));

        // Back, and before the start: the selected node's board, the window at rest.
        w.stepper()->Back->trigger();
        QCOMPARE(w.form->mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), before);
        QVERIFY(w.form->Tree->isEnabled());
        w.form->StepSolveLine(-3);
        QCOMPARE(w.stepper()->step(), 0);
        QCOMPARE(w.form->mode(), WindowMode::IDLE);
    }

    // Escape, the close box or a window going away: the board is the node's again.
    void closingWhileSteppingGivesTheBoardBack() {
        LineWindow w("middlegame");
        const std::string files = w.dir().read("plocha.dat");
        w.solve();
        const QImage before = w.shown();
        w.keyInDialog(Qt::Key_Right);
        w.keyInDialog(Qt::Key_Escape);
        QVERIFY(!w.dialog()->isVisible());
        QCOMPARE(w.form->mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), before);
        w.form->StepSolveLine(1);  // the closed dialog's line is gone
        QCOMPARE(w.form->mode(), WindowMode::IDLE);

        // A new solve replaces the dialog; the window closes in the middle of its line.
        w.solve();
        w.stepper()->End->trigger();
        QCOMPARE(w.form->mode(), WindowMode::SHOWING_LINE);
        w.dialog()->close();
        QCOMPARE(w.shown(), before);
        w.solve();
        w.stepper()->Next->trigger();
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), files);
    }

    // Where the other side wins, the line starts with the defence that
    // holds longest and ends with the winner's five.
    void aDisprovedResultStepsTheWinnersLine() {
        LineWindow w(lostBoard(), "x");
        w.solve();
        QCOMPARE(w.outcome(), QStringLiteral("Disproved: player 0 has a forced win by fours in 2 moves."));
        QCOMPARE(w.stepper()->length(), 4);
        w.stepper()->Next->trigger();
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 1 of 4: x ")));
        w.stepper()->Next->trigger();
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 2 of 4: o ")));
        w.stepper()->End->trigger();
        QCOMPARE(w.form->shownBoard().stoneCount(), w.node(w.root())->ensureBoard().stoneCount() + 4);
        QCOMPARE(w.form->pictureOptions().lastMove, squareAt(11, 9));  // o's five
    }

    // An undecided solve's moves prove nothing: no stepper, and stepping does nothing.
    void aSolveWithoutALineOffersNoSteps() {
        LineWindow w("opening");
        w.solve();
        QVERIFY(w.outcome().startsWith(QStringLiteral("Not decided:")));
        QVERIFY(!w.stepper()->isVisible());
        const QImage before = w.shown();
        w.form->StepSolveLine(1);
        QCOMPARE(w.form->mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), before);
    }

    // While a position is edited the line rests; once the edit has become
    // the tree, the line still shows the position it was found in.
    void theLineOutlivesTheTreeItWasFoundIn() {
        LineWindow w("middlegame");
        w.solve();
        V2Board& solved = w.node(w.root())->ensureBoard();
        const QImage first = linePicture(solved, {squareAt(6, 12)}, 1);
        w.form->EditPositionClick(true);
        QVERIFY(!w.stepper()->isEnabled());
        w.form->StepSolveLine(1);
        QVERIFY(w.form->editing());
        w.form->ClearBoardClick();
        w.form->EditPositionClick(false);
        QVERIFY(w.stepper()->isEnabled());
        w.form->StepSolveLine(1);
        QCOMPARE(w.shown(), first);
        w.form->StepSolveLine(0);
        QCOMPARE(w.form->shownBoard().stoneCount(), 0);
    }
};

}  // namespace vorek

QTEST_MAIN(vorek::SolveLineTest)
#include "test_solve_line.moc"
