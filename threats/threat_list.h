// Rank-ordered, singly linked threat lists and their operations.
#pragma once

#include "threats/list_flags.h"
#include "threats/threat.h"

namespace vorek {

struct ThreatListItem {
    Threat threat;
    ThreatListItem* next;

    // Items come from a pool of item-sized slots (threats/slot_pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* item) noexcept;
};

// True when candidate must stand before existing: smaller cn, then smaller tn,
// then larger weight. Equal rank gives false.
bool precedes(Threat existing, Threat candidate);

// The first item, from the head, on the given square; null if there is none.
const ThreatListItem* findThreatAt(const ThreatListItem* list, int square);

// A new list of new items with the same values in the same order.
ThreatListItem* copyThreatList(const ThreatListItem* list);

// Makes the list hold the source's values in the source's order, reusing its
// own items and freeing those left over.
void assignThreatList(ThreatListItem*& list, const ThreatListItem* source);

// Frees every item from the head and leaves the head null.
void freeThreatList(ThreatListItem*& list);

// Inserts a copy of t after every item of equal or better rank, and sets the
// player's in-list flag on square(t).
void insertThreat(ThreatListItem*& head, SquareBytes& squares, int player, Threat t);

// Removes the square's items from the list: both of them while the player's
// second-item flag is set on the square (clearing it), otherwise the first.
// A walk that finds no item clears the square's in-list flag.
void removeSquareThreats(ThreatListItem*& head, SquareBytes& squares, int player, int square);

}  // namespace vorek
