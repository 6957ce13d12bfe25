// Saving the game's line as a ".psq" record, and asking before a changed
// game is left.
#include <QMainWindow>

#include "app/folder/folder_commands.h"
#include "app/game/game_commands.h"
#include "app/path_text.h"
#include "app/window_features.h"
#include "files/replace_file.h"

namespace vorek {

bool GameCommands::SaveGameClick() {
    if (!game_ || !window_.allows(Command::SAVE_GAME)) return false;
    return file_.empty() ? SaveGameAsClick() : saveGameTo(file_);
}

bool GameCommands::SaveGameAsClick() {
    if (!game_ || !window_.allows(Command::SAVE_GAME)) return false;
    const std::filesystem::path start = file_.empty() ? window_.folder().folder() : file_;
    const QString chosen = window_.folder().dialogs().chooseGameToSave(&window_.widgets().window, pathText(start));
    return !chosen.isEmpty() && saveGameTo(pathOf(chosen));
}

bool GameCommands::saveGameTo(const std::filesystem::path& file) {
    if (!game_ || !window_.allows(Command::SAVE_GAME)) return false;
    FolderDialogs& dialogs = window_.folder().dialogs();
    QWidget* parent = &window_.widgets().window;
    // A record holds at least one move: one without would not be read back.
    if (game_->length() == 0) {
        dialogs.showError(parent, QStringLiteral("The game has no moves to save"));
        return false;
    }
    if (!replaceFile(file, gameRecordText(game_->lineRecord()))) {
        dialogs.showError(parent, QStringLiteral("Cannot save the game in \"%1\"; the file is as it was")
                                      .arg(pathText(file)));
        return false;
    }
    file_ = file;
    game_->setChanged(false);
    window_.say(QStringLiteral("Saved the game's %1 moves in %2").arg(game_->length()).arg(pathText(file)));
    return true;
}

bool GameCommands::confirmLeave(const QString& doing) {
    if (!game_ || !game_->changed()) return true;
    const QString name = file_.empty() ? QStringLiteral("The new game") : QStringLiteral("The game \"%1\"").arg(pathText(file_.filename()));
    switch (window_.folder().dialogs().askToSave(
        &window_.widgets().window,
        QStringLiteral("%1 has changed since it was saved. Save it before you %2?").arg(name, doing))) {
        case UnsavedChoice::Save: return SaveGameClick();
        case UnsavedChoice::Discard: return true;
        case UnsavedChoice::Cancel: break;
    }
    return false;
}

}  // namespace vorek
