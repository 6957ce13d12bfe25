#include "threats/slot_pool.h"

#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vorek {

namespace slot_pool {

namespace {

// Blocks are mapped from the system directly, aligned to their size, so that
// a slot's block is found from its address and an empty block goes back to
// the system at once.
constexpr std::size_t BLOCK_BYTES = std::size_t{1} << 20;
// Slots moved between a thread's cache and the shared part at a time.
constexpr std::size_t BATCH = 256;

std::uintptr_t blockOf(const void* slot) {
    return reinterpret_cast<std::uintptr_t>(slot) & ~(BLOCK_BYTES - 1);
}

void* mapBlock() {
    // Twice the size, then the parts before and after the aligned block cut off.
    void* area = ::mmap(nullptr, 2 * BLOCK_BYTES, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (start + BLOCK_BYTES - 1) & ~(BLOCK_BYTES - 1);
    if (aligned > start) ::munmap(area, aligned - start);
    const std::uintptr_t end = start + 2 * BLOCK_BYTES;
    if (end > aligned + BLOCK_BYTES) ::munmap(reinterpret_cast<void*>(aligned + BLOCK_BYTES), end - aligned - BLOCK_BYTES);
    return reinterpret_cast<void*>(aligned);
}

void*& nextOf(void* slot) { return *static_cast<void**>(slot); }

}  // namespace

class SharedSlots {
public:
    explicit SharedSlots(std::size_t slotSize) : slotSize_(slotSize), slotsPerBlock_(BLOCK_BYTES / slotSize) {}

    // Moves up to n free slots onto the cache, mapping a block when none is free.
    void lendTo(ThreadCache& cache, std::size_t n) {
        const std::lock_guard<std::mutex> hold(lock_);
        if (free_ == nullptr) addBlock();
        while (n-- > 0 && free_ != nullptr) {
            void* slot = free_;
            free_ = nextOf(slot);
            nextOf(slot) = cache.head;
            cache.head = slot;
            ++cache.count;
        }
    }

    // Takes up to n slots from the cache.
    void takeBackFrom(ThreadCache& cache, std::size_t n) {
        const std::lock_guard<std::mutex> hold(lock_);
        while (n-- > 0 && cache.head != nullptr) {
            void* slot = cache.head;
            cache.head = nextOf(slot);
            --cache.count;
            nextOf(slot) = free_;
            free_ = slot;
        }
    }

    void* takeOne() {
        const std::lock_guard<std::mutex> hold(lock_);
        if (free_ == nullptr) addBlock();
        void* slot = free_;
        free_ = nextOf(slot);
        return slot;
    }

    void giveOne(void* slot) {
        const std::lock_guard<std::mutex> hold(lock_);
        nextOf(slot) = free_;
        free_ = slot;
    }

    // Unmaps the blocks all of whose slots are on the shared free list.
    void releaseEmptyBlocks() {
        const std::lock_guard<std::mutex> hold(lock_);
        std::vector<std::size_t> freeSlots(blocks_.size());
        for (void* slot = free_; slot != nullptr; slot = nextOf(slot)) ++freeSlots[indexOf(blockOf(slot))];
        std::vector<bool> empty(blocks_.size());
        bool any = false;
        for (std::size_t i = 0; i < blocks_.size(); ++i) any |= empty[i] = freeSlots[i] == slotsPerBlock_;
        if (!any) return;
        void** link = &free_;
        while (*link != nullptr) {
            if (empty[indexOf(blockOf(*link))]) *link = nextOf(*link);
            else link = &nextOf(*link);
        }
        std::vector<std::uintptr_t> kept;
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            if (empty[i]) ::munmap(reinterpret_cast<void*>(blocks_[i]), BLOCK_BYTES);
            else kept.push_back(blocks_[i]);
        }
        blocks_ = std::move(kept);
    }

private:
    void addBlock() {
        const std::uintptr_t block = reinterpret_cast<std::uintptr_t>(mapBlock());
        blocks_.insert(std::upper_bound(blocks_.begin(), blocks_.end(), block), block);
        // Handed out from the start of the block onwards.
        for (std::size_t i = slotsPerBlock_; i-- > 0;) {
            void* slot = reinterpret_cast<void*>(block + i * slotSize_);
            nextOf(slot) = free_;
            free_ = slot;
        }
    }

    std::size_t indexOf(std::uintptr_t block) const {
        return static_cast<std::size_t>(std::lower_bound(blocks_.begin(), blocks_.end(), block) - blocks_.begin());
    }

    const std::size_t slotSize_;
    const std::size_t slotsPerBlock_;
    std::mutex lock_;
    void* free_ = nullptr;
    std::vector<std::uintptr_t> blocks_;  // sorted
};

namespace {

// Every pool, so that their empty blocks can be released together. Never
// destroyed: records owned by statics may be freed after static destructors.
struct Registry {
    std::mutex lock;
    std::vector<SharedSlots*> pools;
};
Registry& registry() {
    static Registry* all = new Registry;
    return *all;
}

}  // namespace

SharedSlots& sharedSlots(std::size_t slotSize) {
    Registry& all = registry();
    const std::lock_guard<std::mutex> hold(all.lock);
    all.pools.push_back(new SharedSlots(slotSize));
    return *all.pools.back();
}

void* takeSlot(SharedSlots& shared, ThreadCache& cache) {
    if (cache.handedBack) return shared.takeOne();
    if (cache.head == nullptr) shared.lendTo(cache, BATCH);
    void* slot = cache.head;
    cache.head = nextOf(slot);
    --cache.count;
    return slot;
}

void giveSlot(SharedSlots& shared, ThreadCache& cache, void* slot) noexcept {
    if (cache.handedBack) {
        shared.giveOne(slot);
        return;
    }
    nextOf(slot) = cache.head;
    cache.head = slot;
    if (++cache.count > 2 * BATCH) shared.takeBackFrom(cache, BATCH);
}

void handBackAtThreadExit(SharedSlots& shared, ThreadCache& cache) {
    shared.takeBackFrom(cache, cache.count);
    cache.handedBack = true;
}

}  // namespace slot_pool

void releaseUnusedPoolMemory() {
    slot_pool::Registry& all = slot_pool::registry();
    {
        const std::lock_guard<std::mutex> hold(all.lock);
        for (slot_pool::SharedSlots* pool : all.pools) pool->releaseEmptyBlocks();
    }
    ::malloc_trim(0);
}

}  // namespace vorek
