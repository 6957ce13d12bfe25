// Opening a game record from the "File" menu and stepping through its
// positions on the "Game" page.
#include <QListWidget>
#include <QTabWidget>

#include "app/form1.h"
#include "app/folder/folder_dialogs.h"
#include "app/game/game_page.h"
#include "app/path_text.h"
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

void TForm1::OpenGameClick() {
    if (!allows(Command::OPEN_GAME)) return;
    const std::filesystem::path start = lastGame_.empty() ? folder() : lastGame_.parent_path();
    const QString chosen = folderDialogs_->chooseGame(this, pathText(start));
    if (!chosen.isEmpty()) OpenGame(pathOf(chosen));
}

bool TForm1::OpenGame(const std::filesystem::path& file) {
    if (!allows(Command::OPEN_GAME)) return false;
    auto read = readGameRecord(file);
    if (const auto* error = std::get_if<RecordError>(&read)) {
        folderDialogs_->showError(this, recordErrorText(file, *error));
        return false;
    }
    lastGame_ = file;
    const int moves = static_cast<int>(std::get<GameRecord>(read).moves.size());
    Game->showRecord(std::move(std::get<GameRecord>(read)));
    Game->selectPosition(moves);
    ShowGamePosition(moves);
    PageControl1->setCurrentWidget(Game);
    Game->GameList->setFocus();
    return true;
}

void TForm1::ShowGamePosition(int count, int previous) {
    const GameRecord* record = Game->record();
    if (record == nullptr) return;
    if (!allows(Command::STEP_GAME)) {  // the tree is not the window's to replace now
        Game->selectPosition(previous);
        return;
    }
    showRoot(recordPosition(*record, count));
}

}  // namespace vorek
