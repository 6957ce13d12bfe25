#include "search/process_memory.h"

#include <unistd.h>

#include <cstdio>

namespace vorek {

std::size_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return std::size_t{4} << 30;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}

std::size_t currentMemory() {
    // The resident set, in pages, is the second field of /proc/self/statm.
    std::FILE* statm = std::fopen("/proc/self/statm", "re");
    if (statm == nullptr) return 0;
    unsigned long long size = 0;
    unsigned long long resident = 0;
    const int read = std::fscanf(statm, "%llu %llu", &size, &resident);
    std::fclose(statm);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (read != 2 || pageSize <= 0) return 0;
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(pageSize);
}

}  // namespace vorek
