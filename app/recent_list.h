// Lists of what the user chose last (folders, AI command lines), most
// recent first, kept in the application's settings under a key of their
// own, so that every window and every later run sees them.
#pragma once

#include <QStringList>

namespace vorek {

// The longest such a list gets.
inline constexpr qsizetype RECENT_MOST = 8;

// The key of the AI command lines asked last: the digit keys' box, the AI
// players' and the analysing engine's share it.
inline constexpr const char* RECENT_COMMANDS_KEY = "ask/recentCommands";

// The stored list under the key: at most RECENT_MOST entries, none empty,
// none twice.
QStringList recentEntries(const char* key);

// Puts the entry first. An earlier copy of it goes, and so do entries
// beyond the RECENT_MOST-th.
void addRecentEntry(const char* key, const QString& entry);

}  // namespace vorek
