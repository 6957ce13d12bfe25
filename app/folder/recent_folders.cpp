#include "app/folder/recent_folders.h"

#include <QSettings>

namespace vorek {

namespace {

constexpr const char* KEY = "recentFolders";

}  // namespace

QStringList RecentFolders::folders() {
    QStringList list = QSettings().value(QLatin1String(KEY)).toStringList();
    list.removeAll(QString());
    list.removeDuplicates();
    return list.mid(0, MOST);
}

void RecentFolders::add(const QString& folder) {
    QStringList list = folders();
    list.removeAll(folder);
    list.prepend(folder);
    QSettings().setValue(QLatin1String(KEY), list.mid(0, MOST));
}

}  // namespace vorek
