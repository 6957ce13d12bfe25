#include "threats/threat_list.h"

#include <memory>
#include <new>
#include <vector>

#include "threats/pattern_tables.h"

namespace vorek {

namespace {

// gcc names the address sanitizer with a macro, clang through __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOREK_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VOREK_ADDRESS_SANITIZER)
constexpr bool kPooled = false;  // let the address sanitizer see every item
#else
constexpr bool kPooled = true;
#endif

// Free list of item-sized slots, refilled a block at a time. Blocks are kept
// for the life of the thread: freed slots go back on the list for reuse.
class ItemPool {
public:
    void* take() {
        if (free_ == nullptr) refill();
        Slot* slot = free_;
        free_ = slot->next;
        return slot;
    }
    void give(void* p) noexcept {
        auto* slot = static_cast<Slot*>(p);
        slot->next = free_;
        free_ = slot;
    }

private:
    union Slot {
        Slot* next;
        alignas(ThreatListItem) unsigned char storage[sizeof(ThreatListItem)];
    };
    static constexpr std::size_t kBlockSlots = 4096;

    void refill() {
        blocks_.push_back(std::make_unique<Slot[]>(kBlockSlots));
        Slot* block = blocks_.back().get();
        for (std::size_t i = 0; i < kBlockSlots; ++i) give(&block[i]);
    }

    Slot* free_ = nullptr;
    std::vector<std::unique_ptr<Slot[]>> blocks_;
};

[[maybe_unused]] ItemPool& pool() {
    // Never destroyed: boards owned by statics may free items after thread-local
    // destructors have run.
    thread_local ItemPool* instance = new ItemPool;
    return *instance;
}

}  // namespace

void* ThreatListItem::operator new(std::size_t size) {
    if constexpr (kPooled) return pool().take();
    return ::operator new(size);
}

void ThreatListItem::operator delete(void* item) noexcept {
    if constexpr (kPooled)
        pool().give(item);
    else
        ::operator delete(item);
}

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
