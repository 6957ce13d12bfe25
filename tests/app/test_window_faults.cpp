// The window when its files go wrong: a working directory it may not write,
// and AI programs that delete the position files, fill "tah.dat" with 10 MB
// of garbage, leave links to files elsewhere, or would write it after their
// time is up. The window reports nothing
// it should not, leaves no half-written file and goes on.
#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <string_view>
#include <thread>

#include "app/board_view/board_image.h"
#include "picture/board_png.h"
#include "files/position_files.h"
#include "search/tree_check.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"
#include "tests/process_check.h"

namespace vorek {

using testing::DialogRecord;
using testing::ScriptedDialogs;
using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* READ_ONLY_CHILD = "--read-only-window";
constexpr uid_t NOBODY = 65534;
constexpr int CHILD_CANNOT_START = 125;
constexpr unsigned CHILD_SECONDS = 60;
constexpr std::size_t TEN_MEGABYTES = 10u << 20;

// A window whose AI command runs the given command line.
struct AiWindow : WindowFixture {
    DialogRecord dialogs;

    explicit AiWindow(const QString& commandLine) {
        ask().setOpponentDialogs(std::make_unique<ScriptedDialogs>(commandLine, dialogs));
    }

    void script(const char* name, const std::string& body) {
        dir().write(name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(dir() / name, fs::perms::owner_all);
    }

    // The window's picture of the position shown, without an AI's answer.
    QImage plainBoard() const {
        return renderBoard(controller().shownBoard(), view().pictureOptions(), PICTURE_SIZE, NumberStyle::FONT);
    }

    // The window still grows the tree and shows what is selected.
    void checkItGoesOn() {
        select(root());
        keyClick(Qt::Key_Right);
        QVERIFY(root()->childCount() > 0);
        keyClick(Qt::Key_Down);
        QCOMPARE(currentNode(), node(root()->child(0)));
        QCOMPARE(QString::fromStdString(checkTree(*node(root()))), QString());
    }
};

// Every name in the folder with the bytes and the time of each file.
struct FolderState {
    std::map<std::string, std::string> bytes;
    std::map<std::string, fs::file_time_type> times;
    bool operator==(const FolderState&) const = default;
};

FolderState stateOf(const testing::TempDir& dir) {
    FolderState state;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        state.bytes[name] = dir.read(name);
        state.times[name] = entry.last_write_time();
    }
    return state;
}

// Runs this program again as the unprivileged user, in the folder, to open the
// window there; returns its exit code (128 + the signal when it was killed).
int runReadOnlyWindow(const fs::path& folder) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::alarm(CHILD_SECONDS);  // a hang fails the test instead of stalling it
        const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setgid(NOBODY) == 0 && ::setuid(NOBODY) == 0);
        if (!dropped || ::chdir(folder.c_str()) != 0 || ::access(self.c_str(), X_OK) != 0)
            ::_exit(CHILD_CANNOT_START);
        ::execl(self.c_str(), self.c_str(), READ_ONLY_CHILD, static_cast<char*>(nullptr));
        ::_exit(CHILD_CANNOT_START);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

// Run by the child process, as a user who may read the working directory but
// not write into it or any file in it.
class ReadOnlyWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyWriteFailsQuietlyAndTheWindowGoesOn() {
        DialogRecord dialogs;
        auto form = std::make_unique<TForm1>();
        WindowFeatures& window = form->features();
        window.ask().setOpponentDialogs(std::make_unique<ScriptedDialogs>(QStringLiteral("./ai.sh"), dialogs));
        form->show();
        QVERIFY(window.controller().rootBoard()->stoneCount() > 0);  // reading works

        window.tree().ExpandSelectedNode();
        QTreeWidgetItem* root = window.tree().rootItem();
        window.tree().view().setCurrentItem(root->child(0));
        window.tree().ShowSelectedNode();
        window.folder().FileOutput1Click();
        window.ask().AskOpponentMove(1);  // no file written; the AI answers nothing
        QCOMPARE(dialogs.asked, 1);
        QVERIFY(dialogs.messages.isEmpty());

        window.tree().view().setCurrentItem(root);
        window.solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!window.solve().solving(), 20000);
        QCOMPARE(window.controller().currentNode()->move, 246);
        form.reset();  // the write-back fails too
    }
};

class WindowFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void readOnlyWorkingDirectoryKeepsEveryFileWhole() {
        const testing::TempDir dir;
        for (const char* name : {"plocha.dat", "tah.dat"})
            fs::copy_file(fs::path(VOREK_EXAMPLES_DIR) / "middlegame" / name, dir / name);
        dir.write("ai.sh", "#!/bin/sh\nprintf '3,4' > tah.dat\nprintf x > new.dat\nexit 0\n");
        constexpr fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        constexpr fs::perms runnable = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        for (const char* name : {"plocha.dat", "tah.dat"}) fs::permissions(dir / name, readable);
        fs::permissions(dir / "ai.sh", readable | runnable);
        fs::permissions(dir.path(), readable | runnable);
        const FolderState before = stateOf(dir);

        const int exitCode = runReadOnlyWindow(dir.path());
        if (exitCode == CHILD_CANNOT_START) QSKIP("the unprivileged user cannot run this test program");
        QCOMPARE(exitCode, 0);
        QVERIFY(stateOf(dir) == before);
    }

    // What an AI deletes is back as soon as the ask is over.
    void aiThatDeletesThePositionFiles() {
        AiWindow w(QStringLiteral("./ai.sh"));
        w.script("ai.sh", "rm -f plocha.dat tah.dat timeouts.dat");
        const std::string start = w.dir().read("plocha.dat");
        const int stones = w.rootBoard()->stoneCount();
        w.keyClick(Qt::Key_1);
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.image(), w.plainBoard());
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));

        w.action("FileInput1")->trigger();
        QCOMPARE(w.rootBoard()->stoneCount(), stones);
        w.checkItGoesOn();
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
    }

    void aiThatWritesTenMegabytesOfGarbage() {
        // Digits overflow every integer; blanks must be skipped to the end.
        for (const char* filler : {"7", " "}) {
            AiWindow w(QStringLiteral("./ai.sh"));
            w.script("ai.sh", std::string("head -c ") + std::to_string(TEN_MEGABYTES) +
                                  " /dev/zero | tr '\\0' '" + filler + "' > tah.dat");
            const std::string start = w.dir().read("plocha.dat");
            w.keyClick(Qt::Key_2);
            QCOMPARE(w.dir().read("tah.dat"), std::string("x"));  // put back after the ask
            QVERIFY(w.dialogs.messages.isEmpty());
            QCOMPARE(w.image(), w.plainBoard());

            w.action("FileInput1")->trigger();
            w.checkItGoesOn();
            w.close();
            QCOMPARE(w.dir().read("plocha.dat"), start);
            QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
            QCOMPARE(w.dir().listing(), std::string("ai.sh plocha.dat tah.dat "));
        }
    }

    // Links an AI leaves at the protocol names lead out of the folder: the
    // put-back after each ask puts regular files back in their place without
    // writing through them, and so does closing.
    void linksAnAiLeavesAreNeverWrittenThrough() {
        const testing::TempDir outside;
        outside.write("victim", "kept");
        AiWindow w(QStringLiteral("./ai.sh"));
        w.script("ai.sh", "for f in plocha.dat tah.dat; do rm -f $f; ln -s '" + (outside / "victim").string() +
                              "' $f; done");
        const std::string start = w.dir().read("plocha.dat");
        for (int ask = 0; ask < 2; ++ask) {
            w.keyClick(Qt::Key_1);
            QCOMPARE(outside.read("victim"), std::string("kept"));
            for (const char* name : {"plocha.dat", "tah.dat"})
                QVERIFY(fs::is_regular_file(fs::symlink_status(w.dir() / name)));
            QCOMPARE(w.dir().read("plocha.dat"), start);
            QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
        }
        w.action("FileOutput1")->trigger();
        QCOMPARE(outside.read("victim"), std::string("kept"));
        QCOMPARE(w.dir().read("plocha.dat"), boardFileBytes(w.controller().shownBoard()));
        w.close();
        QCOMPARE(outside.read("victim"), std::string("kept"));
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
    }

    // A link the folder held when the window came to it is the user's way of
    // keeping the file elsewhere: "File Output" writes the file it points to,
    // and closing gives that file its bytes back.
    void linkTheUserKeptIsWrittenThroughAndPutBack() {
        const testing::TempDir outside;
        WindowFixture w;
        w.close();
        outside.write("board", w.dir().read("plocha.dat"));
        fs::remove(w.dir() / "plocha.dat");
        fs::create_symlink(outside / "board", w.dir() / "plocha.dat");
        w.form = std::make_unique<TForm1>();
        const std::string start = outside.read("board");
        w.select(w.root());
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);  // another position than the one found

        w.action("FileOutput1")->trigger();
        QVERIFY(fs::is_symlink(w.dir() / "plocha.dat"));
        QCOMPARE(outside.read("board"), boardFileBytes(w.controller().shownBoard()));
        QVERIFY(outside.read("board") != start);
        w.close();
        QVERIFY(fs::is_symlink(w.dir() / "plocha.dat"));
        QCOMPARE(outside.read("board"), start);
    }

    // An AI still running at its limit is ended with what it started, so
    // that it cannot write into the files afterwards.
    void aiThatWouldWriteAfterItsTimeout() {
        AiWindow w(QStringLiteral("./late.sh"));
        w.script("late.sh", "echo $$ > pid\nsleep 1.4\n{ printf 1; sleep 1; printf 0,9; } > tah.dat");
        const std::string start = w.dir().read("plocha.dat");
        const auto asked = Clock::now();
        w.keyClick(Qt::Key_1);
        QVERIFY(Clock::now() - asked < std::chrono::milliseconds(2000));  // not held up by its ending
        QCOMPARE(w.dialogs.messages, QStringList{QStringLiteral("Timeout: \"./late.sh\" gave no move within 1100 ms.")});
        QVERIFY(!testing::isRunning(std::stoi(w.dir().read("pid"))));
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));  // put back, the AI ended first
        w.checkItGoesOn();

        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past the write it would have made
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
        QCOMPARE(w.dir().listing(), std::string("late.sh pid plocha.dat tah.dat "));
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The commands asked go to settings of the test's own, never the user's.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("vorek-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_window_faults"));
    if (argc == 2 && std::string_view(argv[1]) == vorek::READ_ONLY_CHILD) {
        vorek::ReadOnlyWindowTest child;
        return QTest::qExec(&child, 1, argv);
    }
    vorek::WindowFaultsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_faults.moc"
