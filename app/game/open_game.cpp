// Opening a game record from the "File" menu, starting a new game, and
// showing the game's positions on the "Game" page.
#include <QListWidget>
#include <QMainWindow>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/ask/ask_commands.h"
#include "app/board_view/position_view.h"
#include "app/edit/edit_commands.h"
#include "app/folder/folder_commands.h"
#include "app/game/ai_player.h"
#include "app/game/analysis_run.h"
#include "app/game/game_commands.h"
#include "app/game/game_page.h"
#include "app/game/game_start.h"
#include "app/path_text.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "board/square_text.h"
#include "files/position_source.h"

namespace vorek {

namespace {

// "Game record "FILE" line N: what is wrong", without the line when the file
// could not be read at all.
QString recordErrorText(const std::filesystem::path& file, const RecordError& error) {
    QString text = QStringLiteral("Game record \"%1\"").arg(pathText(file));
    if (error.line > 0) text += QStringLiteral(" line %1").arg(error.line);
    return text + QStringLiteral(": ") + QString::fromStdString(error.message);
}

}  // namespace

GameCommands::GameCommands(WindowFeatures& window, GamePage& page)
    : window_(window), page_(page), ai_(std::make_unique<AiPlayer>(window, *this)) {
    connect(&analysisTimer_, &QTimer::timeout, this, &GameCommands::takeVerdicts);
    sinceShown_.start();
}

GameCommands::~GameCommands() = default;

void GameCommands::endAll() {
    stopAnalysis();
    ai_->stop();
}

void GameCommands::OpenGameClick() {
    if (!window_.allows(Command::OPEN_GAME)) return;
    const std::filesystem::path start =
        lastOpened_.empty() ? window_.folder().folder() : lastOpened_.parent_path();
    const QString chosen = window_.folder().dialogs().chooseGame(&window_.widgets().window, pathText(start));
    if (!chosen.isEmpty()) OpenGame(pathOf(chosen));
}

bool GameCommands::OpenGame(const std::filesystem::path& file) {
    if (!window_.allows(Command::OPEN_GAME)) return false;
    auto read = readGameRecord(file, SquareNaming::Board);
    if (const auto* error = std::get_if<RecordError>(&read)) {
        window_.folder().dialogs().showError(&window_.widgets().window, recordErrorText(file, *error));
        return false;
    }
    if (!confirmLeave(QStringLiteral("open another game"))) return false;
    lastOpened_ = file;
    startGame(GameTree::fromRecord(std::get<GameRecord>(read)), file);
    return true;
}

// The game comes to the front, its selected position shown, the keyboard
// in its list.
void GameCommands::startGame(GameTree game, const std::filesystem::path& file) {
    stopAnalysis();
    verdicts_.clear();
    views_.clear();
    game_.emplace(std::move(game));
    file_ = file;
    window_.view().forgetSquareReport();
    showGame();
    window_.widgets().pages.setCurrentWidget(&page_);
    page_.GameList->setFocus();
    ai_->moveIfItsTurn();
}

void GameCommands::NewGameClick() {
    if (!window_.allows(Command::NEW_GAME) || !confirmLeave(QStringLiteral("start a new game"))) return;
    window_.edit().dropEdit();
    startGame(GameTree('x'), {});
}

// A position from the game, or reached from one in the tree, has its moves;
// any other gets moves that lead to its stones.
void GameCommands::NewGameFromHereClick() {
    if (!window_.allows(Command::NEW_GAME)) return;
    WindowController& controller = window_.controller();
    std::variant<GameRecord, QString> leading = QString();
    const StoneLabels& labels = controller.rootLabels();
    if (controller.editor() == nullptr && labels.gameFirstLetter != 0 && game_) {
        GameRecord record = game_->lineRecord();
        record.moves.resize(static_cast<std::size_t>(game_->selected()));
        record.milliseconds.resize(record.moves.size());
        for (const int move : movesFromRoot(*controller.currentNode())) {
            record.moves.push_back(move);
            record.milliseconds.push_back(0);
        }
        record.trailer.clear();
        leading = record;
    } else {
        leading = recordLeadingTo(controller.shownBoard(), controller.player1Letter());
    }
    if (const auto* why = std::get_if<QString>(&leading)) {
        window_.folder().dialogs().showError(&window_.widgets().window, *why);
        return;
    }
    if (!confirmLeave(QStringLiteral("start a new game"))) return;
    window_.edit().dropEdit();
    GameTree game = GameTree::fromRecord(std::get<GameRecord>(leading));
    game.setChanged(game.length() > 0);
    startGame(std::move(game), {});
}

void GameCommands::ShowGamePosition(int count, int previous) {
    if (!game_) return;
    if (!window_.allows(Command::STEP_GAME)) {  // the tree is not the window's to replace now
        page_.selectPosition(previous);
        return;
    }
    game_->select(count);
    showSelected();
}

void GameCommands::showNoPosition() { page_.selectPosition(-1); }

// The rows of the line, its selected position shown.
void GameCommands::showGame() {
    QStringList rows;
    QStringList analysis;
    for (int count = 0; count <= game_->length(); ++count) {
        rows << rowText(count);
        analysis << analysisText(count);
    }
    page_.showLine(rows, analysis, game_->selected());
    columnDue_ = true;
    showGraph();
    showSelected();
}

// "0. (empty board)", "12. 13,11", and where other moves were played from
// the position before, how many: "12. 13,11 (+2)".
QString GameCommands::rowText(int count) const {
    if (count == 0) return QStringLiteral("0. (empty board)");
    const int id = game_->line()[static_cast<std::size_t>(count)];
    const int square = game_->squareOf(id);
    QString text = QStringLiteral("%1. %2").arg(count).arg(QString::fromStdString(squareText(columnOf(square), rowOf(square))));
    const std::size_t others = game_->nextMoves(game_->parentOf(id)).size() - 1;
    if (others > 0) text += QStringLiteral(" (+%1)").arg(others);
    return text;
}

void GameCommands::showSelected() {
    const int selected = game_->selected();
    window_.tree().showRoot(recordPosition(game_->lineRecord(), selected), hintOfSelected());
    page_.selectPosition(selected);
    QStringList next;
    int onLine = -1;
    const std::vector<int>& moves = game_->nextMoves(game_->selectedId());
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const int square = game_->squareOf(moves[i]);
        next << QStringLiteral("%1. %2").arg(selected + 1).arg(QString::fromStdString(squareText(columnOf(square), rowOf(square))));
        if (selected < game_->length() && moves[i] == game_->line()[static_cast<std::size_t>(selected + 1)])
            onLine = static_cast<int>(i);
    }
    page_.showNextMoves(next, onLine);
    sinceShown_.restart();
}

bool GameCommands::pageShownNow() const { return window_.widgets().pages.currentWidget() == &page_; }

void GameCommands::pageShown() {
    if (!game_ || window_.controller().mode() != WindowMode::GAME) return;
    if (window_.tree().selectedItem() != window_.tree().rootItem()) window_.tree().showRootItem();
}

void GameCommands::digitReleased(int digit) { window_.ask().AskOpponentMove(digit); }

}  // namespace vorek
