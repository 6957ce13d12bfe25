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

    // x 10,10, o 11,10, x 10,11 (columns and rows from 1): o is to move, so o
    // is player 1 and drawn black unless the colours follow the letters.
    void gamePositionInLetterColoursWithMoveNumbers() {
        testing::TempDir dir;
        dir.write("game.psq", "Piskvorky 20x20, 1:1, 0\r\n10,10,0\r\n11,10,0\r\n10,11,0\r\n");
        const auto picture = [&](QStringList options) {
            const Run run = runCli(QStringList{"picture", "--game", path(dir, "game.psq"), "--out",
                                               path(dir, "out.png")} + options);
            if (run.exitCode != 0 || !run.err.isEmpty()) qWarning() << run.err;
            return QImage(path(dir, "out.png")).convertToFormat(QImage::Format_RGB32);
        };
        const QPoint stones[] = {{184, 190}, {204, 190}, {184, 210}};  // inside x, o, x
        const QImage byPlayer = picture({});
        QCOMPARE(byPlayer.pixel(stones[0]), WHITE);
        QCOMPARE(byPlayer.pixel(stones[1]), BLACK);
        const QImage byLetter = picture({"--colours-by-letter"});
        QCOMPARE(byLetter.pixel(stones[0]), BLACK);
        QCOMPARE(byLetter.pixel(stones[1]), WHITE);
        QCOMPARE(byLetter.pixel(stones[2]), BLACK);
        QCOMPARE(byLetter.pixel(230, 210), WHITE);  // a dot for o, to move

        // The numbers change pixels inside the three stones and nowhere else.
        const QImage numbered = picture({"--colours-by-letter", "--move-numbers"});
        const QRect boxes[] = {{181, 181, 19, 19}, {201, 181, 19, 19}, {181, 201, 19, 19}};
        int changed[3] = {0, 0, 0};
        for (int y = 0; y < 401; ++y) {
            for (int x = 0; x < 401; ++x) {
                if (numbered.pixel(x, y) == byLetter.pixel(x, y)) continue;
                int box = 0;
                while (box < 3 && !boxes[box].contains(x, y)) ++box;
                QVERIFY2(box < 3, qPrintable(QStringLiteral("changed at %1,%2").arg(x).arg(y)));
                ++changed[box];
            }
        }
        for (int count : changed) QVERIFY(count > 5);
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
