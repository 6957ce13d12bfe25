// Fixed-size slots for the small records that a growing tree makes and frees
// by the million (list items, boards, nodes): a per-thread free list refilled a
// block at a time. Taking or giving back a slot costs a few instructions
// whatever state the general allocator is in, and records made one after the
// other lie close together. Blocks stay with the thread for reuse.
//
// Under the address sanitizer every record comes from the general allocator
// instead, so that the sanitizer sees each one.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOREK_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VOREK_ADDRESS_SANITIZER 1
#endif

namespace vorek {

template <std::size_t Size, std::size_t Align>
class SlotPool {
public:
    static void* take() {
#ifdef VOREK_ADDRESS_SANITIZER
        return ::operator new(Size);
#else
        return instance().pop();
#endif
    }

    static void give(void* p) noexcept {
#ifdef VOREK_ADDRESS_SANITIZER
        ::operator delete(p);
#else
        instance().push(p);
#endif
    }

private:
    union Slot {
        Slot* next;
        alignas(Align) unsigned char storage[Size];
    };
    static constexpr std::size_t BLOCK_BYTES = std::size_t{1} << 20;
    static constexpr std::size_t BLOCK_SLOTS = BLOCK_BYTES / sizeof(Slot) > 0 ? BLOCK_BYTES / sizeof(Slot) : 1;

    // Never destroyed: records owned by statics may be freed after the
    // thread-local destructors have run.
    static SlotPool& instance() {
        thread_local SlotPool* pool = new SlotPool;
        return *pool;
    }

    void* pop() {
        if (free_ == nullptr) refill();
        Slot* slot = free_;
        free_ = slot->next;
        return slot;
    }

    void push(void* p) noexcept {
        auto* slot = static_cast<Slot*>(p);
        slot->next = free_;
        free_ = slot;
    }

    // Slots are handed out from the start of a new block onwards.
    void refill() {
        blocks_.push_back(std::make_unique<Slot[]>(BLOCK_SLOTS));
        Slot* block = blocks_.back().get();
        for (std::size_t i = BLOCK_SLOTS; i-- > 0;) push(&block[i]);
    }

    Slot* free_ = nullptr;
    std::vector<std::unique_ptr<Slot[]>> blocks_;
};

}  // namespace vorek
