// Fixed-size slots for the small records that a growing tree makes and frees
// by the million (nodes, boards): blocks of slots shared by all threads, each
// thread taking and giving back slots through a small cache of its own, so
// that a slot costs a few instructions whatever state the general allocator
// is in, and records made one after the other lie close together.
//
// Blocks whose every slot is free can be handed back to the system
// (releaseUnusedPoolMemory), for instance after a large tree was deleted.
//
// Under the address sanitizer every record comes from the general allocator
// instead, so that the sanitizer sees each one.
#pragma once

#include <cstddef>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOREK_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VOREK_ADDRESS_SANITIZER 1
#endif

namespace vorek {

namespace slot_pool {

// The shared part of every pool: blocks, the free slots not held by a
// thread, and a lock. Defined in slot_pool.cpp.
class SharedSlots;

// Slots held by one thread for one pool. Trivially destructible, so that it
// can still be used (through the shared part) after its thread's cache was
// handed back at thread exit.
struct ThreadCache {
    void* head = nullptr;
    std::size_t count = 0;
    bool handedBack = false;
};

SharedSlots& sharedSlots(std::size_t slotSize);
void* takeSlot(SharedSlots& shared, ThreadCache& cache);
void giveSlot(SharedSlots& shared, ThreadCache& cache, void* slot) noexcept;
// Hands the cache's slots to the shared part when its thread ends.
void handBackAtThreadExit(SharedSlots& shared, ThreadCache& cache);

}  // namespace slot_pool

template <std::size_t Size, std::size_t Align>
class SlotPool {
public:
    static void* take() {
#ifdef VOREK_ADDRESS_SANITIZER
        return ::operator new(Size);
#else
        return slot_pool::takeSlot(shared(), cache());
#endif
    }

    static void give(void* p) noexcept {
#ifdef VOREK_ADDRESS_SANITIZER
        ::operator delete(p);
#else
        slot_pool::giveSlot(shared(), cache(), p);
#endif
    }

private:
    // A slot holds the record, or the link to the next free slot.
    static constexpr std::size_t SLOT_SIZE = (Size < sizeof(void*) ? sizeof(void*) : Size) + (Align - 1) & ~(Align - 1);
    static_assert(Align <= alignof(std::max_align_t) && alignof(void*) <= Align);

    static slot_pool::SharedSlots& shared() {
        static slot_pool::SharedSlots& all = slot_pool::sharedSlots(SLOT_SIZE);
        return all;
    }
    static slot_pool::ThreadCache& cache() {
        thread_local slot_pool::ThreadCache held;
        thread_local struct HandBack {
            ~HandBack() { slot_pool::handBackAtThreadExit(shared(), held); }
        } handBack;
        (void)handBack;
        return held;
    }
};

// Hands every block whose slots are all free, in every pool, back to the
// system, and returns the general allocator's free memory too. Slots still
// held by other threads' caches keep their blocks.
void releaseUnusedPoolMemory();

}  // namespace vorek
