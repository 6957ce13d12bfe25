// The time an AI is given for its move, from "timeouts.dat", and the part of
// it vorek-ai spends solving.
#pragma once

#include <chrono>
#include <filesystem>

namespace vorek {

constexpr std::chrono::milliseconds TIME_PER_DIGIT{1100};

// The digit d on the first line of "timeouts.dat" in dir (empty: the working
// directory) gives d x 1100 ms. A missing file, or a first item that is not a
// single digit 1..9, counts as the digit 1.
std::chrono::milliseconds readTimeLimit(const std::filesystem::path& dir = {});

// Kept free at the end of the limit for writing the answer, freeing the tree
// and ending the process.
constexpr std::chrono::milliseconds FINISHING_MARGIN{300};

// The time left for solving when `spent` of the limit is gone already: at
// most half the limit and never closer than FINISHING_MARGIN to its end,
// counted from the start. Zero when nothing is left.
std::chrono::duration<double> solvingTime(std::chrono::milliseconds limit,
                                          std::chrono::duration<double> spent);

}  // namespace vorek
