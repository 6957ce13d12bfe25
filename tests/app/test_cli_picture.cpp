// vorek-cli picture: the board picture of a position as a PNG file, run as the
// built binary.
#include <QImage>
#include <QProcess>
#include <QtTest>

#include "tests/temp_dir.h"

namespace vorek {

namespace {

const QRgb YELLOW = qRgb(255, 255, 0);
const QRgb BLACK = qRgb(0, 0, 0);
const QRgb WHITE = qRgb(255, 255, 255);

struct Run {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VOREK_CLI_BINARY), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString path(const testing::TempDir& dir, const char* name) {
    return QString::fromStdString((dir / name).string());
}

// Two crossed pairs in the centre, player 1 ("x") to move.
void writeOpening(const testing::TempDir& dir) {
    dir.write("plocha.dat", testing::boardFile({"", "", "", "", "", "", "", "", "", "          o",
                                                "         xx", "          o"}));
    dir.write("tah.dat", "x");
}

}  // namespace

class CliPictureTest : public QObject {
    Q_OBJECT

private slots:
    void picturesThePositionAfterTheMovesAndLeavesTheFolderAlone() {
        testing::TempDir dir;
        writeOpening(dir);
        const std::string board = dir.read("plocha.dat");
        const Run run = runCli({"picture", "--dir", path(dir, ""), "11,10", "--out",
                                path(dir, "out.png")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.isEmpty());
        const QImage image(path(dir, "out.png"));
        QCOMPARE(image.size(), QSize(401, 401));
        QCOMPARE(image.pixel(0, 0), YELLOW);
        QCOMPARE(image.pixel(225, 205), BLACK);  // the move: player 1's stone on 11,10
        QCOMPARE(image.pixel(210, 190), WHITE);  // a stone of player 0
        // Player 0 is to move now: white dots where the generator would answer.
        QCOMPARE(image.pixel(170, 210), WHITE);
        QCOMPARE(image.pixel(166, 210), BLACK);
        QCOMPARE(image.pixel(250, 210), WHITE);
        QCOMPARE(dir.read("plocha.dat"), board);
        QCOMPARE(dir.read("tah.dat"), std::string("x"));
    }

    void unreadablePositionIsPicturedEmptyWithANote() {
        testing::TempDir dir;
        const Run run = runCli({"picture", "--dir", path(dir, ""), "--out", path(dir, "out.png")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.startsWith("vorek-cli: picture: the position in '"));
        const QImage image(path(dir, "out.png"));
        QCOMPARE(image.pixel(210, 210), BLACK);  // the opening dot, player 1 to move
        QCOMPARE(image.pixel(225, 205), YELLOW);
    }

    void misuseWritesNoPicture() {
        testing::TempDir dir;
        writeOpening(dir);
        struct Case {
            QStringList arguments;
            QByteArray message;
        };
        const Case cases[] = {
            {{"picture", "--dir", path(dir, "")}, "vorek-cli: picture: needs --out FILE.png\n"},
            {{"picture", "--dir", path(dir, ""), "9,10", "--out", path(dir, "out.png")},
             "vorek-cli: picture: "},
            {{"picture", "--dir", path(dir, ""), "--out", path(dir, "no/such/folder.png")},
             "vorek-cli: picture: cannot write '"},
        };
        for (const Case& c : cases) {
            const Run run = runCli(c.arguments);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.startsWith(c.message), run.err.constData());
            QVERIFY(run.err.contains("usage: vorek-cli picture"));
            QVERIFY(!dir.exists("out.png"));
        }
    }
};

}  // namespace vorek

QTEST_GUILESS_MAIN(vorek::CliPictureTest)
#include "test_cli_picture.moc"
