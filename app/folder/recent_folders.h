// The folders the window opened last, most recent first, kept in the
// application's settings so that every window and every later run sees them.
#pragma once

#include <QStringList>

#include "app/recent_list.h"

namespace vorek {

class RecentFolders {
public:
    // The longest the list gets.
    static constexpr qsizetype MOST = RECENT_MOST;

    // The stored list, at most MOST folders, without empty entries.
    static QStringList folders();

    // Puts the folder first. An earlier entry of the same folder goes, and so
    // do entries beyond the MOST-th.
    static void add(const QString& folder);
};

}  // namespace vorek
