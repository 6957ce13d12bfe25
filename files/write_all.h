// Writing bytes to an open file descriptor in full.
#pragma once

#include <string_view>

namespace vorek {

// Writes every byte, again after a signal interrupts a write and on from
// where a short write stopped. False when a write fails or writes nothing.
bool writeAll(int fd, std::string_view bytes);

}  // namespace vorek
