#include "app/ask/ending_engines.h"

#include <chrono>

namespace vorek {

EndingEngines::~EndingEngines() {
    for (std::future<void>& ended : ends_) ended.wait();
}

void EndingEngines::add(std::future<void> ended) {
    std::erase_if(ends_, [](const std::future<void>& kept) {
        return kept.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    if (ended.valid()) ends_.push_back(std::move(ended));
}

}  // namespace vorek
