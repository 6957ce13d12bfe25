// Position folders: visual-vorek's command line, "File" > "Open Folder..."
// and "Open Recent", "Quit", and the folder in which the window reads, writes
// and runs AI programs.
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/board_image.h"
#include "app/folder_dialogs.h"
#include "app/folder_menu.h"
#include "app/path_label.h"
#include "app/recent_folders.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::TempDir;
using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;

QString textOf(const fs::path& path) { return QString::fromStdString(path.string()); }

std::string exampleFile(const char* name) {
    std::ifstream in(fs::path(VOREK_EXAMPLES_DIR) / "middlegame" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder holding a position of `stones` stones in a row, player 1 to move,
// and an AI script that keeps what it was given and answers 3,4.
void fillFolder(const TempDir& dir, int stones) {
    dir.write("plocha.dat", testing::boardFile({"", "", std::string(stones, 'o')}));
    dir.write("tah.dat", "x");
    dir.write("ai.sh", "#!/bin/sh\ncp plocha.dat seen-board\nprintf 3,4 > tah.dat\n");
    fs::permissions(dir / "ai.sh", fs::perms::owner_all);
}

// The folder dialog answers a fixed text; every error is recorded.
struct FolderDialogRecord {
    QString answer;
    QStringList errors;
    int asked = 0;
};

class ScriptedFolderDialogs final : public FolderDialogs {
public:
    explicit ScriptedFolderDialogs(FolderDialogRecord& record) : record_(record) {}
    QString chooseFolder(QWidget*, const QString&) override {
        ++record_.asked;
        return record_.answer;
    }
    void showError(QWidget*, const QString& message) override { record_.errors << message; }

private:
    FolderDialogRecord& record_;
};

// A window in a scratch working directory whose folder and AI dialogs are scripted.
struct FolderWindow : WindowFixture {
    FolderDialogRecord folders;
    testing::DialogRecord opponent;

    FolderWindow() {
        QSettings().clear();
        form->FileMenu->showRecent();
        form->setFolderDialogs(std::make_unique<ScriptedFolderDialogs>(folders));
        form->setOpponentDialogs(
            std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), opponent));
    }

    void open(const fs::path& folder) {
        folders.answer = textOf(folder);
        form->FileMenu->OpenFolder1->trigger();
    }
    QStringList recentMenu() const {
        QStringList texts;
        for (const QAction* action : form->FileMenu->OpenRecent1->actions()) texts << action->text();
        return texts;
    }
};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// visual-vorek with the arguments, with no display named in its environment.
Run runWithoutDisplay(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VISUAL_VOREK_BINARY), arguments);
    if (!process.waitForFinished(20000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace

class OpenFolderTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineIsAnsweredWithoutADisplay() {
        const TempDir folder;
        folder.write("a-file", "");
        const QString usage = runWithoutDisplay({QStringLiteral("--help")}).out;
        QVERIFY(usage.startsWith(QLatin1String("usage: visual-vorek [FOLDER]\n")));
        const QString dir = textOf(folder.path());
        struct Case {
            QStringList arguments;
            int exitCode;
            QString out;
            QString err;
        };
        const Case cases[] = {
            {{"--help"}, 0, usage, ""},
            {{dir, "--help", "--bogus"}, 0, usage, ""},
            {{"--version"}, 0, "visual-vorek " VOREK_VERSION "\n", ""},
            {{dir}, 1, "", "visual-vorek: no display to open the window on (DISPLAY and "
                           "WAYLAND_DISPLAY are not set)\n"},
            {{dir + "/missing"}, 2, "",
             "visual-vorek: cannot open the folder \"" + dir + "/missing\": it does not exist\n"},
            {{dir + "/a-file"}, 2, "",
             "visual-vorek: cannot open the folder \"" + dir + "/a-file\": it is not a folder\n"},
            {{"--", "--help"}, 2, "",
             "visual-vorek: cannot open the folder \"--help\": it does not exist\n"},
            {{"--bogus"}, 2, "", "visual-vorek: unknown option --bogus\n" + usage},
            {{dir, dir}, 2, "",
             "visual-vorek: takes one FOLDER, got a second: " + dir + "\n" + usage},
        };
        for (const Case& c : cases) {
            const Run run = runWithoutDisplay(c.arguments);
            const QByteArray name = c.arguments.join(QLatin1Char(' ')).toLocal8Bit();
            QVERIFY2(run.exitCode == c.exitCode, name);
            QVERIFY2(run.out == c.out, name);
            QVERIFY2(run.err == c.err, name);
        }
    }

    // Started on a folder given relative to another working directory, the
    // window gives the AI its files in that folder and leaves the working
    // directory alone.
    void windowWorksInItsFolderNotTheWorkingDirectory() {
        testing::ScratchWorkingDirectory elsewhere;
        const TempDir folder;
        fillFolder(folder, 3);
        const std::string board = folder.read("plocha.dat");
        const fs::path relative = fs::relative(folder.path(), elsewhere.dir().path());
        QVERIFY(relative.is_relative());

        TForm1 form(relative);
        testing::DialogRecord dialogs;
        form.setOpponentDialogs(
            std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), dialogs));
        QCOMPARE(form.folder(), folder.path());
        QCOMPARE(form.FolderPath->path(), textOf(folder.path()));
        QCOMPARE(form.RootBoard->stoneCount, 3);
        form.AskOpponentMove(2);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(folder.read("seen-board"), board);
        QCOMPARE(folder.read("tah.dat"), std::string("3,4"));
        QCOMPARE(folder.read("timeouts.dat"), std::string("2\r\n2147483647\r\n"));
        QCOMPARE(elsewhere.dir().listing(), std::string());
    }

    void openFolderPutsBackTheOldFilesAndReadsTheNewFolder() {
        FolderWindow w;
        const std::string start = w.dir().read("plocha.dat");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        w.form->FileOutput1->trigger();
        const TempDir next;
        fillFolder(next, 2);

        w.open(next.path());
        QCOMPARE(w.folders.asked, 1);
        QVERIFY(w.folders.errors.isEmpty());
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
        QCOMPARE(w.form->folder(), next.path());
        QCOMPARE(w.form->FolderPath->path(), textOf(next.path()));
        QCOMPARE(w.form->Tree->topLevelItemCount(), 1);
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.form->CurrentNode, w.node(w.root()));
        QCOMPARE(w.form->RootBoard->stoneCount, 2);
        QCOMPARE(w.form->StartBoard->stoneCount, 2);
        QCOMPARE(w.recentMenu(), QStringList{textOf(next.path())});

        w.keyClick(Qt::Key_5);  // asks in the new folder
        QCOMPARE(next.read("tah.dat"), std::string("3,4"));
        QVERIFY(!w.dir().exists("timeouts.dat"));

        // Back by "Open Recent": the folder the window wrote gets its files back.
        RecentFolders::add(textOf(w.dir().path()));
        w.form->FileMenu->showRecent();
        w.form->FileMenu->OpenRecent1->actions().at(1)->trigger();
        QCOMPARE(w.form->folder(), next.path());  // the second entry: the same folder again
        QCOMPARE(next.read("tah.dat"), std::string("x"));
        w.form->FileMenu->OpenRecent1->actions().at(1)->trigger();
        QCOMPARE(w.form->folder(), w.dir().path());
        QCOMPARE(w.form->RootBoard->stoneCount, 4);
        QCOMPARE(w.recentMenu(), (QStringList{textOf(w.dir().path()), textOf(next.path())}));
    }

    void unusableFolderGetsAMessageAndTheWindowStays() {
        FolderWindow w;
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        w.form->FileOutput1->trigger();
        const std::string written = w.dir().read("plocha.dat");
        const StatNode* shown = w.form->CurrentNode;
        const TempDir other;
        other.write("a-file", "");
        fs::create_directory(other / "closed");
        fs::permissions(other / "closed", fs::perms::none);
        const QString dir = textOf(other.path());
        struct Case {
            fs::path folder;
            QString error;
        };
        std::vector<Case> cases = {
            {other / "missing", "Cannot open the folder \"" + dir + "/missing\": it does not exist"},
            {other / "a-file", "Cannot open the folder \"" + dir + "/a-file\": it is not a folder"},
        };
        if (::geteuid() != 0)  // the superuser may enter any folder
            cases.push_back({other / "closed",
                             "Cannot open the folder \"" + dir + "/closed\": Permission denied"});
        for (const Case& c : cases) {
            w.folders.errors.clear();
            w.open(c.folder);
            QCOMPARE(w.folders.errors, QStringList{c.error});
        }
        w.open({});  // a cancelled dialog
        QCOMPARE(w.folders.errors.size(), 1);
        QCOMPARE(w.form->folder(), w.dir().path());
        QCOMPARE(w.form->CurrentNode, shown);
        QCOMPARE(w.dir().read("plocha.dat"), written);
        QVERIFY(w.recentMenu().isEmpty());
        QVERIFY(!w.form->FileMenu->OpenRecent1->isEnabled());
    }

    void openingWaitsForARunningSolve() {
        FolderWindow w;
        w.dir().write("plocha.dat", exampleFile("plocha.dat"));
        w.dir().write("tah.dat", exampleFile("tah.dat"));
        w.form->FileInput1->trigger();
        const TempDir next;
        fillFolder(next, 2);
        RecentFolders::add(textOf(next.path()));

        w.form->SolveSelectedNode();
        QVERIFY(w.form->solving());
        QVERIFY(!w.form->FileMenu->OpenFolder1->isEnabled());
        QVERIFY(!w.form->FileMenu->OpenRecent1->isEnabled());
        w.form->OpenFolderClick();
        QVERIFY(!w.form->OpenFolder(next.path()));
        QCOMPARE(w.folders.asked, 0);
        QCOMPARE(w.form->folder(), w.dir().path());

        QTRY_VERIFY_WITH_TIMEOUT(!w.form->solving(), 20000);
        QVERIFY(w.form->FileMenu->OpenFolder1->isEnabled());
        QVERIFY(w.form->FileMenu->OpenRecent1->isEnabled());
        QVERIFY(w.form->OpenFolder(next.path()));
    }

    void recentFoldersKeepTheLastEightMostRecentFirst() {
        QSettings().clear();
        for (int i = 0; i < 10; ++i) RecentFolders::add(QStringLiteral("/f%1").arg(i));
        RecentFolders::add(QStringLiteral("/f5"));
        RecentFolders::add(QStringLiteral("/R&D"));
        QCOMPARE(RecentFolders::folders(),
                 (QStringList{"/R&D", "/f5", "/f9", "/f8", "/f7", "/f6", "/f4", "/f3"}));

        FolderWindow w;
        RecentFolders::add(QStringLiteral("/R&D"));
        w.form->FileMenu->showRecent();
        QCOMPARE(w.recentMenu(), QStringList{QStringLiteral("/R&&D")});
    }

    void quitClosesTheWindowAndPutsBackItsFiles() {
        FolderWindow w;
        const std::string start = w.dir().read("plocha.dat");
        w.form->FileOutput1->trigger();
        w.dir().write("plocha.dat", "changed");
        QVERIFY(w.form->isVisible());
        w.form->FileMenu->Quit1->trigger();
        QVERIFY(!w.form->isVisible());
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The recent folders go to settings of the test's own, never the user's.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("vorek-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_open_folder"));
    vorek::OpenFolderTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_open_folder.moc"
