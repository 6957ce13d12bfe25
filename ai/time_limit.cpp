#include "ai/time_limit.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "board/position_files.h"

namespace vorek {

std::chrono::milliseconds readTimeLimit(const std::filesystem::path& dir) {
    std::ifstream file(dir.empty() ? std::filesystem::path(TIMEOUTS_FILE) : dir / TIMEOUTS_FILE);
    std::string first;
    file >> first;
    const bool digit = first.size() == 1 && first[0] >= '1' && first[0] <= '9';
    return TIME_PER_DIGIT * (digit ? first[0] - '0' : 1);
}

std::chrono::duration<double> solvingTime(std::chrono::milliseconds limit,
                                          std::chrono::duration<double> spent) {
    const std::chrono::duration<double> share = std::min(limit / 2, limit - FINISHING_MARGIN);
    return std::max(share - spent, std::chrono::duration<double>::zero());
}

}  // namespace vorek
