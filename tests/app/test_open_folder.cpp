// Position folders: visual-vorek's command line, "File" > "Open Folder..."
// and "Open Recent", and the folder in which the window reads, writes and
// runs AI programs.
#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <span>
#include <string_view>

#include "app/board_view/board_image.h"
#include "app/command_line.h"
#include "files/position_files.h"
#include "app/folder/folder_dialogs.h"
#include "app/folder/folder_menu.h"
#include "app/path_label.h"
#include "app/folder/recent_folders.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::TempDir;
using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;

QString textOf(const fs::path& path) { return QString::fromStdString(path.string()); }

// A position of `stones` stones in a row, and an AI script that keeps the
// board it was given and answers 3,4.
void fillFolder(const TempDir& dir, int stones) {
    dir.write("plocha.dat", testing::boardFile({"", "", std::string(stones, 'o')}));
    dir.write("tah.dat", "x");
    dir.write("ai.sh", "#!/bin/sh\ncp plocha.dat seen-board\ncp timeouts.dat seen-time\nprintf 3,4 > tah.dat\n");
    fs::permissions(dir / "ai.sh", fs::perms::owner_all);
}

// A window with no recent folders whose dialogs are scripted.
struct FolderWindow : WindowFixture {
    QString answer;
    QStringList errors;
    testing::DialogRecord opponent;

    FolderWindow() {
        QSettings().clear();
        widgets().fileMenu.showRecent();
        folder().setDialogs(std::make_unique<testing::ScriptedFolderDialogs>(answer, errors));
        ask().setOpponentDialogs(
            std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), opponent));
    }

    // "Open Folder..." answered with the folder.
    void open(const fs::path& folder) {
        answer = textOf(folder);
        action("OpenFolder1")->trigger();
    }
    QList<QAction*> recent() const { return widgets().fileMenu.OpenRecent1->actions(); }
};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// visual-vorek with the arguments and no display named in its environment.
Run runWithoutDisplay(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VISUAL_VOREK_BINARY), arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace

class OpenFolderTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineIsAnsweredWithoutADisplay() {
        const TempDir folder;
        folder.write("a-file", "");
        const QString dir = textOf(folder.path());
        const QString usage = runWithoutDisplay({QStringLiteral("--help")}).out;
        QVERIFY(usage.startsWith(QLatin1String("usage: visual-vorek [FOLDER | GAME.psq]\n")));
        const QString cannot = "visual-vorek: cannot open the folder \"" + dir;
        struct Case {
            QStringList arguments;
            int exitCode;
            QString out;
            QString err;
        };
        const Case cases[] = {
            {{"--version"}, 0, "visual-vorek " VOREK_VERSION "\n", ""},
            {{dir}, 1, "", "visual-vorek: no display to open the window on (DISPLAY and "
                           "WAYLAND_DISPLAY are not set)\n"},
            {{dir + "/missing"}, 2, "", cannot + "/missing\": it does not exist\n"},
            {{"/dev/null"}, 2, "", "visual-vorek: cannot open the folder \"/dev/null\": it is not a folder\n"},
            {{dir + "/a-file"}, 1, "", "visual-vorek: no display to open the window on (DISPLAY and "
                                       "WAYLAND_DISPLAY are not set)\n"},
            {{"--bogus"}, 2, "", "visual-vorek: unknown option --bogus\n" + usage},
            {{dir, dir}, 2, "", "visual-vorek: takes one FOLDER or GAME.psq, got a second: " + dir + "\n" + usage},
        };
        for (const Case& c : cases) {
            const Run run = runWithoutDisplay(c.arguments);
            const QByteArray name = c.arguments.join(QLatin1Char(' ')).toLocal8Bit();
            QVERIFY2(run.exitCode == c.exitCode, name);
            QVERIFY2(run.out == c.out, name);
            QVERIFY2(run.err == c.err, name);
        }
    }

    // A file is a game record, opened in its own folder, whose position
    // files the window then works on; a folder is a position folder.
    void aFileOnTheCommandLineIsAGameInItsFolder() {
        testing::ScratchWorkingDirectory here;
        const TempDir folder;
        folder.write("game.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n");
        here.dir().write("here.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n");
        struct Case {
            std::string argument;
            fs::path folder;
            fs::path game;
        };
        const Case cases[] = {
            {(folder / "game.psq").string(), folder.path(), folder / "game.psq"},
            {"here.psq", ".", "here.psq"},
            {folder.path().string(), folder.path(), {}},
        };
        for (const Case& c : cases) {
            const std::string_view argument = c.argument;
            const auto request = parseCommandLine(std::span(&argument, 1));
            const auto* open = std::get_if<OpenWindow>(&request);
            QVERIFY2(open != nullptr, c.argument.c_str());
            QCOMPARE(open->folder, c.folder);
            QCOMPARE(open->game, c.game);
        }
    }

    // Started on a folder named relative to another working directory, the
    // window gives the AI its files in that folder and leaves the working
    // directory alone.
    void windowWorksInItsFolderNotTheWorkingDirectory() {
        testing::ScratchWorkingDirectory elsewhere;
        const TempDir folder;
        fillFolder(folder, 3);
        const std::string board = folder.read("plocha.dat");

        TForm1 form(fs::relative(folder.path(), elsewhere.dir().path()));
        WindowFeatures& window = form.features();
        testing::DialogRecord dialogs;
        window.ask().setOpponentDialogs(
            std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), dialogs));
        QCOMPARE(window.folder().folder(), folder.path());
        QCOMPARE(window.widgets().folderPath.path(), textOf(folder.path()));
        QCOMPARE(window.controller().rootBoard()->stoneCount(), 3);
        window.ask().AskOpponentMove(2);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(folder.read("seen-board"), board);
        QCOMPARE(folder.read("seen-time"), std::string("2\r\n2147483647\r\n"));
        QCOMPARE(folder.read("tah.dat"), std::string("x"));  // put back after the ask
        QVERIFY(!folder.exists("timeouts.dat"));
        QCOMPARE(elsewhere.dir().listing(), std::string());
    }

    void openFolderPutsBackTheOldFilesAndReadsTheNewFolder() {
        FolderWindow w;
        const std::string start = w.dir().read("plocha.dat");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        w.action("FileOutput1")->trigger();
        const TempDir next;
        fillFolder(next, 2);

        w.open(next.path());
        QVERIFY(w.errors.isEmpty());
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
        QCOMPARE(w.folder().folder(), next.path());
        QCOMPARE((&w.widgets().folderPath)->path(), textOf(next.path()));
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.currentNode(), w.node(w.root()));
        QCOMPARE(w.rootBoard()->stoneCount(), 2);
        QCOMPARE(w.folder().startBoard()->stoneCount(), 2);
        w.keyClick(Qt::Key_5);
        QCOMPARE(next.read("seen-time"), std::string("5\r\n2147483647\r\n"));
        QVERIFY(!w.dir().exists("seen-time"));

        // "Open Recent" lists the newest first; going back puts back the
        // files the window wrote in the folder it leaves.
        RecentFolders::add(textOf(w.dir().path()));
        w.widgets().fileMenu.showRecent();
        QCOMPARE(w.recent().size(), 2);
        w.recent().at(0)->trigger();
        QCOMPARE(w.folder().folder(), w.dir().path());
        QCOMPARE(w.rootBoard()->stoneCount(), 4);
        QCOMPARE(next.read("tah.dat"), std::string("x"));
        QCOMPARE(w.recent().at(1)->text(), textOf(next.path()));
    }

    void unusableFolderGetsAMessageAndTheWindowStays() {
        FolderWindow w;
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        w.action("FileOutput1")->trigger();
        const std::string written = w.dir().read("plocha.dat");
        const StatNode* shown = w.currentNode();
        const TempDir other;
        other.write("a-file", "");

        w.open(other / "missing");
        w.open(other / "a-file");
        w.open({});  // a cancelled dialog
        const QString named = "Cannot open the folder \"" + textOf(other.path());
        QCOMPARE(w.errors, (QStringList{named + "/missing\": it does not exist",
                                        named + "/a-file\": it is not a folder"}));
        QCOMPARE(w.folder().folder(), w.dir().path());
        QCOMPARE(w.currentNode(), shown);
        QCOMPARE(w.dir().read("plocha.dat"), written);
        QVERIFY(!w.widgets().fileMenu.OpenRecent1->isEnabled());

        // The found bytes exist only in the window until they are back: where
        // they cannot be put back, the folder stays open and keeps them.
        fs::remove(w.dir() / "tah.dat");
        fs::create_directory(w.dir() / "tah.dat");
        w.dir().write("tah.dat/inside", "kept");
        w.errors.clear();
        w.open(other.path());
        QCOMPARE(w.errors, (QStringList{"Cannot put back the position files in \"" + textOf(w.dir().path()) +
                                        "\" as they were found; the folder stays open"}));
        QCOMPARE(w.folder().folder(), w.dir().path());
        fs::remove(w.dir() / "tah.dat/inside");
        w.open(other.path());
        QCOMPARE(w.folder().folder(), other.path());
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
    }

    // "Save Position As..." writes the shown position into a folder of the
    // user's, which leaving the window never undoes, also where it is the
    // window's own folder.
    void aSavedPositionIsKept() {
        FolderWindow w;
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        const std::string board = boardFileBytes(w.controller().shownBoard());
        const TempDir kept;
        w.answer = textOf(kept.path());
        w.action("SavePositionAs1")->trigger();
        QCOMPARE(kept.read("plocha.dat"), board);
        QCOMPARE(kept.read("tah.dat"), std::string("o"));  // as "File Output" writes it
        QVERIFY(w.errors.isEmpty());

        QVERIFY(w.folder().SavePositionAs(w.dir().path()));
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), board);
        QCOMPARE(kept.read("plocha.dat"), board);

        FolderWindow again;
        QVERIFY(!again.folder().SavePositionAs(again.dir() / "missing"));
        QCOMPARE(again.errors.size(), 1);
    }

    void noFolderOpensWhileASolveRuns() {
        FolderWindow w;
        const TempDir next;
        fillFolder(next, 2);
        RecentFolders::add(textOf(next.path()));
        w.solve().SolveSelectedNode();
        QVERIFY(!w.action("OpenFolder1")->isEnabled());
        QVERIFY(!w.widgets().fileMenu.OpenRecent1->isEnabled());
        QVERIFY(!w.folder().OpenFolder(next.path()));
        QCOMPARE(w.folder().folder(), w.dir().path());

        w.form->close();  // ends the solve
        QVERIFY(w.widgets().fileMenu.OpenRecent1->isEnabled());
        QVERIFY(w.folder().OpenFolder(next.path()));
    }

    void recentFoldersKeepTheLastEightMostRecentFirst() {
        QSettings().clear();
        for (int i = 0; i < 10; ++i) RecentFolders::add(QStringLiteral("/f%1").arg(i));
        RecentFolders::add(QStringLiteral("/f5"));
        RecentFolders::add(QStringLiteral("/R&D"));
        QCOMPARE(RecentFolders::folders(),
                 (QStringList{"/R&D", "/f5", "/f9", "/f8", "/f7", "/f6", "/f4", "/f3"}));
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
