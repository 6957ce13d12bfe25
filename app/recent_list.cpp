#include "app/recent_list.h"

#include <QSettings>

namespace vorek {

QStringList recentEntries(const char* key) {
    QStringList list = QSettings().value(QLatin1String(key)).toStringList();
    list.removeAll(QString());
    list.removeDuplicates();
    return list.mid(0, RECENT_MOST);
}

void addRecentEntry(const char* key, const QString& entry) {
    QStringList list = recentEntries(key);
    list.removeAll(entry);
    list.prepend(entry);
    QSettings().setValue(QLatin1String(key), list.mid(0, RECENT_MOST));
}

}  // namespace vorek
