#include "app/folder/folder_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_action.h"
#include "app/folder/recent_folders.h"

namespace vorek {

namespace {

// A menu text shows "&" only doubled; a single one marks the shortcut letter.
QString menuText(QString text) { return text.replace(QLatin1Char('&'), QLatin1String("&&")); }

}  // namespace

FolderMenu::FolderMenu(QMenuBar& bar, QAction* before) : QObject(&bar) {
    File1 = addNamedMenu(bar, before, "&File", "File1");

    OpenFolder1 = addNamedAction(*File1, "Open &Folder...", "OpenFolder1");
    OpenFolder1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    OpenGame1 = addNamedAction(*File1, "Open &Game...", "OpenGame1");
    OpenGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    OpenRecent1 = named(File1->addMenu(QStringLiteral("Open &Recent")), "OpenRecent1");
    File1->addSeparator();
    SavePositionAs1 = addNamedAction(*File1, "Save &Position As...", "SavePositionAs1");
    File1->addSeparator();
    Quit1 = addNamedAction(*File1, "&Quit", "Quit1");
    Quit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(OpenFolder1, &QAction::triggered, this, &FolderMenu::openFolderChosen);
    connect(OpenGame1, &QAction::triggered, this, &FolderMenu::openGameChosen);
    connect(Quit1, &QAction::triggered, this, &FolderMenu::quitChosen);
    // Another window may have opened a folder since: the list is read afresh.
    connect(File1, &QMenu::aboutToShow, this, &FolderMenu::showRecent);
    showRecent();
}

void FolderMenu::showRecent() {
    OpenRecent1->clear();
    const QStringList folders = RecentFolders::folders();
    for (const QString& folder : folders) {
        QAction* action = OpenRecent1->addAction(menuText(folder));
        connect(action, &QAction::triggered, this,
                [this, folder] { emit recentFolderChosen(folder); });
    }
    OpenRecent1->setEnabled(openingEnabled_ && !folders.isEmpty());
}

void FolderMenu::setEnabled(bool folders, bool games, bool savePosition) {
    openingEnabled_ = folders;
    OpenFolder1->setEnabled(folders);
    OpenGame1->setEnabled(games);
    SavePositionAs1->setEnabled(savePosition);
    showRecent();
}

}  // namespace vorek
