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

using testing::exampleFile;
using testing::WindowFixture;

namespace {

constexpr int SOLVE_LIMIT_MS = 60000;  // a guard against a hang, far above any real solve here

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
    void solveExactly() {
        SolveSettings settings;
        settings.exact = true;
        solve().setSolveSettings(settings);
        solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!solving(), SOLVE_LIMIT_MS);
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
    QImage shown() const { return image(); }
};

// The window's picture of the start position after the moves: numbered from
// 1, the last one marked.
QImage linePicture(const V2Board& start, const std::vector<int>& moves) {
    const std::unique_ptr<V2Board> board = start.clone();
    PictureOptions options;
    numberStones(options.moveNumbers, moves, 1);
    for (const int square : moves) board->play(square);
    return WindowFixture::picture(*board, moves.empty() ? -1 : moves.back(), options);
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

    // The winner by his letter (player 1 playing the first), the proving
    // move, the kind and the length of the win; the verdict beside the
    // solved node's numbers in a few words.
    void outcomeTextsSayTheWinnerTheKindAndTheLength_data() {
        QTest::addColumn<SolveReport>("report");
        QTest::addColumn<char>("player1");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verdict");
        const int square = squareAt(6, 12);
        QTest::newRow("fours") << decided(SolveResult::Proved, square, true, 1) << 'x'
                               << QStringLiteral("Proved: x wins with 6,12 by fours in 1 move.")
                               << QStringLiteral("x wins");
        QTest::newRow("player 0 to move")
            << decided(SolveResult::Proved, -1, false, 4) << 'o'
            << QStringLiteral("Proved: o wins by threats in 4 moves whatever x plays.") << QStringLiteral("o wins");
        QTest::newRow("disproved") << decided(SolveResult::Disproved, -1, false, 5) << 'x'
                                   << QStringLiteral("Disproved: o has a forced win by threats in 5 moves.")
                                   << QStringLiteral("o wins");
        // The tree's rules tell no kind.
        QTest::newRow("tree's rules") << decided(SolveResult::Proved, square, false, 0) << 'x'
                                      << QStringLiteral("Proved: x wins with 6,12.") << QStringLiteral("x wins");
        SolveReport spent;
        spent.stopped = SolveStop::Nodes;
        QTest::newRow("budget spent") << spent << 'x' << QStringLiteral("Not decided: the node budget was spent.")
                                      << QString();
        QTest::newRow("nothing forced") << SolveReport{} << 'x'
                                        << QStringLiteral("Not decided: neither side can force a win by threats "
                                                          "from here.")
                                        << QStringLiteral("no win by threats");
    }
    void outcomeTextsSayTheWinnerTheKindAndTheLength() {
        QFETCH(SolveReport, report);
        QFETCH(char, player1);
        QFETCH(QString, text);
        QFETCH(QString, verdict);
        QCOMPARE(solveOutcomeText(report, player1), text);
        QCOMPARE(solveVerdictText(report, player1), verdict);
    }

    // A line is only played where it can be, and the sides alternate from
    // the side to move.
    void aLineIsCutBeforeAMoveItCannotPlay() {
        Stones stones;
        stones.put(squareAt(9, 9), PLAYER1);
        const std::unique_ptr<V2Board> start = V2Board::fromStones(stones, PLAYER0);
        StoneLabels labels;
        labels.player1Letter = 'o';
        SolveLine line(*start, labels, {}, {squareAt(10, 10), squareAt(11, 11), squareAt(9, 9), squareAt(12, 12)});
        QCOMPARE(line.length(), 2);
        QCOMPARE(QString{line.letterOf(0)} + line.letterOf(1), QStringLiteral("xo"));
        line.stepTo(5);
        QCOMPARE(line.board().stoneCount(), 3);
        QCOMPARE(start->stoneCount(), 1);
    }

    void theProvingLineIsSteppedThroughAndTheTreeRestsMeanwhile() {
        LineWindow w("middlegame");
        testing::DialogRecord asked;
        w.ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), asked));
        w.solveExactly();
        QCOMPARE(w.outcome(), QStringLiteral("Proved: x wins with 6,12 by threats in 5 moves."));
        V2Board& start = w.node(w.root())->ensureBoard();
        const QImage before = w.shown();
        QCOMPARE(w.stepText(), QStringLiteral("Move 0 of 9: the position solved"));

        // Keys in the dialog: each step shows the board after it.
        w.keyInDialog(Qt::Key_Right);
        QCOMPARE(w.controller().mode(), WindowMode::SHOWING_LINE);
        QCOMPARE(w.stepText(), QStringLiteral("Move 1 of 9: x 6,12"));
        QCOMPARE(w.shown(), linePicture(start, {squareAt(6, 12)}));
        QVERIFY(!w.treeView()->isEnabled());

        // Nothing changes the tree or starts other work under the line.
        const int items = w.root()->childCount();
        w.folder().FileInput1Click();
        w.solve().SolveSelectedNode();
        w.tree().TreeDblClick();
        w.tree().TreeKeyUp(KEY_DIGIT_1);
        w.edit().EditPositionClick(true);
        QCOMPARE(w.form->findChildren<SolveDialog*>().size(), 1);
        QCOMPARE(w.root()->childCount(), items);
        QCOMPARE(asked.asked, 0);
        QCOMPARE(w.controller().mode(), WindowMode::SHOWING_LINE);

        // The end and past it: the last move, the five, and no further.
        w.keyInDialog(Qt::Key_End);
        QCOMPARE(w.stepper()->step(), 9);
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 9 of 9: x ")));
        const QImage end = w.shown();
        w.solve().StepSolveLine(12);
        QCOMPARE(w.stepper()->step(), 9);
        QCOMPARE(w.shown(), end);
        w.keyInDialog(Qt::Key_Left);
        QCOMPARE(w.stepper()->step(), 8);
        QVERIFY(w.stepText().startsWith(QStringLiteral("Move 8 of 9: o ")));

        // Back, and before the start: the selected node's board, the window at rest.
        w.stepper()->Back->trigger();
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), before);
        w.solve().StepSolveLine(-3);
        QCOMPARE(w.stepper()->step(), 0);
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
    }

    // Solving a node whose children are in the tree selects the proving
    // child: the stepper then says it shows the line's first move, and Back
    // shows the position solved, not the child's again.
    void theStepperStartsWhereTheSelectionStands() {
        LineWindow w("middlegame");
        w.keyClick(Qt::Key_Right);  // the root's children get items
        w.select(w.root());
        w.solveExactly();
        QCOMPARE(w.node(w.tree().selectedItem())->move, squareAt(6, 12));
        V2Board& solved = w.node(w.root())->ensureBoard();
        const QImage child = w.shown();
        QCOMPARE(w.stepText(), QStringLiteral("Move 1 of 9: x 6,12"));
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);

        w.stepper()->Back->trigger();
        QCOMPARE(w.stepText(), QStringLiteral("Move 0 of 9: the position solved"));
        QCOMPARE(w.controller().mode(), WindowMode::SHOWING_LINE);
        QCOMPARE(w.controller().shownBoard().stoneCount(), solved.stoneCount());
        QCOMPARE(w.shown(), linePicture(solved, {}));
        w.stepper()->Next->trigger();
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), child);
    }

    // Escape (as the close box) or the window going away: the board is the node's again.
    void closingWhileSteppingGivesTheBoardBack() {
        LineWindow w("middlegame");
        const std::string files = w.dir().read("plocha.dat");
        w.solveExactly();
        const QImage before = w.shown();
        w.keyInDialog(Qt::Key_Right);
        w.keyInDialog(Qt::Key_Escape);
        QVERIFY(!w.dialog()->isVisible());
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
        QCOMPARE(w.shown(), before);
        w.solve().StepSolveLine(1);  // the closed dialog's line is gone
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);

        // A new solve replaces the dialog; the window closes in the middle of its line.
        w.solveExactly();
        w.stepper()->Next->trigger();
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), files);
    }

    // Where the other side wins, the line starts with the defence that
    // holds longest and ends with the winner's five; an undecided solve's
    // moves prove nothing and are not offered.
    void aDisprovedResultStepsTheWinnersLineAnUndecidedOneNone() {
        LineWindow w(lostBoard(), "x");
        w.solveExactly();
        QCOMPARE(w.outcome(), QStringLiteral("Disproved: o has a forced win by fours in 2 moves."));
        w.stepper()->Next->trigger();
        QCOMPARE(w.stepText(), QStringLiteral("Move 1 of 4: x 14,5"));
        w.stepper()->End->trigger();
        QCOMPARE(w.stepText(), QStringLiteral("Move 4 of 4: o 11,9"));
        QCOMPARE(w.controller().shownBoard().stoneCount(), w.node(w.root())->ensureBoard().stoneCount() + 4);

        LineWindow undecided("opening");
        undecided.solveExactly();
        QVERIFY(undecided.outcome().startsWith(QStringLiteral("Not decided:")));
        QVERIFY(!undecided.stepper()->isVisible());
        undecided.solve().StepSolveLine(1);
        QCOMPARE(undecided.controller().mode(), WindowMode::IDLE);
    }

    // While a position is edited the line rests; once the edit has become
    // the tree, the line still shows the position it was found in.
    void theLineOutlivesTheTreeItWasFoundIn() {
        LineWindow w("middlegame");
        w.solveExactly();
        V2Board& solved = w.node(w.root())->ensureBoard();
        const QImage first = linePicture(solved, {squareAt(6, 12)});
        w.edit().EditPositionClick(true);
        w.solve().StepSolveLine(1);
        QVERIFY(w.editing());
        w.edit().ClearBoardClick();
        w.edit().EditPositionClick(false);
        w.solve().StepSolveLine(1);
        QCOMPARE(w.shown(), first);
        w.solve().StepSolveLine(0);
        QCOMPARE(w.controller().shownBoard().stoneCount(), 0);
    }
};

}  // namespace vorek

QTEST_MAIN(vorek::SolveLineTest)
#include "test_solve_line.moc"
