#include "threats/threat_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "threats/pattern_tables.h"

namespace vorek {

namespace {

constexpr std::uint32_t FIRST_CAPACITY = 16;

}  // namespace

ThreatList::ThreatList(const ThreatList& other) { *this = other; }

ThreatList& ThreatList::operator=(const ThreatList& other) {
    if (this == &other) return *this;
    if (other.size_ > capacity_) reserve(other.size_);
    if (other.size_ > 0) std::memcpy(items_, other.items_, other.size_ * sizeof(Threat));
    size_ = other.size_;
    return *this;
}

ThreatList::~ThreatList() { std::free(items_); }

void ThreatList::reserve(std::uint32_t capacity) {
    capacity = std::max({capacity, FIRST_CAPACITY, 2 * capacity_});
    void* grown = std::realloc(items_, capacity * sizeof(Threat));
    if (grown == nullptr) throw std::bad_alloc();
    items_ = static_cast<Threat*>(grown);
    capacity_ = capacity;
}

void ThreatList::insert(Threat t) {
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

void ThreatList::erase(std::size_t position) {
    std::memmove(items_ + position, items_ + position + 1, (size_ - position - 1) * sizeof(Threat));
    --size_;
}

bool precedes(Threat existing, Threat candidate) {
    return rankKeyTable[candidate.pattern] < rankKeyTable[existing.pattern];
}

const Threat* findThreatAt(const ThreatList& list, int sq) {
    for (const Threat& t : list)
        if (square(t) == sq) return &t;
    return nullptr;
}

void insertThreat(ThreatList& list, SquareBytes& squares, int player, Threat t) {
    list.insert(t);
    squares[square(t)] |= inListFlag(player);
}

void removeSquareThreats(ThreatList& list, SquareBytes& squares, int player, int sq) {
    const std::uint8_t second = secondItemFlag(player);
    std::size_t i = 0;
    while (i < list.size()) {
        if (square(list[i]) != sq) {
            ++i;
            continue;
        }
        list.erase(i);
        if ((squares[sq] & second) == 0) return;
        squares[sq] &= static_cast<std::uint8_t>(~second);
    }
    squares[sq] &= static_cast<std::uint8_t>(~inListFlag(player));
}

}  // namespace vorek
