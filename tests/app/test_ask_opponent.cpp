// Asking an AI program for a move from the window: the files it gets, the
// circle for its answer and the one message for each failure.
#include <signal.h>

#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/board_image.h"
#include "picture/board_png.h"
#include "app/opponent_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

const QRgb RED = qRgb(255, 0, 0);

// Answers the input box with a fixed text and records every message.
class ScriptedDialogs final : public OpponentDialogs {
public:
    ScriptedDialogs(QString commandLine, QStringList& messages, int& asked)
        : commandLine_(std::move(commandLine)), messages_(messages), asked_(asked) {}
    QString askCommandLine(QWidget*) override {
        ++asked_;
        return commandLine_;
    }
    void showMessage(QWidget*, const QString& text) override { messages_ << text; }

private:
    QString commandLine_;
    QStringList& messages_;
    int& asked_;
};

// A window whose AI command runs the given command line.
struct AiWindow : WindowFixture {
    QStringList messages;
    int asked = 0;

    explicit AiWindow(const QString& commandLine, const std::string& board = testing::openingBoard())
        : WindowFixture(board) {
        form->setOpponentDialogs(std::make_unique<ScriptedDialogs>(commandLine, messages, asked));
    }

    // A shell script in the working directory, made executable.
    void script(const char* name, const std::string& body) {
        dir().write(name, "#!/bin/sh\n" + body + "\n");
        std::filesystem::permissions(dir() / name, std::filesystem::perms::owner_all);
    }

    QImage plainBoard() const { return renderBoard(form->CurrentNode->ensureBoard()); }
};

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

// True once /proc no longer lists the process: it ended and was reaped.
bool reapedWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (!std::filesystem::exists("/proc/" + std::to_string(pid))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
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
        StatNode* shown = w.form->CurrentNode;
        const int items = w.root()->childCount();
        w.keyClick(Qt::Key_3);

        QCOMPARE(w.asked, 1);
        QVERIFY(w.messages.isEmpty());
        QCOMPARE(w.dir().read("seen-time"), std::string("3\r\n2147483647\r\n"));
        QCOMPARE(w.dir().read("seen-move"), std::string("o"));
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');  // the child's move
        const Difference d = difference(w.plainBoard(), w.form->ImgBoard->image());
        QCOMPARE(d.area, QRect(QPoint(201, 181), QPoint(219, 199)));
        QVERIFY(d.allRed);
        QCOMPARE(w.form->ImgBoard->image().pixel(201, 190), RED);
        QCOMPARE(w.form->ImgBoard->image().pixel(210, 190), qRgb(255, 255, 255));  // the stone under it

        QCOMPARE(w.form->CurrentNode, shown);
        QCOMPARE(w.root()->childCount(), items);
        w.keyClick(Qt::Key_Up);  // selecting redraws the board without the circle
        QCOMPARE(w.form->ImgBoard->image(), w.plainBoard());
    }

    void answerInTheTopLeftCell() {
        AiWindow w(QStringLiteral("./answer.sh"));
        w.script("answer.sh", "echo ' 0 ; 0' > tah.dat");
        w.form->AskOpponentMove(1);
        const Difference d = difference(w.plainBoard(), w.form->ImgBoard->image());
        QCOMPARE(d.area, QRect(QPoint(1, 1), QPoint(19, 19)));
        QVERIFY(d.allRed);
        QCOMPARE(w.form->ImgBoard->image().pixel(1, 10), RED);
        QCOMPARE(w.form->ImgBoard->image().pixel(10, 1), RED);
    }

    void answersOffTheBoardOrUnreadableDrawNothingAndSayNothing() {
        for (const char* answer : {"21,5", "-1,3", "20,0", "5,20", "x", ""}) {
            AiWindow w(QStringLiteral("./answer.sh"));
            w.script("answer.sh", std::string("printf '%s' '") + answer + "' > tah.dat");
            w.form->AskOpponentMove(1);
            QVERIFY2(w.form->ImgBoard->image() == w.plainBoard(), answer);
            QVERIFY2(w.messages.isEmpty(), answer);
        }
    }

    void eachFailureShowsExactlyItsOwnMessageOnce() {
        struct Case {
            const char* commandLine;
            const char* body;
            const char* message;
        };
        const Case cases[] = {
            {"./ai.sh", "exit 3", "AI Error"},
            {"./ai.sh", "kill -SEGV $$", "AI Error"},
            {"./ai.sh", "exit 255", "File not found"},
            {"./no-such-ai", "exit 0", "File not found"},
            {"", "exit 0", "File not found"},
        };
        for (const Case& c : cases) {
            AiWindow w(QLatin1String(c.commandLine));
            w.script("ai.sh", c.body);
            w.form->AskOpponentMove(1);
            QCOMPARE(w.messages, QStringList{QLatin1String(c.message)});
            QCOMPARE(w.form->ImgBoard->image(), w.plainBoard());
        }
    }

    void lateAiTimesOutAndIsReapedWhenItEnds() {
        AiWindow w(QStringLiteral("./slow.sh"));
        w.script("slow.sh", "echo $$ > pid\nexec sleep 2");
        const auto start = std::chrono::steady_clock::now();
        w.keyClick(Qt::Key_1);
        const auto waited = std::chrono::steady_clock::now() - start;
        QCOMPARE(w.messages, QStringList{QStringLiteral("Timeout")});
        QVERIFY(waited >= std::chrono::milliseconds(1100));
        const pid_t pid = std::stoi(w.dir().read("pid"));
        QVERIFY(::kill(pid, 0) == 0);  // left running
        QVERIFY(reapedWithin(pid, std::chrono::seconds(5)));
    }

    void cancelledBoxStillWritesTheThreeFiles() {
        AiWindow w{QString()};  // a cancelled box gives the empty text
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        std::filesystem::remove(w.dir() / "timeouts.dat");
        w.dir().write("plocha.dat", "");
        w.dir().write("tah.dat", "");
        w.keyClick(Qt::Key_9);
        QCOMPARE(w.messages, QStringList{QStringLiteral("File not found")});
        QCOMPARE(w.dir().read("timeouts.dat"), std::string("9\r\n2147483647\r\n"));
        QCOMPARE(w.dir().read("tah.dat"), std::string("o"));
        QCOMPARE(w.dir().read("plocha.dat").size(), std::size_t{440});
        QCOMPARE(w.dir().read("plocha.dat")[10 * 22 + 8], 'x');
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
        QCOMPARE(w.form->selectedItem(), w.root());

        QTreeWidgetItem* first = w.root()->child(0);
        w.select(first);
        w.keyClick(Qt::Key_1);
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');  // the first child's move
        QCOMPARE(w.form->selectedItem(), first);

        QTest::keyPress(w.form->Tree, Qt::Key_1);
        w.keyClick(Qt::Key_Down);
        QTest::keyRelease(w.form->Tree, Qt::Key_1);
        QCOMPARE(w.dir().read("seen-board")[10 * 22 + 8], 'x');
        QCOMPARE(w.form->selectedItem(), first);
        QCOMPARE(w.form->CurrentNode, w.node(first));
        QCOMPARE(w.asked, 3);
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
            w.script("ai.sh", "exit 0");
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, c.key, c.modifiers, c.scanCode, 0, 0,
                                QString::fromUtf8(c.text));
                QCoreApplication::sendEvent(w.form->Tree, &event);
            }
            QVERIFY2(w.asked == (c.digit > 0 ? 1 : 0), c.layout);
            const std::string timeouts =
                c.digit > 0 ? std::to_string(c.digit) + "\r\n2147483647\r\n" : "";
            QVERIFY2(w.dir().read("timeouts.dat") == timeouts, c.layout);
        }
    }

    void keypadDigitsAndZeroDoNotAsk() {
        AiWindow w(QStringLiteral("./ai.sh"));
        QTest::keyClick(w.form->Tree, Qt::Key_5, Qt::KeypadModifier);
        w.keyClick(Qt::Key_0);
        QCOMPARE(w.asked, 0);
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
        QVERIFY(w.messages.isEmpty());
        QCOMPARE(w.dir().read("tah.dat"), std::string("13,10"));
        const Difference d = difference(w.plainBoard(), w.form->ImgBoard->image());
        QCOMPARE(d.area, QRect(QPoint(261, 201), QPoint(279, 219)));
        QVERIFY(d.allRed);
#endif
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

        QString typed;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            label = box->labelText();
            typed = box->textValue();
            box->setTextValue(QStringLiteral("vorek-ai --fast"));
            box->reject();
        });
        QCOMPARE(dialogs.askCommandLine(nullptr), QString());  // cancelled
        QCOMPARE(title, QStringLiteral("Opponent"));
        QCOMPARE(label, QStringLiteral("Input AI filename using protocol via files"));
        QVERIFY(typed.isEmpty());

        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->setTextValue(QStringLiteral("vorek-ai --fast"));
            box->accept();
        });
        QCOMPARE(dialogs.askCommandLine(nullptr), QStringLiteral("vorek-ai --fast"));
    }
};

}  // namespace vorek

QTEST_MAIN(vorek::AskOpponentTest)
#include "test_ask_opponent.moc"
