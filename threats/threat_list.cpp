#include "threats/threat_list.h"

#include "threats/pattern_tables.h"
#include "threats/slot_pool.h"

namespace vorek {

using ItemPool = SlotPool<sizeof(ThreatListItem), alignof(ThreatListItem)>;

void* ThreatListItem::operator new(std::size_t) { return ItemPool::take(); }

void ThreatListItem::operator delete(void* item) noexcept { ItemPool::give(item); }

bool precedes(Threat existing, Threat candidate) {
    return rankKeyTable[candidate.pattern] < rankKeyTable[existing.pattern];
}

const ThreatListItem* findThreatAt(const ThreatListItem* list, int sq) {
    for (const ThreatListItem* item = list; item != nullptr; item = item->next)
        if (square(item->threat) == sq) return item;
    return nullptr;
}

ThreatListItem* copyThreatList(const ThreatListItem* list) {
    ThreatListItem* head = nullptr;
    ThreatListItem** tail = &head;
    for (const ThreatListItem* item = list; item != nullptr; item = item->next) {
        *tail = new ThreatListItem{item->threat, nullptr};
        tail = &(*tail)->next;
    }
    return head;
}

void assignThreatList(ThreatListItem*& list, const ThreatListItem* source) {
    ThreatListItem** link = &list;
    for (; source != nullptr; source = source->next) {
        if (*link == nullptr) *link = new ThreatListItem{source->threat, nullptr};
        else (*link)->threat = source->threat;
        link = &(*link)->next;
    }
    freeThreatList(*link);
}

void freeThreatList(ThreatListItem*& list) {
    while (list != nullptr) {
        ThreatListItem* next = list->next;
        delete list;
        list = next;
    }
}

void insertThreat(ThreatListItem*& head, SquareBytes& squares, int player, Threat t) {
    ThreatListItem** link = &head;
    while (*link != nullptr && !precedes((*link)->threat, t)) link = &(*link)->next;
    *link = new ThreatListItem{t, *link};
    squares[square(t)] |= inListFlag(player);
}

void removeSquareThreats(ThreatListItem*& head, SquareBytes& squares, int player, int sq) {
    const std::uint8_t second = secondItemFlag(player);
    ThreatListItem** link = &head;
    while (*link != nullptr) {
        ThreatListItem* item = *link;
        if (square(item->threat) != sq) {
            link = &item->next;
            continue;
        }
        *link = item->next;
        delete item;
        if ((squares[sq] & second) == 0) return;
        squares[sq] &= static_cast<std::uint8_t>(~second);
    }
    squares[sq] &= static_cast<std::uint8_t>(~inListFlag(player));
}

}  // namespace vorek
