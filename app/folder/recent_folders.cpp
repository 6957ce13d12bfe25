#include "app/folder/recent_folders.h"

namespace vorek {

namespace {

constexpr const char* KEY = "recentFolders";

}  // namespace

QStringList RecentFolders::folders() { return recentEntries(KEY); }

void RecentFolders::add(const QString& folder) { addRecentEntry(KEY, folder); }

}  // namespace vorek
