// One player's threats in rank order, the most urgent first, and the list
// operations that keep the square flags in step with the lists.
//
// A list is a sequence of threat values in one block of memory, so that a
// walk, an insertion or a removal touches neighbouring memory and copying a
// list is one copy. Its order is the rank order: smaller cn first, then
// smaller tn, then larger weight, and among equals the order of insertion.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "threats/list_flags.h"
#include "threats/threat.h"

namespace vorek {

class ThreatList {
public:
    ThreatList() = default;
    ThreatList(const ThreatList& other);
    // Makes this list hold the other's values, reusing its block when it is large enough.
    ThreatList& operator=(const ThreatList& other);
    ~ThreatList();

    const Threat* begin() const { return items_; }
    const Threat* end() const { return items_ + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The head: the most urgent threat. The list must not be empty.
    const Threat& front() const {
        assert(size_ > 0);
        return items_[0];
    }
    const Threat& operator[](std::size_t i) const {
        assert(i < size_);
        return items_[i];
    }

    // Inserts t after every item of equal or better rank.
    void insert(Threat t);
    // The position of the first item on the square at or after from; size()
    // if there is none.
    std::size_t findSquare(int square, std::size_t from = 0) const;
    // Removes the item at the position, which must hold one; the later items
    // move up one place.
    void erase(std::size_t position);
    // Removes every item.
    void clear() { size_ = 0; }

private:
    void reserve(std::uint32_t capacity);

    Threat* items_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
};

// True when candidate must stand before existing: smaller cn, then smaller tn,
// then larger weight. Equal rank gives false.
bool precedes(Threat existing, Threat candidate);

// The first item, from the head, on the given square; null if there is none.
const Threat* findThreatAt(const ThreatList& list, int square);

// Inserts t after every item of equal or better rank, and sets the player's
// in-list flag on square(t).
void insertThreat(ThreatList& list, SquareBytes& squares, Player player, Threat t);

// Removes the square's items from the list: both of them while the player's
// second-item flag is set on the square (clearing it), otherwise the first.
// A walk that finds no item clears the square's in-list flag.
void removeSquareThreats(ThreatList& list, SquareBytes& squares, Player player, int square);

}  // namespace vorek
