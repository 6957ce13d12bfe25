// Shoots the main window for the documentation: opens it on the position in
// the working directory, or on a position of a game record with the board's
// coordinates and move numbers on, at its first size or another, grows the
// tree a little with the same keys a user presses, points at a square, and
// saves the window as it is on the screen; with an engine, analyses the
// position shown with it ("Engine" > "Analyse") and points at its best move
// once it has one. The user's own settings are neither read nor changed.
//   vorek-window-screenshot [--size WxH] [--game FILE.psq:K] [--engine PROGRAM] OUT.png
#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/analysis/analysis_commands.h"
#include "app/analysis/engine_menu.h"
#include "app/application.h"
#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/form1.h"
#include "app/game/game_commands.h"
#include "app/game/game_page.h"
#include "app/path_text.h"
#include "app/tree/node_tree.h"
#include "app/window_features.h"

namespace {

struct GameChoice {
    QString file;
    int count;
};

struct Request {
    std::optional<QSize> size;
    std::optional<GameChoice> game;
    QString engine;  // empty: no analysis
    QString out;
};

// The engine's time to think before the shot, at most.
constexpr int ENGINE_WAIT_MS = 10000;
// What it is given after its first best moves, to deepen them.
constexpr int ENGINE_SETTLE_MS = 2500;
constexpr int LOOK_MS = 100;

void pressAndRelease(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

void pointAt(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

// Root, its first child, and that child's first child: three levels.
void growTree(vorek::TForm1& form) {
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right})
        pressAndRelease(&form.features().widgets().tree, key);
}

// "FILE.psq:K".
std::optional<GameChoice> gameChoice(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool number = false;
    const int count = text.mid(colon + 1).toInt(&number);
    if (colon <= 0 || !number) return std::nullopt;
    return GameChoice{text.left(colon), count};
}

// "WxH".
std::optional<QSize> windowSize(const QString& text) {
    const QStringList sides = text.split(QLatin1Char('x'));
    bool wide = false;
    bool high = false;
    if (sides.size() != 2) return std::nullopt;
    const QSize size(sides[0].toInt(&wide), sides[1].toInt(&high));
    if (!wide || !high || size.isEmpty()) return std::nullopt;
    return size;
}

// OUT.png last, --size WxH and --game FILE.psq:K before it; nullopt for anything else.
std::optional<Request> parseArguments(QStringList arguments) {
    if (arguments.isEmpty()) return std::nullopt;
    Request request{std::nullopt, std::nullopt, {}, arguments.takeLast()};
    while (arguments.size() >= 2) {
        const QString option = arguments.takeFirst();
        const QString value = arguments.takeFirst();
        if (option == QLatin1String("--size") && (request.size = windowSize(value))) continue;
        if (option == QLatin1String("--game") && (request.game = gameChoice(value))) continue;
        if (option == QLatin1String("--engine") && !value.isEmpty()) {
            request.engine = value;
            continue;
        }
        return std::nullopt;
    }
    if (!arguments.isEmpty()) return std::nullopt;
    return request;
}

// The game's position after the count moves, with the coordinates and the
// move numbers on (a game's colours are the record's anyway).
bool showGame(vorek::TForm1& form, const GameChoice& game) {
    vorek::GameCommands& games = form.features().game();
    if (!games.OpenGame(vorek::pathOf(game.file))) return false;
    if (game.count < 0 || game.count > games.game()->length()) return false;
    games.ShowGamePosition(game.count);
    const vorek::ViewMenu& view = form.features().widgets().viewMenu;
    for (QAction* item : {view.Coordinates1, view.MoveNumbers1}) item->setChecked(true);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    vorek::VorekApplication application(argc, argv);
    const std::optional<Request> request = parseArguments(application.arguments().mid(1));
    if (!request) {
        std::fprintf(stderr,
                     "usage: vorek-window-screenshot [--size WxH] [--game FILE.psq:K] [--engine PROGRAM] OUT.png\n");
        return 2;
    }
    // Settings of its own: the shot must not depend on what the user chose.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    vorek::TForm1 form;
    form.move(0, 0);
    if (request->size) form.resize(*request->size);
    form.show();
    if (request->game && !showGame(form, *request->game)) {
        std::fprintf(stderr, "cannot show that position of %s\n", qPrintable(request->game->file));
        return 1;
    }
    const vorek::WindowWidgets& widgets = form.features().widgets();
    if (request->game) widgets.pages.setCurrentWidget(&widgets.gamePage);
    growTree(form);
    QCoreApplication::processEvents();  // the picture takes its size
    const int side = widgets.board.side();
    pointAt(&widgets.board, QPoint((8 * 20 + 10) * side / 401, (10 * 20 + 10) * side / 401));

    int status = 1;
    const auto shoot = [&] {
        const QPixmap shot = form.screen()->grabWindow(form.winId());
        status = shot.save(request->out, "PNG") ? 0 : 1;
        if (status != 0) std::fprintf(stderr, "cannot write %s\n", qPrintable(request->out));
        application.quit();
    };
    if (request->engine.isEmpty()) {
        // Give the window system time to map and paint the window first.
        QTimer::singleShot(1500, &form, shoot);
    } else {
        vorek::AnalysisCommands& analysis = form.features().analysis();
        analysis.setSettings({.commandLine = request->engine, .milliseconds = 0, .lines = 3});
        widgets.engineMenu.Analyse1->trigger();
        if (!analysis.analysing()) {
            std::fprintf(stderr, "cannot analyse with %s\n", qPrintable(request->engine));
            return 1;
        }
        // Once the engine has best moves, it deepens them a while; then the
        // pointer goes over the best one, whose line is drawn.
        auto* look = new QTimer(&form);
        QObject::connect(look, &QTimer::timeout, &form, [&, look, waited = 0]() mutable {
            waited += LOOK_MS;
            const auto& badges = widgets.board.marks().badges;
            if (badges.empty() && waited < ENGINE_WAIT_MS) return;
            look->stop();
            QTimer::singleShot(ENGINE_SETTLE_MS, &form, [&] {
                const auto& best = widgets.board.marks().badges;
                if (!best.empty()) {
                    const int square = best.front().square;
                    const int side = widgets.board.side();
                    const QPoint centre(square % 20 * 20 + 10, square / 20 * 20 + 10);
                    pointAt(&widgets.board, centre * side / 401);
                }
                QTimer::singleShot(500, &form, shoot);
            });
        });
        look->start(LOOK_MS);
    }
    application.exec();
    return status;
}
