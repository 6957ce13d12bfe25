// "Engine" > "Analyse" with small script engines: the best moves on the
// board in the colour of the side to move, their line under the pointer, the
// panel, a new think for each position shown and for each mode that allows
// it, a mate claim checked by threats, the settings kept, and engines that
// die, stall, flood or write nonsense; and the real engine where it is.
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPainter>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "app/analysis/analysis_commands.h"
#include "app/analysis/analysis_panel.h"
#include "app/analysis/analysis_text.h"
#include "app/game/eval_graph.h"
#include "app/game/game_page.h"
#include "files/game_record.h"
#include "app/recent_list.h"
#include "tests/app/board_text.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/window_fixture.h"
#include "tests/process_check.h"
#include "tests/real_engine.h"
#include "tests/script_engine.h"

namespace vorek {

using testing::WindowFixture;

namespace {

// Thinks until told to stop. Each think reports two lines whose moves tell
// which think it is (n = 1, 2, ...: the moves n,1 and 2,n), then its move.
constexpr const char* STREAMING =
    "    YXNBEST*) n=$(grep -c '^YXNBEST' received);"
    " printf 'INFO PV 0\\nINFO NUMPV 2\\nINFO DEPTH 7\\nINFO SELDEPTH 12\\nINFO NODES 1500\\nINFO EVAL 120\\n"
    "INFO WINRATE 0.625\\nINFO BESTLINE %s,1 %s,2 %s,3\\nINFO PV DONE\\n"
    "INFO PV 1\\nINFO NUMPV 2\\nINFO DEPTH 7\\nINFO EVAL -40\\nINFO WINRATE 0.45\\nINFO BESTLINE 2,%s 3,%s\\n"
    "INFO PV DONE\\nMESSAGE thinking hard\\n' $n $n $n $n $n ;;\n"
    "    YXSTOP*) echo 1,1 ;;";

// Nothing of the stream: its move at once.
constexpr const char* PLAIN = "    YXNBEST*) echo 4,4 ;;\n    BEGIN*|BOARD*) ;;";

struct AnalysisWindow : WindowFixture {
    using WindowFixture::WindowFixture;

    AnalysisCommands& analysis() const { return features().analysis(); }
    AnalysisPanel& panel() const { return widgets().analysisPanel; }
    const BoardMarks& marks() const { return boardImage()->marks(); }

    // The script engine chosen, then F5.
    void analyse(const std::string& cases, int milliseconds = 0, int lines = 2) {
        testing::writeScriptEngine(dir(), cases);
        choose(QString::fromStdString((dir() / "engine").string()), milliseconds, lines);
        action("Analyse1")->trigger();
    }
    void choose(const QString& program, int milliseconds, int lines) {
        analysis().setSettings({.commandLine = program, .milliseconds = milliseconds, .lines = lines});
    }

    int received(const std::string& start) const {
        const std::string all = dir().read("received");
        int count = 0;
        for (std::size_t at = 0; (at = all.find('\n' + start, at)) != std::string::npos; ++at) ++count;
        return count + (all.rfind(start, 0) == 0 ? 1 : 0);
    }
    std::vector<pid_t> running() const { return testing::runningOf(dir().read("pids")); }
    int started() const {
        const std::string pids = dir().read("pids");
        return static_cast<int>(std::count(pids.begin(), pids.end(), '\n'));
    }
    bool moverBlack() const { return view().playsBlack(controller().shownBoard().sideToMove()); }
    int firstBadge() const { return marks().badges.empty() ? -1 : marks().badges.front().square; }
};

// Chooses the answer of "Engine Settings..." and counts its questions.
class ScriptedEngineDialogs final : public EngineDialogs {
public:
    ScriptedEngineDialogs(std::optional<AnalysisSettings> answer, int& asked)
        : answer_(std::move(answer)), asked_(asked) {}
    std::optional<AnalysisSettings> chooseEngine(QWidget*, const AnalysisSettings&, const QStringList&) override {
        ++asked_;
        return answer_;
    }

private:
    std::optional<AnalysisSettings> answer_;
    int& asked_;
};

// The marks painted over a yellow picture of the picture's own size.
QImage paintedMarks(const BoardMarks& marks) {
    QImage image(PICTURE_SIZE, PICTURE_SIZE, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QPainter painter(&image);
    paintBoardMarks(painter, marks);
    return image;
}

// How many pixels of the cell at column, row are of each colour: near
// black, near white (the yellow under it all but gone), of the best move's
// blue ring, or unchanged yellow.
struct CellColours {
    int black = 0;
    int white = 0;
    int blue = 0;
    int yellow = 0;
};
CellColours coloursOf(const QImage& image, int column, int row) {
    CellColours colours;
    for (int y = row * 20 + 1; y < row * 20 + 20; ++y)
        for (int x = column * 20 + 1; x < column * 20 + 20; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 100) ++colours.blue;
            else if (c.lightness() < 60) ++colours.black;
            else if (c.blue() >= 200) ++colours.white;  // the yellow under it all but gone
            else if (c.rgb() == QColor(Qt::yellow).rgb()) ++colours.yellow;
        }
    return colours;
}

// x to move with an open three on row 5: x wins by threats.
std::string openThreeBoard() {
    return testing::boardFile({"", "", "", "", "", "     xxx", "", "", "", "", "          o", "", "", "", "",
                               "   o      o"});
}

}  // namespace

class EngineAnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // The lines in the panel and on the board, in the colour of the side to
    // move; the line of the move under the pointer as numbered ghost stones,
    // the mover's first; a new think for each position selected; F5 ends
    // the engine and takes the marks off.
    void bestMovesFollowThePositionShown() {
        AnalysisWindow w;
        w.analyse(STREAMING);
        QVERIFY(w.analysis().analysing());
        QVERIFY(w.action("Analyse1")->isChecked());
        QTRY_COMPARE(w.panel().rows(), 2);
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::MOVE_COLUMN), QStringLiteral("1,1"));
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::EVAL_COLUMN), QStringLiteral("120"));
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::WINRATE_COLUMN), QStringLiteral("62.5%"));
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::DEPTH_COLUMN), QStringLiteral("7-12"));
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::LINE_COLUMN), QStringLiteral("1,1 1,2 1,3"));
        QCOMPARE(w.panel().rowText(1, AnalysisPanel::LINE_COLUMN), QStringLiteral("2,1 3,1"));
        QVERIFY2(w.panel().stateText().startsWith(QStringLiteral("Thinking: depth 7-12, 1.5k nodes")),
                 qPrintable(w.panel().stateText()));
        QCOMPARE(w.panel().messageText(), QStringLiteral("thinking hard"));
        QCOMPARE(w.received("YXNBEST 2"), 1);
        QCOMPARE(w.received("INFO SHOW_DETAIL 3"), 1);

        const bool black = w.moverBlack();
        const std::vector<MoveBadge> badges{{squareAt(1, 1), QStringLiteral("63"), black, true},
                                            {squareAt(2, 1), QStringLiteral("45"), black, false}};
        QCOMPARE(w.marks().badges, badges);
        QVERIFY(w.marks().ghosts.empty());
        w.mouseOverBoard(1 * 20 + 10, 1 * 20 + 10);
        const std::vector<GhostStone> ghosts{
            {squareAt(1, 1), 1, black}, {squareAt(1, 2), 2, !black}, {squareAt(1, 3), 3, black}};
        QCOMPARE(w.marks().ghosts, ghosts);
        emit w.boardImage()->pointerLeft();
        QVERIFY(w.marks().ghosts.empty());
        emit w.panel().lineHovered(1);  // the pointer over the second row
        const std::vector<GhostStone> second{{squareAt(2, 1), 1, black}, {squareAt(3, 1), 2, !black}};
        QCOMPARE(w.marks().ghosts, second);
        emit w.panel().lineHovered(-1);
        QVERIFY(w.marks().ghosts.empty());

        // A child: the other side to move, the engine's second think.
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        QTRY_COMPARE(w.firstBadge(), squareAt(2, 1));
        QCOMPARE(w.marks().badges.front().black, !black);
        QCOMPARE(w.received("YXSTOP"), 1);  // the first think, stopped
        QCOMPARE(w.started(), 1);           // one engine for both

        // The same position again is no new think.
        w.view().show();
        QTest::qWait(2 * ANALYSIS_LOOK_MS);
        QCOMPARE(w.received("YXNBEST"), 2);

        // An AI being asked has the machine: the think stops, and begins
        // again on the same position once the ask is over.
        w.controller().begin(WindowMode::ASKING);
        w.features().applyMode();
        QCOMPARE(w.panel().stateText(), QStringLiteral("Waiting while an AI program is asked"));
        QTRY_COMPARE(w.received("YXSTOP"), 2);
        w.controller().end();
        w.features().applyMode();
        QTRY_COMPARE(w.received("YXNBEST"), 3);
        QTRY_COMPARE(w.firstBadge(), squareAt(3, 1));

        QCOMPARE(w.running().size(), std::size_t{1});
        QApplication::setActiveWindow(w.form.get());
        QTest::keyClick(w.form.get(), Qt::Key_F5);
        QVERIFY(!w.analysis().analysing());
        QVERIFY(!w.action("Analyse1")->isChecked());
        QVERIFY(w.marks().empty());
        QTRY_VERIFY(w.running().empty());
        QCOMPARE(w.panel().rows(), 2);  // the last think stays to be read
    }

    // An engine that streams nothing shows its move; the think's time is
    // the engine's; an edited position is thought about, and an ask stops
    // the think until it is over.
    void modesAndAnEngineWithoutStream() {
        AnalysisWindow w;
        w.analyse(PLAIN, 300, 1);
        QTRY_COMPARE(w.panel().rows(), 1);
        QCOMPARE(w.panel().rowText(0, AnalysisPanel::MOVE_COLUMN), QStringLiteral("4,4"));
        QCOMPARE(w.marks().badges, (std::vector<MoveBadge>{{squareAt(4, 4), QString(), w.moverBlack(), true}}));
        QTRY_VERIFY(w.panel().stateText().startsWith(QStringLiteral("Done")));
        QCOMPARE(w.received("INFO timeout_turn 300"), 1);

        // Editing: each stone put is a new position.
        w.action("EditPosition1")->trigger();
        QVERIFY(w.editing());
        QVERIFY(w.action("Analyse1")->isEnabled());
        w.clickBoard(3, 3);
        QTRY_COMPARE(w.received("YXNBEST"), 2);
        w.clickBoard(5, 3, Qt::RightButton);
        QTRY_COMPARE(w.received("YXNBEST"), 3);
        w.action("EditPosition1")->trigger();

        // After an ask, a think that is done is not made again.
        QTRY_VERIFY(w.panel().stateText().startsWith(QStringLiteral("Done")));
        const int thinks = w.received("YXNBEST");
        w.controller().begin(WindowMode::ASKING);
        w.features().applyMode();
        QVERIFY(w.action("Analyse1")->isEnabled());  // to stop it
        QVERIFY(!w.action("EngineSettings1")->isEnabled());
        w.controller().end();
        w.features().applyMode();
        QTest::qWait(2 * ANALYSIS_LOOK_MS);
        QCOMPARE(w.received("YXNBEST"), thinks);

        QApplication::setActiveWindow(w.form.get());
        QTest::keyClick(w.form.get(), Qt::Key_Escape);
        QVERIFY(!w.analysis().analysing());
        QTRY_VERIFY(w.running().empty());
    }

    // A claim of a mate for the side to move is checked by threats: proved
    // where there is a win by threats, not confirmed where there is none.
    void mateClaimsAreChecked() {
        const std::string claiming =
            "    YXNBEST*) printf 'INFO PV 0\\nINFO EVAL +M3\\nINFO BESTLINE 4,5 3,5\\nINFO PV DONE\\n' ;;\n"
            "    YXSTOP*) echo 4,5 ;;";
        {
            AnalysisWindow w(openThreeBoard());
            w.analyse(claiming);
            QTRY_VERIFY(w.analysis().mateCheck().has_value());
            QVERIFY2(w.panel().mateCheckText().startsWith(QStringLiteral("M3: proved by threats")),
                     qPrintable(w.panel().mateCheckText()));
            QCOMPARE(w.marks().badges.front().text, QStringLiteral("M3"));
        }
        {
            AnalysisWindow w;
            w.analyse(claiming);
            QTRY_VERIFY(w.analysis().mateCheck().has_value());
            QVERIFY2(w.panel().mateCheckText().startsWith(QStringLiteral("M3: not confirmed")),
                     qPrintable(w.panel().mateCheckText()));
        }
    }

    // An engine that dies is said in the status bar and started again on
    // the next position; one that will not stop is ended as stalled; a flood
    // of lines with nonsense among them shows the last word.
    void enginesThatDieStallOrFlood() {
        {
            AnalysisWindow w;
            w.analyse("    YXNBEST*) exit 3 ;;");
            QTRY_VERIFY2(w.status().contains(QStringLiteral("starts again on the next position")),
                         qPrintable(w.status()));
            QVERIFY(w.analysis().analysing());
            w.keyClick(Qt::Key_Right);
            w.keyClick(Qt::Key_Down);
            QTRY_COMPARE(w.started(), 2);
        }
        {
            AnalysisWindow w;
            w.analyse("    YXNBEST*) ;;");  // thinks for ever, deaf to YXSTOP and STOP
            QTRY_COMPARE(w.received("YXNBEST"), 1);
            w.keyClick(Qt::Key_Right);
            w.keyClick(Qt::Key_Down);  // the engine is told to stop, is ended, and a new one thinks
            QTRY_VERIFY2(w.status().contains(QStringLiteral("the engine was started again")), qPrintable(w.status()));
            QCOMPARE(w.started(), 2);
            QCOMPARE(w.received("YXNBEST"), 2);
            QTRY_COMPARE(w.running().size(), std::size_t{1});
        }
        {
            AnalysisWindow w;
            w.analyse("    YXNBEST*) echo 99,99 ;;", 200);  // off the board
            const QString fault = QStringLiteral("the answer 99,99 is off the board");
            QTRY_VERIFY2(w.status().endsWith(QStringLiteral("no move from the engine: ") + fault), qPrintable(w.status()));
            QCOMPARE(w.panel().stateText(), QStringLiteral("No move: ") + fault);
            QVERIFY(w.marks().empty());
        }
        {
            AnalysisWindow w;
            w.analyse("    YXNBEST*) printf 'INFO PV 0\\nINFO EVAL banana\\nINFO BESTLINE 30,30 zz\\nINFO PV DONE\\n"
                      "\\001\\377\\n'; head -c 100000 /dev/zero | tr '\\0' x; echo;"
                      " seq 1 20000 | awk '{print \"INFO PV 0\"; print \"INFO DEPTH \" $1;"
                      " print \"INFO BESTLINE 1,1 1,2\"; print \"INFO PV DONE\"}'; printf 'MESSAGE a\\tb\\033c\\n' ;;\n"
                      "    YXSTOP*) echo 1,1 ;;");
            int ticks = 0;
            QTimer tick;
            QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
            tick.start(10);
            QTRY_COMPARE_WITH_TIMEOUT(w.panel().messageText(), QStringLiteral("a b c"), 10000);
            QCOMPARE(w.panel().rowText(0, AnalysisPanel::DEPTH_COLUMN), QStringLiteral("20000"));
            QCOMPARE(w.firstBadge(), squareAt(1, 1));
            QVERIFY(ticks > 0);  // the window went on meanwhile
        }
    }

    // "Engine Settings...": asked for at the first F5, kept for the next
    // run and in the recent command lines; nothing chosen, nothing runs.
    void settingsAreAskedAndKept() {
        {
            AnalysisWindow w;
            int asked = 0;
            w.analysis().setDialogs(std::make_unique<ScriptedEngineDialogs>(std::nullopt, asked));
            w.action("Analyse1")->trigger();
            QCOMPARE(asked, 1);
            QVERIFY(!w.analysis().analysing());
            QVERIFY(!w.action("Analyse1")->isChecked());

            testing::writeScriptEngine(w.dir(), PLAIN);
            const QString program = QString::fromStdString((w.dir() / "engine").string());
            w.analysis().setDialogs(std::make_unique<ScriptedEngineDialogs>(
                AnalysisSettings{.commandLine = program, .milliseconds = 2500, .lines = 4}, asked));
            w.action("Analyse1")->trigger();
            QCOMPARE(asked, 2);
            QVERIFY(w.analysis().analysing());
            QTRY_COMPARE(w.received("YXNBEST 4"), 1);
            QCOMPARE(recentEntries(RECENT_COMMANDS_KEY), QStringList{program});
        }
        const AnalysisSettings kept = AnalysisSettings::load();
        QVERIFY(kept.commandLine.endsWith(QStringLiteral("/engine")));
        QCOMPARE(kept.milliseconds, 2500);
        QCOMPARE(kept.lines, 4);

        // Stored nonsense gives the defaults.
        QSettings().setValue(QStringLiteral("analysis/milliseconds"), -5);
        QSettings().setValue(QStringLiteral("analysis/lines"), QStringLiteral("many"));
        const AnalysisSettings defaults = AnalysisSettings::load();
        QCOMPARE(defaults.milliseconds, 0);
        QCOMPARE(defaults.lines, 3);

        // A program that cannot be started.
        AnalysisWindow w;
        w.choose(QString::fromStdString((w.dir() / "no-such-engine").string()), 0, 1);
        w.action("Analyse1")->trigger();
        QVERIFY2(w.status().endsWith(QStringLiteral("no-such-engine\" could not be started")), qPrintable(w.status()));
        QVERIFY(!w.analysis().analysing());
        QVERIFY(!w.action("Analyse1")->isChecked());
    }

    // The dialog offers the program chosen first, then those asked last;
    // "infinite" is no time limit.
    void engineDialogGivesTheSettings() {
        QStringList offered;
        QTimer::singleShot(0, [&offered] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            auto* program = dialog->findChild<QComboBox*>(QStringLiteral("EngineProgram"));
            for (int i = 0; i < program->count(); ++i) offered << program->itemText(i);
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("EngineSeconds"))->setValue(0);
            dialog->findChild<QSpinBox*>(QStringLiteral("EngineLines"))->setValue(5);
            program->setCurrentText(QStringLiteral("  pbrain-x --fast "));
            dialog->accept();
        });
        QtEngineDialogs dialogs;
        const std::optional<AnalysisSettings> chosen =
            dialogs.chooseEngine(nullptr, {.commandLine = QStringLiteral("b"), .milliseconds = 1500, .lines = 2},
                                 {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QCOMPARE(offered, (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->commandLine, QStringLiteral("pbrain-x --fast"));
        QCOMPARE(chosen->milliseconds, 0);
        QCOMPARE(chosen->lines, 5);
        QCOMPARE(AnalysisSettings{}.thinkMilliseconds(), INT_MAX);
    }

    // A badge is filled in the mover's colour and written in the other, so
    // that it reads on either; the best is ringed; a ghost stone hides the
    // badge of its square and leaves the board seen through it.
    void marksReadOnEitherColour() {
        const QImage image = paintedMarks({.badges = {{squareAt(2, 2), QStringLiteral("M7"), true, true},
                                                      {squareAt(5, 2), QStringLiteral("63"), false, false},
                                                      {squareAt(8, 2), QStringLiteral("99"), true, false}},
                                           .ghosts = {{squareAt(8, 2), 1, false}}});
        const CellColours best = coloursOf(image, 2, 2);
        QVERIFY(best.black > 50);  // the fill
        QVERIFY(best.white > 10);  // the text
        QVERIFY(best.blue > 20);   // the ring
        const CellColours other = coloursOf(image, 5, 2);
        QVERIFY(other.white > 60);
        QVERIFY(other.black > 10);
        QCOMPARE(other.blue, 0);
        // The ghost, white and see-through, numbered in black: no black fill.
        const CellColours ghost = coloursOf(image, 8, 2);
        QVERIFY(ghost.black > 0 && ghost.black < 30);
        QCOMPARE(ghost.white, 0);
        QCOMPARE(coloursOf(image, 11, 2).yellow, 19 * 19);  // nothing elsewhere
        QCOMPARE(coloursOf(paintedMarks({}), 2, 2).yellow, 19 * 19);
    }

    // What a badge and the panel say of numbers the engines give.
    void analysisWords() {
        QCOMPARE(badgeWords(Evaluation{.mate = true, .value = 7}, 0.99), QStringLiteral("M7"));
        QCOMPARE(badgeWords(Evaluation{.mate = true, .value = -4}, std::nullopt), QStringLiteral("-M4"));
        QCOMPARE(badgeWords(Evaluation{.mate = false, .value = 150}, 0.714), QStringLiteral("71"));
        QCOMPARE(badgeWords(Evaluation{.mate = false, .value = -999}, std::nullopt), QStringLiteral("-999"));
        QCOMPARE(badgeWords(Evaluation{.mate = false, .value = 1234}, std::nullopt), QStringLiteral("1.2k"));
        QCOMPARE(badgeWords(Evaluation{.mate = false, .value = -25000}, std::nullopt), QStringLiteral("-25k"));
        QCOMPARE(badgeWords(std::nullopt, std::nullopt), QString());
        QCOMPARE(countWords(999), QStringLiteral("999"));
        QCOMPARE(countWords(12345), QStringLiteral("12k"));
        QCOMPARE(countWords(4'560'000), QStringLiteral("4.6M"));
        QCOMPARE(winrateWords(1), QStringLiteral("100.0%"));
        SearchLine line;
        line.depth = 8;
        line.selDepth = 7;  // an engine's selective depth may stop short of its depth
        QCOMPARE(depthWords(line), QStringLiteral("8"));
        line.selDepth = 16;
        QCOMPARE(depthWords(line), QStringLiteral("8-16"));
        QCOMPARE(shownText("a\tb\x01" "c", 300), QStringLiteral("a b c"));
        QCOMPARE(shownText(std::string(10, 'x'), 4), QStringLiteral("xxxx..."));
    }

    // "Analyse Game" with an engine chosen: each position's view, for x,
    // in the graph under the list and in the row's tool tip; a click on the
    // graph selects the position.
    void gameAnalysisDrawsTheEngineGraph() {
        AnalysisWindow w;
        // Its n-th think: the evaluation 10 n for the side to move, the move 0,0.
        testing::writeScriptEngine(w.dir(), "    YXNBEST*) n=$(grep -c '^YXNBEST' received);"
                                            " printf 'INFO PV 0\\nINFO EVAL %s0\\nINFO PV DONE\\n0,0\\n' $n ;;");
        w.choose(QString::fromStdString((w.dir() / "engine").string()), 50, 1);
        w.dir().write("short.psq", "Piskvorky 20x20, 10:10, 0\r\n10,10,100\r\n11,11,100\r\n10,11,100\r\n"
                                   "11,12,100\r\n10,12,100\r\n9,9,100\r\n");
        QVERIFY(w.game().OpenGame(w.dir() / "short.psq"));
        w.action("AnalyseGame1")->trigger();
        w.game().waitForAnalysis();
        QVERIFY(!w.game().analysing());
        QCOMPARE(w.received("INFO timeout_turn 50"), 1);

        // Seven positions, x to move in the even ones; the scale the least one.
        GamePage& page = w.game().page();
        std::vector<std::optional<double>> values;
        for (int k = 0; k < 7; ++k) values.push_back((k % 2 == 0 ? 10.0 : -10.0) * (k + 1) / EVAL_SCALE_LEAST);
        QCOMPARE(page.Graph->values(), values);
        QVERIFY(page.Graph->isVisible());
        const QString tip = page.GameList->topLevelItem(3)->toolTip(GamePage::ANALYSIS_COLUMN);
        QVERIFY2(tip.endsWith(QStringLiteral("The engine, for o to move: 40, best 0,0")), qPrintable(tip));

        QTest::mouseClick(page.Graph, Qt::LeftButton, {},
                          QPoint(static_cast<int>(page.Graph->xOf(3)), page.Graph->height() / 2));
        QCOMPARE(w.game().game()->selected(), 3);
        QCOMPARE(page.selectedPosition(), 3);
        QCOMPARE(testing::showText(w.controller().shownBoard()),
                 testing::showText(*positionAfter(w.game().game()->lineRecord(), 3)));
        // A new game has no graph.
        w.action("NewGame1")->trigger();
        QVERIFY(!page.Graph->isVisible());
    }

    // The graph's scale: win rates where every view has one, else
    // evaluations over the largest, mates at the ends; always for x.
    void graphValuesAreForX() {
        const auto view = [](std::optional<Evaluation> eval, std::optional<double> winrate) {
            return std::optional(EngineView{.eval = eval, .winrate = winrate, .best = 0});
        };
        const std::vector<bool> xToMove{true, false, true, false};
        bool byWinrate = false;
        QCOMPARE(graphValues({view(Evaluation{.mate = false, .value = 5}, 0.75), view(std::nullopt, 0.75), std::nullopt,
                              view(std::nullopt, std::nullopt)},
                             xToMove, &byWinrate),
                 (std::vector<std::optional<double>>{0.5, -0.5, std::nullopt, std::nullopt}));
        QVERIFY(byWinrate);
        QCOMPARE(graphValues({view(Evaluation{.mate = false, .value = 400}, 0.9),
                              view(Evaluation{.mate = false, .value = 200}, std::nullopt),
                              view(Evaluation{.mate = true, .value = -3}, std::nullopt),
                              view(Evaluation{.mate = true, .value = 5}, std::nullopt)},
                             xToMove, &byWinrate),
                 (std::vector<std::optional<double>>{1.0, -0.5, -1.0, -1.0}));
        QVERIFY(!byWinrate);
        QCOMPARE(graphValues({view(Evaluation{.mate = false, .value = 50}, std::nullopt)}, {true}),
                 (std::vector<std::optional<double>>{50.0 / EVAL_SCALE_LEAST}));
    }

    // The real engine draws its best moves and follows the selection.
    void realEngineFollowsTheSelection() {
        const std::optional<std::filesystem::path> engine = testing::realEngine();
        if (!engine) QSKIP("the real engine is not there");
        AnalysisWindow w;
        w.choose(QString::fromStdString(engine->string()), 0, 2);
        w.action("Analyse1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w.marks().badges.empty(), 10000);
        QVERIFY(w.controller().shownBoard().isEmpty(w.firstBadge()));
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        QVERIFY(w.marks().badges.empty());  // nothing of the last position
        QTRY_VERIFY_WITH_TIMEOUT(!w.marks().badges.empty(), 10000);
        QVERIFY(w.controller().shownBoard().isEmpty(w.firstBadge()));
        QCOMPARE(w.marks().badges.front().black, w.moverBlack());
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::EngineAnalysisTest>(argc, argv, "test_engine_analysis");
}
#include "test_engine_analysis.moc"
