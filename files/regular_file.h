// Opening a file for reading without ever waiting on it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

namespace vorek {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

using ReadFile = std::unique_ptr<std::FILE, FileCloser>;

// The file opened for reading in binary mode when it is a regular file; null
// when it cannot be opened or is anything else (a folder, a device, a named
// pipe, whose open would block until some writer came).
ReadFile openRegularFile(const std::filesystem::path& path);

// The descriptor, opened for reading, as a file when it is a regular file;
// otherwise it is closed and the result is null. Takes a descriptor of -1
// (a failed open) too.
ReadFile regularFileOf(int fd);

}  // namespace vorek
