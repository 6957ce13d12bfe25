#include "threats/threat_list.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "threats/pattern_tables.h"
#include "threats/slot_pool.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vorek {

ThreatList::ThreatList(const ThreatList& other) { *this = other; }

ThreatList& ThreatList::operator=(const ThreatList& other) {
    if (this == &other) return *this;
    if (other.size_ > capacity_) reserve(other.size_);
    if (other.size_ > 0) std::memcpy(items_, other.items_, other.size_ * sizeof(Threat));
    size_ = other.size_;
    return *this;
}

namespace {

// Blocks of the sizes lists mostly have come from record pools, which cost
// a few instructions where the general allocator costs a hundred: boards are
// copied, and so lists made, for every position the solver walks through.
using SmallBlocks = SlotPool<sizeof(Threat) * 32, alignof(void*)>;
using LargeBlocks = SlotPool<sizeof(Threat) * 128, alignof(void*)>;

Threat* takeBlock(std::uint32_t capacity) {
    void* block = capacity <= 32 ? SmallBlocks::take() : capacity <= 128 ? LargeBlocks::take()
                                                                         : std::malloc(capacity * sizeof(Threat));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<Threat*>(block);
}

void giveBlock(Threat* block, std::uint32_t capacity) {
    if (block == nullptr) return;
    if (capacity <= 32) {
        SmallBlocks::give(block);
    } else if (capacity <= 128) {
        LargeBlocks::give(block);
    } else {
        std::free(block);
    }
}

// The capacity a block of at least the given capacity has.
std::uint32_t blockCapacity(std::uint32_t capacity) { return capacity <= 32 ? 32 : capacity <= 128 ? 128 : capacity; }

}  // namespace

ThreatList::~ThreatList() { giveBlock(items_, capacity_); }

void ThreatList::reserve(std::uint32_t capacity) {
    capacity = blockCapacity(std::max(capacity, 2 * capacity_));
    Threat* grown = takeBlock(capacity);
    if (size_ > 0) std::memcpy(grown, items_, size_ * sizeof(Threat));
    giveBlock(items_, capacity_);
    items_ = grown;
    capacity_ = capacity;
}

void ThreatList::insert(Threat t) {
    assert(isSquare(square(t)));
    if (size_ == capacity_) reserve(size_ + 1);
    // After the last item that t does not precede: the list is in rank order.
    const Threat* after = std::upper_bound(items_, items_ + size_, t, [](Threat a, Threat b) {
        return rankKeyTable[a.pattern] < rankKeyTable[b.pattern];
    });
    const auto position = static_cast<std::uint32_t>(after - items_);
    std::memmove(items_ + position + 1, items_ + position, (size_ - position) * sizeof(Threat));
    items_[position] = t;
    ++size_;
}

// A threat's square lies in the high bits of its 32-bit value (its place,
// square * 16 + directions, is the upper half), so one masked compare tests it,
// four items at a time where the processor has 128-bit integer vectors.
std::size_t ThreatList::findSquare(int square, std::size_t from) const {
    assert(isSquare(square));
    assert(from <= size_);
    static_assert(sizeof(Threat) == 4 && offsetof(Threat, place) == 2);
    constexpr std::uint32_t SQUARE_BITS = 0xFFF00000u;
    const std::uint32_t wanted = static_cast<std::uint32_t>(square) << 20;
    std::size_t i = from;
#ifdef __SSE2__
    const __m128i mask = _mm_set1_epi32(static_cast<int>(SQUARE_BITS));
    const __m128i key = _mm_set1_epi32(static_cast<int>(wanted));
    for (; i + 4 <= size_; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(items_ + i));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(four, mask), key));
        if (hits != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits))) / 4;
    }
#endif
    for (; i < size_; ++i) {
        std::uint32_t value;
        std::memcpy(&value, items_ + i, sizeof value);
        if ((value & SQUARE_BITS) == wanted) return i;
    }
    return size_;
}

void ThreatList::erase(std::size_t position) {
    assert(position < size_);
    std::memmove(items_ + position, items_ + position + 1, (size_ - position - 1) * sizeof(Threat));
    --size_;
}

bool precedes(Threat existing, Threat candidate) {
    assert(isPatternCode(existing.pattern) && isPatternCode(candidate.pattern));
    return rankKeyTable[candidate.pattern] < rankKeyTable[existing.pattern];
}

const Threat* findThreatAt(const ThreatList& list, int sq) {
    assert(isSquare(sq));
    const std::size_t i = list.findSquare(sq);
    return i < list.size() ? &list[i] : nullptr;
}

void insertThreat(ThreatList& list, SquareBytes& squares, Player player, Threat t) {
    list.insert(t);
    squares[square(t)] |= inListFlag(player);
}

void removeSquareThreats(ThreatList& list, SquareBytes& squares, Player player, int sq) {
    assert(isSquare(sq));
    const std::uint8_t second = secondItemFlag(player);
    std::size_t i = 0;
    while ((i = list.findSquare(sq, i)) < list.size()) {
        list.erase(i);
        if ((squares[sq] & second) == 0) return;
        squares[sq] &= static_cast<std::uint8_t>(~second);
    }
    squares[sq] &= static_cast<std::uint8_t>(~inListFlag(player));
}

}  // namespace vorek
