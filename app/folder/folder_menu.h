// The "File" menu: "Open Folder..." (Ctrl+O), "Open Game..." (Ctrl+G), "Open
// Recent" with the folders opened last, "Save Position As..." and "Quit"
// (Ctrl+Q). It only reports what the user chose; the window's features do
// the opening, the saving and the closing.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace vorek {

class FolderMenu final : public QObject {
    Q_OBJECT

public:
    // Puts the menu into the bar in front of the menu whose action is `before`.
    FolderMenu(QMenuBar& bar, QAction* before);

    // Refills "Open Recent" from the recent folders; an empty list disables it.
    void showRecent();
    // Enables or disables the ways of opening a folder ("Open Folder...",
    // "Open Recent") and a game, and of saving the position.
    void setEnabled(bool folders, bool games, bool savePosition);

    QMenu* File1 = nullptr;
    QAction* OpenFolder1 = nullptr;
    QAction* OpenGame1 = nullptr;
    QMenu* OpenRecent1 = nullptr;
    QAction* SavePositionAs1 = nullptr;
    QAction* Quit1 = nullptr;

signals:
    void openFolderChosen();
    void openGameChosen();
    void recentFolderChosen(const QString& folder);
    void quitChosen();

private:
    bool openingEnabled_ = true;
};

}  // namespace vorek
