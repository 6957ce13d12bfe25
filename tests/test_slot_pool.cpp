// Slots of the record pools: handed out and back across threads, and their
// blocks returned to the system once every slot is free.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "search/process_memory.h"
#include "threats/slot_pool.h"

namespace vorek {
namespace {

using TestPool = SlotPool<56, 8>;

// Under the sanitizers memory is the sanitizers' to keep or return.
#if !defined(VOREK_ADDRESS_SANITIZER) && !defined(__SANITIZE_THREAD__)
TEST(SlotPool, MemoryOfFreedSlotsGoesBackToTheSystem) {
    constexpr std::size_t SLOTS = 1'000'000;  // 56 MB of slots
    releaseUnusedPoolMemory();
    const std::size_t before = currentMemory();
    std::vector<void*> slots(SLOTS);
    // Made on another thread, freed on this one: each thread's cache goes
    // back to the shared slots when the thread ends.
    std::thread([&slots] {
        for (void*& slot : slots) {
            slot = TestPool::take();
            static_cast<char*>(slot)[0] = 1;  // touched, so resident
        }
    }).join();
    EXPECT_GT(currentMemory(), before + 40'000'000);
    for (void* slot : slots) TestPool::give(slot);
    std::vector<void*>().swap(slots);
    releaseUnusedPoolMemory();
    EXPECT_LT(currentMemory(), before + 10'000'000);

    // The pool still hands out slots afterwards.
    void* again = TestPool::take();
    ASSERT_NE(again, nullptr);
    TestPool::give(again);
}
#endif

}  // namespace
}  // namespace vorek
