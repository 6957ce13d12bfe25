// The position folder: reading and writing its position files, moving to
// another folder from the "File" menu, and saving a position elsewhere.
#include <QMainWindow>
#include <QStatusBar>
#include <system_error>

#include "app/board_view/position_view.h"
#include "app/folder/folder_commands.h"
#include "app/folder/folder_menu.h"
#include "app/folder/recent_folders.h"
#include "app/game/game_commands.h"
#include "app/path_label.h"
#include "app/path_text.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "files/position_files.h"
#include "files/position_source.h"

namespace vorek {

FolderCommands::FolderCommands(WindowFeatures& window, const std::filesystem::path& folder)
    : window_(window), folder_(folder), dialogs_(std::make_unique<QtFolderDialogs>()) {}

void FolderCommands::start() {
    BuildRootNode();
    // Drawing and showing the root leave its board as it was read.
    startBoard_ = window_.controller().rootBoard()->clone();
    showFolder();
}

void FolderCommands::BuildRootNode() {
    window_.game().showNoPosition();
    window_.view().forgetSquareReport();
    window_.tree().showRoot(folderPosition(folder_.path()));
}

void FolderCommands::FileInput1Click() {
    if (!window_.allows(Command::FILE_INPUT)) return;
    BuildRootNode();
}

void FolderCommands::FileOutput1Click() {
    if (!window_.allows(Command::FILE_OUTPUT)) return;
    const bool written = folder_.writePosition(window_.controller().shownBoard());
    window_.say(written ? QStringLiteral("Wrote \"plocha.dat\" and \"tah.dat\"; closing puts back the files found "
                                         "(\"File\" > \"Save Position As...\" keeps a position)")
                        : QStringLiteral("Could not write \"plocha.dat\" and \"tah.dat\" in ") + pathText(folder()));
}

void FolderCommands::OpenFolderClick() {
    if (!window_.allows(Command::OPEN_FOLDER)) return;
    const QString chosen = dialogs_->chooseFolder(&window_.widgets().window, pathText(folder()));
    if (!chosen.isEmpty()) OpenFolder(pathOf(chosen));
}

bool FolderCommands::OpenFolder(const std::filesystem::path& next) {
    if (!window_.allows(Command::OPEN_FOLDER)) return false;
    QWidget* parent = &window_.widgets().window;
    if (const std::optional<std::string> why = PositionFolder::whyUnusable(next)) {
        QString message = QString::fromLocal8Bit(why->c_str());
        message[0] = message[0].toUpper();  // a sentence of its own in the box
        dialogs_->showError(parent, message);
        return false;
    }
    if (!window_.game().confirmLeave(QStringLiteral("open another folder"))) return false;
    // The files found here live only in the folder record until they are
    // back: the window stays while they cannot be put back.
    if (!folder_.putBack()) {
        dialogs_->showError(parent, QStringLiteral("Cannot put back the position files in \"") + pathText(folder()) +
                                        QStringLiteral("\" as they were found; the folder stays open"));
        return false;
    }
    folder_ = PositionFolder(next);
    start();
    RecentFolders::add(pathText(folder()));
    window_.widgets().fileMenu.showRecent();
    return true;
}

void FolderCommands::SavePositionAsClick() {
    if (!window_.allows(Command::FILE_OUTPUT)) return;
    const QString chosen = dialogs_->choosePositionFolder(&window_.widgets().window, pathText(folder()));
    if (!chosen.isEmpty()) SavePositionAs(pathOf(chosen));
}

bool FolderCommands::SavePositionAs(const std::filesystem::path& target) {
    if (!window_.allows(Command::FILE_OUTPUT)) return false;
    const V2Board& board = window_.controller().shownBoard();
    std::error_code ignored;
    const bool here = std::filesystem::equivalent(target, folder(), ignored);
    const bool written = here ? folder_.writePosition(board) : writePositionFiles(board, target);
    if (!written) {
        dialogs_->showError(&window_.widgets().window, QStringLiteral("Cannot write \"plocha.dat\" and \"tah.dat\" in \"") +
                                                           pathText(target) + QStringLiteral("\""));
        return false;
    }
    if (here) folder_.keepAsFound();
    window_.say(QStringLiteral("Saved the position as \"plocha.dat\" and \"tah.dat\" in ") + pathText(target));
    return true;
}

void FolderCommands::showFolder() { window_.widgets().folderPath.setPath(pathText(folder())); }

}  // namespace vorek
