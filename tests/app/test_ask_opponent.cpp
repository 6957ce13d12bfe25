// Asking an AI program for a move from the window, through either protocol:
// the files or lines it gets, the circle for its answer, the one message for
// each failure, the exchange on the "Log" page, and the window while it waits.
#include <signal.h>
#include <sys/stat.h>

#include <QInputDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/board_view/board_image.h"
#include "picture/board_png.h"
#include "app/ask/engine_words.h"
#include "app/ask/opponent_dialogs.h"
#include "app/game/ai_player.h"
#include "app/game/game_tree.h"
#include "files/game_record.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/window_fixture.h"
#include "tests/process_check.h"

namespace vorek {

using testing::WindowFixture;

namespace {

const QRgb RED = qRgb(255, 0, 0);

// A window whose AI command runs the given command line.
struct AiWindow : WindowFixture {
    testing::DialogRecord dialogs;

    explicit AiWindow(const QString& commandLine, const std::string& board = testing::openingBoard())
        : WindowFixture(board) {
        ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(commandLine, dialogs));
    }

    // A shell script in the working directory, made executable.
    void script(const char* name, const std::string& body) {
        dir().write(name, "#!/bin/sh\n" + body + "\n");
        std::filesystem::permissions(dir() / name, std::filesystem::perms::owner_all);
    }

    // The window's picture of the position shown, without an AI's answer.
    QImage plainBoard() const {
        return renderBoard(controller().shownBoard(), view().pictureOptions(), PICTURE_SIZE, NumberStyle::FONT);
    }

    // The "Log" page's lines without their times, each checked to begin
    // with one.
    QStringList exchange() const {
        static const QRegularExpression time(QStringLiteral("^[0-9]+ ms "));
        QStringList lines = (&widgets().memo)->toPlainText().split(QLatin1Char('\n'));
        for (QString& line : lines) {
            if (!time.match(line).hasMatch()) return {QStringLiteral("no time: ") + line};
            line.remove(time);
        }
        return lines;
    }
};

// Pixels of the circle drawn for the cell at column, row.
QRect circleOf(int column, int row) {
    return QRect(QPoint(column * 20 + 1, row * 20 + 1), QPoint(column * 20 + 19, row * 20 + 19));
}

// The pixels where two images differ, as a bounding rectangle, and whether all
// of them are red in the second.
struct Difference {
    QRect area;
    bool allRed = true;
};
Difference difference(const QImage& plain, const QImage& marked) {
    Difference d;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != marked.pixel(x, y)) {
                d.area |= QRect(x, y, 1, 1);
                d.allRed = d.allRed && marked.pixel(x, y) == RED;
            }
    return d;
}

}  // namespace

class AskOpponentTest : public QObject {
    Q_OBJECT

private slots:
    void answerIsCircledAndTheFilesWereWrittenForTheAi() {
        AiWindow w(QStringLiteral("./answer.sh 10 9"));
        // The AI keeps copies of what it was given, then answers its arguments.
        w.script("answer.sh",
                 "cp plocha.dat seen-board; cp tah.dat seen-move; cp timeouts.dat seen-time\n"
                 "printf '%s,%s' \"$1\" \"$2\" > tah.dat");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);  // a child: player 0 to move
        StatNode* shown = w.currentNode();
        const int items = w.root()->childCount();
        w.keyClick(Qt::Key_3);

        QCOMPARE(w.dialogs.asked, 1);
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.dir().read("seen-time"), std::string("3\r\n2147483647\r\n"));
        QCOMPARE(w.dir().read("seen-move"), std::string("o"));
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');  // the child's move
        const Difference d = difference(w.plainBoard(), w.image());
        QCOMPARE(d.area, QRect(QPoint(201, 181), QPoint(219, 199)));
        QVERIFY(d.allRed);
        QCOMPARE(w.image().pixel(201, 190), RED);
        QCOMPARE(w.image().pixel(210, 190), qRgb(255, 255, 255));  // the stone under it

        QCOMPARE(w.currentNode(), shown);
        QCOMPARE(w.root()->childCount(), items);
        w.keyClick(Qt::Key_Up);  // selecting redraws the board without the circle
        QCOMPARE(w.image(), w.plainBoard());
    }

    void answerInTheTopLeftCell() {
        AiWindow w(QStringLiteral("./answer.sh"));
        w.script("answer.sh", "echo ' 0 ; 0' > tah.dat");
        w.ask().AskOpponentMove(1);
        const Difference d = difference(w.plainBoard(), w.image());
        QCOMPARE(d.area, QRect(QPoint(1, 1), QPoint(19, 19)));
        QVERIFY(d.allRed);
        QCOMPARE(w.image().pixel(1, 10), RED);
        QCOMPARE(w.image().pixel(10, 1), RED);
    }

    void answersOffTheBoardOrUnreadableDrawNothingAndSayNothing() {
        for (const char* answer : {"21,5", "-1,3", "20,0", "5,20", "x", ""}) {
            AiWindow w(QStringLiteral("./answer.sh"));
            w.script("answer.sh", std::string("printf '%s' '") + answer + "' > tah.dat");
            w.ask().AskOpponentMove(1);
            QVERIFY2(w.image() == w.plainBoard(), answer);
            QVERIFY2(w.dialogs.messages.isEmpty(), answer);
        }
    }

    // The failure's word first, then the program named.
    void eachFailureShowsExactlyItsOwnMessageOnce() {
        struct Case {
            const char* commandLine;
            const char* body;
            const char* message;
        };
        const Case cases[] = {
            {"./ai.sh", "exit 3", "AI Error: \"./ai.sh\" failed; the \"Log\" page shows the exchange."},
            {"./ai.sh", "kill -SEGV $$", "AI Error: \"./ai.sh\" failed; the \"Log\" page shows the exchange."},
            {"./ai.sh", "exit 255", "AI Error: \"./ai.sh\" failed; the \"Log\" page shows the exchange."},
            {"./no-such-ai --fast", "exit 0", "File not found: \"./no-such-ai --fast\" could not be run."},
        };
        for (const Case& c : cases) {
            AiWindow w(QLatin1String(c.commandLine));
            w.script("ai.sh", c.body);
            w.ask().AskOpponentMove(1);
            QCOMPARE(w.dialogs.messages, QStringList{QLatin1String(c.message)});
            QCOMPARE(w.image(), w.plainBoard());
        }
    }

    void lateAiTimesOutAndIsEndedWithWhatItStarted() {
        AiWindow w(QStringLiteral("./slow.sh"));
        w.script("slow.sh", "echo $$ > pid\nsleep 30 &\necho $! >> pid\nexec sleep 30");
        const auto start = std::chrono::steady_clock::now();
        w.keyClick(Qt::Key_1);
        const auto waited = std::chrono::steady_clock::now() - start;
        QCOMPARE(w.dialogs.messages, QStringList{QStringLiteral("Timeout: \"./slow.sh\" gave no move within 1100 ms.")});
        QVERIFY(waited >= std::chrono::milliseconds(1100));
        QVERIFY(waited < std::chrono::milliseconds(2000));  // SIGTERM ends it at once
        QCOMPARE(testing::runningOf(w.dir().read("pid")), std::vector<pid_t>{});
    }

    // A protocol file that could not be put back afterwards keeps the AI
    // from being run at all, and the message names it.
    void protocolFileThatIsNoFileIsNamedAndTheAiIsNotRun() {
        AiWindow w(QStringLiteral("./ai.sh"));
        w.script("ai.sh", "echo run > ran");
        QCOMPARE(::mkfifo((w.dir() / "timeouts.dat").c_str(), 0600), 0);
        const std::string board = w.dir().read("plocha.dat");
        w.keyClick(Qt::Key_1);
        QCOMPARE(w.dialogs.messages, QStringList{"\"" + QString::fromStdString((w.dir() / "timeouts.dat").string()) +
                                         "\" is a named pipe; the program is not run, as the file could not be "
                                         "put back after it"});
        QVERIFY(!w.dir().exists("ran"));
        QVERIFY(std::filesystem::is_fifo(w.dir() / "timeouts.dat"));
        QCOMPARE(w.dir().read("plocha.dat"), board);
    }

    // Cancel, or OK on an empty line, names no program: no file is written
    // and nothing is said.
    void cancelledOrEmptyBoxDoesNothing() {
        for (const QString& answer : {QString(), QStringLiteral(""), QStringLiteral("  ")}) {
            AiWindow w{answer};
            w.keyClick(Qt::Key_Right);
            w.keyClick(Qt::Key_Down);
            const std::string files = w.dir().listing();
            w.keyClick(Qt::Key_9);
            QCOMPARE(w.dialogs.asked, 1);
            QVERIFY(w.dialogs.messages.isEmpty());
            QCOMPARE(w.dir().listing(), files);
            QCOMPARE(w.dir().read("plocha.dat"), testing::openingBoard());
            QVERIFY((&w.widgets().memo)->toPlainText().isEmpty());
            QCOMPARE(w.image(), w.plainBoard());
        }
    }

    // The box offers the last eight command lines, most recent first, and
    // the answer is said in the status bar.
    void theBoxOffersTheLastEightCommandsAndTheAnswerIsSaid() {
        AiWindow w(QStringLiteral("./answer.sh 10 9"));
        w.script("answer.sh", "printf '%s,%s' \"$1\" \"$2\" > tah.dat");
        QSettings().remove(QStringLiteral("ask/recentCommands"));
        for (int i = 0; i < 9; ++i) {
            w.ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(
                QStringLiteral("./answer.sh %1 9").arg(i), w.dialogs));
            w.ask().AskOpponentMove(1);
        }
        w.ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), w.dialogs));
        w.ask().AskOpponentMove(1);
        QStringList offered;
        for (int i = 8; i > 0; --i) offered << QStringLiteral("./answer.sh %1 9").arg(i);
        QCOMPARE(w.dialogs.offered, offered);
        QCOMPARE((&w.widgets().pagesStatus)->currentMessage(), QStringLiteral("AI move: 8,9"));
        w.keyClick(Qt::Key_Up);  // the mark goes with the next showing, and so does the word
        QVERIFY((&w.widgets().pagesStatus)->currentMessage().isEmpty());
    }

    // The AI gets the position of the node that was selected when the key
    // went down: neither the view's search for an item labelled "1..." nor
    // an arrow pressed meanwhile moves the question elsewhere.
    void digitAsksAboutTheNodeSelectedWhenTheKeyWentDown() {
        AiWindow w(QStringLiteral("./ai.sh"));
        w.script("ai.sh", "cp plocha.dat seen-board; cp tah.dat seen-move");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_1);  // every child is labelled "1/1"
        QCOMPARE(w.dir().read("seen-board"), testing::openingBoard());
        QCOMPARE(w.dir().read("seen-move"), std::string("x"));
        QCOMPARE(w.tree().selectedItem(), w.root());

        QTreeWidgetItem* first = w.root()->child(0);
        w.select(first);
        w.keyClick(Qt::Key_1);
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');  // the first child's move
        QCOMPARE(w.tree().selectedItem(), first);

        QTest::keyPress(w.treeView(), Qt::Key_1);
        w.keyClick(Qt::Key_Down);
        QTest::keyRelease(w.treeView(), Qt::Key_1);
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');
        QCOMPARE(w.tree().selectedItem(), first);
        QCOMPARE(w.currentNode(), w.node(first));
        QCOMPARE(w.dialogs.asked, 3);
    }

    // The top-row keys by their place (X keycodes 10..18), whatever the
    // layout and Shift make of them; the keypad never asks.
    void topRowKeysAskOnEveryLayout() {
        struct Case {
            const char* layout;
            int key;
            const char* text;
            Qt::KeyboardModifiers modifiers;
            quint32 scanCode;
            int digit;  // 0: no question
        };
        const Case cases[] = {
            {"fr, key 1", Qt::Key_Ampersand, "&", Qt::NoModifier, 10, 1},
            {"us, Shift+9", Qt::Key_ParenLeft, "(", Qt::ShiftModifier, 18, 9},
            {"keypad 1", Qt::Key_1, "1", Qt::KeypadModifier, 87, 0},
        };
        for (const Case& c : cases) {
            AiWindow w(QStringLiteral("./ai.sh"));
            w.script("ai.sh", "cp timeouts.dat seen-time");
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, c.key, c.modifiers, c.scanCode, 0, 0,
                                QString::fromUtf8(c.text));
                QCoreApplication::sendEvent(w.treeView(), &event);
            }
            QVERIFY2(w.dialogs.asked == (c.digit > 0 ? 1 : 0), c.layout);
            const std::string timeouts =
                c.digit > 0 ? std::to_string(c.digit) + "\r\n2147483647\r\n" : "";
            QVERIFY2(w.dir().read("seen-time") == timeouts, c.layout);
        }
    }

    // Escape stops an ask at once: no message, the status bar says so.
    void escapeStopsAnAsk() {
        AiWindow w(QStringLiteral("./slow.sh"));
        w.script("slow.sh", "exec sleep 30");
        QTimer::singleShot(300, w.form.get(), [&w] { QTest::keyClick(w.form.get(), Qt::Key_Escape); });
        const auto start = std::chrono::steady_clock::now();
        w.ask().AskOpponentMove(9);
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(3000));
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.status(), QStringLiteral("Stopped asking ./slow.sh"));
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
    }

    // An engine's evaluation and best line, from its MESSAGE lines, with the
    // line's squares as x,y: letters and numbers read so that the line starts
    // with its move, from the top or from the bottom.
    void engineWordsGiveTheEvaluationAndTheLineInTheWindowsSquares() {
        struct Case {
            QStringList messages;
            QPoint answer;
            const char* eval;
            QStringList line;
        };
        const Case cases[] = {
            {{"Speed 401K | Depth 9-11 | Eval +M15 | Node 4015 | Time 10ms", "Bestline G13 F14 J10"},
             {6, 12}, "+M15", {"6,12", "5,13", "9,9"}},
            {{"depth 7 ev -35 pv g8 f7"}, {6, 12}, "-35", {"6,12", "5,13"}},
            {{"score 12", "pv 3,4 5,6"}, {3, 4}, "12", {"3,4", "5,6"}},
            {{"bestline Z99 A1"}, {0, 0}, "", {"Z99", "A1"}},  // off the board: as written
            {{"thinking hard"}, {0, 0}, "", {}},
        };
        for (const Case& c : cases) {
            const EngineWords words = engineWords(c.messages, c.answer.x(), c.answer.y());
            QCOMPARE(words.eval, QLatin1String(c.eval));
            QCOMPARE(words.line, c.line);
        }
    }

    // "AI Plays o" with a program of the file protocol: after each click the
    // program's answer is played, with the time it took, and the saved
    // record holds both sides' moves.
    void anAiAnswersEachMoveOnTheBoard() {
        AiWindow w{QString()};
        w.script("ai.sh", "n=$(cat n 2>/dev/null || echo 0); echo $((n+1)) > n; printf '%s,0' $n > tah.dat");
        w.game().ai().setDialogs(
            std::make_unique<testing::ScriptedPlayerDialogs>(AiChoice{QStringLiteral("./ai.sh"), 1100}));
        w.action("NewGame1")->trigger();
        w.action("AiPlaysO1")->trigger();
        QVERIFY(w.game().ai().plays('o'));
        QVERIFY(w.action("AiPlaysO1")->isChecked());
        w.clickBoard(9, 9);
        QTRY_COMPARE(w.game().game()->length(), 2);
        w.clickBoard(9, 10);
        QTRY_COMPARE(w.game().game()->length(), 4);
        QVERIFY(w.dialogs.messages.isEmpty());
        const GameRecord record = w.game().game()->lineRecord();
        QCOMPARE(record.moves, (std::vector<int>{squareAt(9, 9), squareAt(0, 0), squareAt(9, 10), squareAt(1, 0)}));
        QVERIFY(w.status().startsWith(QStringLiteral("o played 1,0 in ")));
        QVERIFY(w.game().saveGameTo(w.dir() / "played.psq"));
        QCOMPARE(std::get<GameRecord>(readGameRecord(w.dir() / "played.psq")).moves, record.moves);
    }

    // A stdin/stdout engine is started once and given each position in
    // turn; one program may play both sides until it has no move to play.
    void anEngineKeepsRunningBetweenItsMovesAndMayPlayBothSides() {
        AiWindow w{QString()};
        // It answers the square on row 0 of the column that the number of
        // stones names, and, once six stones stand, a square that is taken.
        w.script("pbrain-counts", "echo $$ >> pids\nn=0\nwhile IFS= read -r line; do case \"$line\" in\n"
                                  "START*) echo OK;; YXBOARD*) n=0;; [0-9]*,[0-9]*,[12]*) n=$((n+1));;\n"
                                  "YXNBEST*) if [ $n -ge 6 ]; then echo 1,0; else echo \"MESSAGE eval +$n\"; "
                                  "echo \"$n,0\"; fi;;\nEND*) exit 0;; esac; done");
        w.action("NewGame1")->trigger();
        w.game().ai().setPlayer('o', AiChoice{QStringLiteral("./pbrain-counts"), 1000});
        w.clickBoard(9, 9);
        QTRY_COMPARE(w.game().game()->length(), 2);
        w.clickBoard(9, 10);
        QTRY_COMPARE(w.game().game()->length(), 4);
        QCOMPARE(w.game().game()->lineRecord().moves[3], squareAt(3, 0));
        QVERIFY2(w.status().endsWith(QStringLiteral(", eval +3")), qPrintable(w.status()));
        QCOMPARE(w.dir().read("pids").size(), w.dir().read("pids").find('\n') + 1);  // one engine, one pid

        w.game().ai().setPlayer('x', AiChoice{QStringLiteral("./pbrain-counts"), 1000});
        QTRY_COMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.game().game()->length(), 6);
        QVERIFY2(w.dialogs.messages.front().startsWith(QStringLiteral("AI Error: \"./pbrain-counts\"")),
                 qPrintable(w.dialogs.messages.front()));
        QVERIFY(!w.game().ai().plays('x') && !w.game().ai().plays('o'));
        w.close();  // waits for the engines' end
        for (const pid_t pid : testing::runningOf(w.dir().read("pids"))) QFAIL(qPrintable(QString::number(pid)));
    }

    void keypadDigitsAndZeroDoNotAsk() {
        AiWindow w(QStringLiteral("./ai.sh"));
        QTest::keyClick(w.treeView(), Qt::Key_5, Qt::KeypadModifier);
        w.keyClick(Qt::Key_0);
        QCOMPARE(w.dialogs.asked, 0);
        QVERIFY(!w.dir().exists("timeouts.dat"));
    }

    void bundledAiAnswersFromTheWindow() {
#ifndef VOREK_AI_PATH
        QSKIP("vorek-ai is not built");
#else
        // Player 1 ("x") to move completes five only on column 13, row 10.
        AiWindow w(QStringLiteral("'%1'").arg(QStringLiteral(VOREK_AI_PATH)),
                   testing::boardFile({"", "", "", "", "", "", "", "", "", "", "        oxxxx"}));
        w.keyClick(Qt::Key_2);
        QVERIFY(w.dialogs.messages.isEmpty());
        const Difference d = difference(w.plainBoard(), w.image());
        QCOMPARE(d.area, QRect(QPoint(261, 201), QPoint(279, 219)));
        QVERIFY(d.allRed);
#endif
    }

    void bundledEngineBlocksAnOpenFourAndCompletesItsFive() {
#ifndef VOREK_PBRAIN_PATH
        QSKIP("vorek-ai is not built");
#else
        struct Case {
            const char* name;
            std::string board;  // x to move
            QList<QPoint> moves;  // each is right
        };
        const Case cases[] = {
            {"open four of o", testing::boardFile({"", "", "", "            x", "", "", "", "", "", "      oooo", "",
                                                   "       x", "        x"}),
             {{5, 9}, {10, 9}}},
            {"fours of both: x completes its own",
             testing::boardFile({"", "", "", "", "", "       x", "       x", "       x", "       x", "      oooo"}),
             {{7, 4}}},
        };
        for (const Case& c : cases) {
            AiWindow w(QStringLiteral("'%1'").arg(QStringLiteral(VOREK_PBRAIN_PATH)), c.board);
            w.keyClick(Qt::Key_1);
            QVERIFY2(w.dialogs.messages.isEmpty(), c.name);
            const Difference d = difference(w.plainBoard(), w.image());
            QVERIFY2(d.allRed, c.name);
            const auto circled = std::find_if(c.moves.begin(), c.moves.end(),
                                              [&](QPoint m) { return d.area == circleOf(m.x(), m.y()); });
            QVERIFY2(circled != c.moves.end(), c.name);

            const QStringList log = w.exchange();
            const QString move = QStringLiteral("< %1,%2").arg(circled->x()).arg(circled->y());
            QVERIFY2(log.size() > 12 && log[0].startsWith(QStringLiteral("stdin/stdout protocol: ")), c.name);
            for (const QString& line : {QStringLiteral("> START 20"), QStringLiteral("< OK"),
                                        QStringLiteral("> INFO timeout_turn 1100"), QStringLiteral("> BOARD"),
                                        QStringLiteral("> DONE")})
                QVERIFY2(log.contains(line), qPrintable(line));
            QCOMPARE(log.mid(log.size() - 2), (QStringList{move, QStringLiteral("> END")}));

            // The engine wrote nothing here, and closing leaves the files as
            // they are now, not as they were found.
            QCOMPARE(w.dir().listing(), std::string("plocha.dat tah.dat "));
            w.dir().write("tah.dat", "o");
            w.close();
            QCOMPARE(w.dir().read("tah.dat"), std::string("o"));
        }
#endif
    }

    // Each failure of a stdin/stdout engine shows its message, and the Log
    // page shows why; an engine that ignores END is ended after the window
    // has gone on, and before the window is gone.
    void failingEnginesShowTheirMessageAndTheExchange() {
        struct Case {
            const char* commandLine;
            const char* body;
            const char* message;
            QStringList logTail;
        };
        const Case cases[] = {
            {"./pbrain-refuses", "read line; echo 'ERROR no tables'; read line",
             "AI Error: \"./pbrain-refuses\" failed; the \"Log\" page shows the exchange.",
             {"> START 20", "< ERROR no tables", "> END"}},
            {"./pbrain-silent", "echo $$ > pid; read line; echo OK; exec sleep 30",
             "Timeout: \"./pbrain-silent\" gave no move within 1100 ms.",
             {"> DONE", "no move within 2100 ms", "> END"}},
            {"./PBRAIN-missing", "", "File not found: \"./PBRAIN-missing\" could not be run.",
             {"the engine could not be started"}},
        };
        for (const Case& c : cases) {
            AiWindow w(QLatin1String(c.commandLine));
            if (*c.body != '\0') w.script(c.commandLine + 2, c.body);
            w.ask().AskOpponentMove(1);
            QCOMPARE(w.dialogs.messages, QStringList{QLatin1String(c.message)});
            QCOMPARE(w.image(), w.plainBoard());
            const QStringList log = w.exchange();
            QCOMPARE(log.front(), QStringLiteral("stdin/stdout protocol: ") + QLatin1String(c.commandLine));
            QCOMPARE(log.mid(log.size() - c.logTail.size()), c.logTail);
            if (!w.dir().exists("pid")) continue;
            const pid_t pid = std::stoi(w.dir().read("pid"));
            QVERIFY(::kill(pid, 0) == 0);  // given a second to take END
            w.close();  // waits for the engine's end
            QVERIFY(!std::filesystem::exists("/proc/" + std::to_string(pid)));
        }
    }

    // The file protocol's exchange; the page holds only the last ask.
    void logPageShowsTheLastFileProtocolAsk() {
        AiWindow w(QStringLiteral("./answer.sh"));
        w.script("answer.sh", "printf '3,4' > tah.dat");
        w.ask().AskOpponentMove(2);
        w.ask().AskOpponentMove(2);
        const QStringList log = w.exchange();
        QCOMPARE(log.size(), 25);  // the command, "tah.dat" and 20 board rows, "timeouts.dat", the end, the answer
        QCOMPARE(log[0], QStringLiteral("file protocol: ./answer.sh"));
        QCOMPARE(log[1], QStringLiteral("wrote \"tah.dat\": x, and \"plocha.dat\":"));
        QCOMPARE(log[12], QStringLiteral("  ---------xx---------"));
        QCOMPARE(log.mid(22), (QStringList{QStringLiteral("wrote \"timeouts.dat\": 2, 2147483647"),
                                          QStringLiteral("the program exited with code 0"),
                                          QStringLiteral("\"tah.dat\" holds \"3,4\": the move 3,4")}));
        QCOMPARE(difference(w.plainBoard(), w.image()).area, circleOf(3, 4));
    }

    // While an engine thinks, the window handles its events: the log grows,
    // the tree and the menus (with their shortcuts) rest, and a close waits
    // for the end of the ask.
    void windowGoesOnWhileTheEngineThinks() {
        // A path too long for the status bar.
        const std::string folder(120, 'f');
        AiWindow w(QString::fromStdString("./" + folder + "/pbrain-slow"));
        std::filesystem::create_directory(w.dir() / folder);
        w.script((folder + "/pbrain-slow").c_str(), "read line; echo OK; while read line; do case \"$line\" in "
                                                    "DONE*) sleep 1; echo 3,4;; END*) exit 0;; esac; done");
        // Looks at the window once the position has been sent, and closes it
        // when told to.
        struct Seen {
            bool treeEnabled = true, menusEnabled = true, solving = false, closed = true;
            QStringList log;
            QString status;
            WindowMode mode = WindowMode::IDLE;
        };
        const auto watch = [&w](Seen* seen, bool close) {
            auto* timer = new QTimer(w.form.get());
            QObject::connect(timer, &QTimer::timeout, [&w, seen, timer, close] {
                if (!w.exchange().contains(QStringLiteral("> DONE"))) return;
                timer->deleteLater();
                seen->treeEnabled = w.treeView()->isEnabled();
                seen->menusEnabled = w.form->menuBar()->isEnabled();
                seen->status = (&w.widgets().pagesStatus)->currentMessage();
                seen->mode = w.controller().mode();
                QTest::keyClick(w.form.get(), Qt::Key_S, Qt::ControlModifier);  // "Solve"
                seen->solving = w.solving();
                seen->log = w.exchange();
                if (close) seen->closed = w.form->close();
            });
            timer->start(20);
        };

        Seen seen;
        watch(&seen, false);
        w.keyClick(Qt::Key_3);
        QVERIFY(!seen.treeEnabled);
        QVERIFY(!seen.solving);
        QVERIFY(!seen.menusEnabled);
        QCOMPARE(seen.mode, WindowMode::ASKING);
        // The path loses its middle and the rest fits the bar.
        QVERIFY2(seen.status.startsWith(QStringLiteral("Asking ./ff")), qPrintable(seen.status));
        QVERIFY2(seen.status.endsWith(QStringLiteral("pbrain-slow for its move: 3300 ms")), qPrintable(seen.status));
        QVERIFY(seen.status.contains(QChar(0x2026)));
        QVERIFY((&w.widgets().pagesStatus)->fontMetrics().horizontalAdvance(seen.status) < (&w.widgets().pagesStatus)->width());
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
        QVERIFY(seen.log.contains(QStringLiteral("< OK")));
        QVERIFY(!seen.log.contains(QStringLiteral("< 3,4")));
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(difference(w.plainBoard(), w.image()).area, circleOf(3, 4));
        QVERIFY(w.treeView()->isEnabled());
        QVERIFY(w.form->menuBar()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w.treeView());

        Seen closing;
        watch(&closing, true);
        w.keyClick(Qt::Key_3);
        QVERIFY(!closing.closed);  // held back
        QVERIFY(!w.form->isVisible());
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void qtDialogsArePlain() {
        QtOpponentDialogs dialogs;
        QString title, label, text;
        bool noIcon = false, onlyOk = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            noIcon = box->icon() == QMessageBox::NoIcon;
            onlyOk = box->buttons().size() == 1 && box->standardButtons() == QMessageBox::Ok;
            box->accept();
        });
        dialogs.showMessage(nullptr, QStringLiteral("Timeout"));
        QCOMPARE(title, QStringLiteral("Visual Vorek"));
        QCOMPARE(text, QStringLiteral("Timeout"));
        QVERIFY(noIcon);
        QVERIFY(onlyOk);

        // An editable drop-down of the commands asked last, the last one in
        // its text, and a prompt that names both protocols.
        QString typed;
        QStringList items;
        bool editable = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            label = box->labelText();
            typed = box->textValue();
            items = box->comboBoxItems();
            editable = box->isComboBoxEditable();
            box->setTextValue(QStringLiteral("vorek-ai --fast"));
            box->reject();
        });
        const QStringList recent{QStringLiteral("pbrain-vorek"), QStringLiteral("vorek-ai")};
        QCOMPARE(dialogs.askCommandLine(nullptr, recent), std::nullopt);  // cancelled
        QCOMPARE(title, QStringLiteral("Opponent"));
        QVERIFY2(label.contains(QStringLiteral("stdin/stdout")) && label.contains(QStringLiteral("via files")),
                 qPrintable(label));
        QCOMPARE(typed, recent.front());
        QCOMPARE(items, recent);
        QVERIFY(editable);

        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->setTextValue(QStringLiteral("vorek-ai --fast"));
            box->accept();
        });
        QCOMPARE(dialogs.askCommandLine(nullptr, recent), std::optional(QStringLiteral("vorek-ai --fast")));
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::AskOpponentTest>(argc, argv, "test_ask_opponent");
}
#include "test_ask_opponent.moc"
