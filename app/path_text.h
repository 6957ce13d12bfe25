// File paths as the window shows them and as the file system takes them.
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace vorek {

// The path as text for the user, decoded as the system's file names are.
inline QString pathText(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

// A path typed or chosen by the user, encoded as the system's file names are.
inline std::filesystem::path pathOf(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

}  // namespace vorek
