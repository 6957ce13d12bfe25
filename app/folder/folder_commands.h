// The position folder the window works on: "File Input" and "File Output"
// of its position files, "Open Folder..." and "Open Recent" to move to
// another, "Save Position As..." to keep a position in a folder of the
// user's, and putting back the files found when the window leaves.
#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

#include "app/folder/folder_dialogs.h"
#include "app/folder/position_folder.h"
#include "board/v2board.h"

namespace vorek {

class WindowFeatures;

class FolderCommands final : public QObject {
    Q_OBJECT

public:
    // Works on the folder (empty: the working directory) and keeps its
    // position files as found; nothing is read yet.
    FolderCommands(WindowFeatures& window, const std::filesystem::path& folder);

    // The folder the window works on, absolute.
    const std::filesystem::path& folder() const { return folder_.path(); }
    // The position read when the window came to the folder.
    const V2Board* startBoard() const { return startBoard_.get(); }

    // Reads the position files into a new root and shows it as the only
    // item; no line of the "Game" page is selected.
    void BuildRootNode();
    // The first reading, when the window opens.
    void start();

    // "File Input": rebuilds the tree from the position files, where the mode allows it.
    void FileInput1Click();
    // "File Output": writes the shown position (the edited one while
    // editing) to the position files, and says in the status bar what it
    // wrote and that closing puts back the files found.
    void FileOutput1Click();

    // "Open Folder...": asks for a folder and opens it.
    void OpenFolderClick();
    // Puts back the current folder's files as closing does, then reads the
    // new folder as "File Input" does, with a new start-up board. A folder
    // that cannot be opened gets a message and the window stays where it is;
    // where the mode does not allow opening, or the user keeps a changed
    // game, nothing happens. True when the folder was opened.
    bool OpenFolder(const std::filesystem::path& folder);

    // "Save Position As...": asks for a folder and saves the shown position there.
    void SavePositionAsClick();
    // Writes the shown position's "plocha.dat" and "tah.dat" into the folder,
    // each replaced whole. These files are the user's: leaving or closing
    // never puts them back, also where the folder is the window's own (the
    // saved files then become the ones put back). A folder that cannot be
    // written gets a message. True when both files were written.
    bool SavePositionAs(const std::filesystem::path& folder);

    // Puts back the files found where the window wrote them; true when
    // they are as found.
    bool putBack() { return folder_.putBack(); }
    // Counts the position files as written: an ask wrote them for an AI.
    void noteWritten() { folder_.noteWritten(); }

    // Replaces the window's file dialogs.
    void setDialogs(std::unique_ptr<FolderDialogs> dialogs) { dialogs_ = std::move(dialogs); }
    FolderDialogs& dialogs() { return *dialogs_; }

private:
    void showFolder();

    WindowFeatures& window_;
    PositionFolder folder_;
    std::unique_ptr<FolderDialogs> dialogs_;
    std::unique_ptr<V2Board> startBoard_;
};

}  // namespace vorek
