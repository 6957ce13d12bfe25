// The time an AI is given for its move, from "timeouts.dat".
#pragma once

#include <chrono>
#include <filesystem>

namespace vorek {

constexpr std::chrono::milliseconds TIME_PER_DIGIT{1100};

// The digit d on the first line of "timeouts.dat" in dir (empty: the working
// directory) gives d x 1100 ms. A missing file, or a first item that is not a
// single digit 1..9, counts as the digit 1.
std::chrono::milliseconds readTimeLimit(const std::filesystem::path& dir = {});

}  // namespace vorek
