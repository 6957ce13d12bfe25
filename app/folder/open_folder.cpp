// Opening another position folder from the "File" menu.
#include "app/folder/folder_dialogs.h"
#include "app/folder/folder_menu.h"
#include "app/folder/recent_folders.h"
#include "app/form1.h"
#include "app/path_label.h"
#include "app/path_text.h"

namespace vorek {

void TForm1::setFolderDialogs(std::unique_ptr<FolderDialogs> dialogs) {
    folderDialogs_ = std::move(dialogs);
}

void TForm1::OpenFolderClick() {
    if (!allows(Command::OPEN_FOLDER)) return;
    const QString chosen = folderDialogs_->chooseFolder(this, pathText(folder()));
    if (!chosen.isEmpty()) OpenFolder(pathOf(chosen));
}

bool TForm1::OpenFolder(const std::filesystem::path& next) {
    if (!allows(Command::OPEN_FOLDER)) return false;
    if (const std::optional<std::string> why = PositionFolder::whyUnusable(next)) {
        QString message = QString::fromLocal8Bit(why->c_str());
        message[0] = message[0].toUpper();  // a sentence of its own in the box
        folderDialogs_->showError(this, message);
        return false;
    }
    // The files found here live only in the folder record until they are
    // back: the window stays while they cannot be put back.
    if (!folder_.putBack()) {
        folderDialogs_->showError(this, QStringLiteral("Cannot put back the position files in \"") +
                                            pathText(folder()) +
                                            QStringLiteral("\" as they were found; the folder stays open"));
        return false;
    }
    folder_ = PositionFolder(next);
    BuildRootNode();
    StartBoard = RootBoard->clone();
    showFolder();
    RecentFolders::add(pathText(folder()));
    FileMenu->showRecent();
    return true;
}

void TForm1::showFolder() { FolderPath->setPath(pathText(folder())); }

}  // namespace vorek
