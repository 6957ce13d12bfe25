// Writing bytes to an open file descriptor in full.
#pragma once

#include <string_view>

namespace vorek {

// Writes every byte, again after a signal interrupts a write and on from
// where a short write stopped. False when a write fails or writes nothing.
bool writeAll(int fd, std::string_view bytes);

// Overwrites the open regular file from its start with the bytes and cuts it
// to their length, whole or not at all: when the bytes would not fit (the
// process's file size limit, a full disk where room can be reserved first),
// the old bytes are left as they were. True when the file holds the bytes.
bool overwriteWhole(int fd, std::string_view bytes);

}  // namespace vorek
