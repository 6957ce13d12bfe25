// How much memory the process holds and the machine has: what the memory
// budgets of the solves are told against.
#pragma once

#include <cstddef>

namespace vorek {

// The memory the process holds now, in bytes (0 when it cannot be told).
std::size_t currentMemory();

// The machine's memory, in bytes (4 GB when it cannot be told).
std::size_t physicalMemory();

}  // namespace vorek
