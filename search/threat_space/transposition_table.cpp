#include "search/threat_space/transposition_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace vorek {

namespace {

// Which entry of a full bucket gives way: open entries before decided ones,
// and among those the one with the least work.
std::uint64_t keepingValue(const TableEntry& entry) {
    const bool decided = entry.pn == 0 || entry.dn == 0;
    return (decided ? std::uint64_t{1} << 32 : 0) + entry.work;
}

// The size a table starts at, when its largest is no smaller.
constexpr std::size_t FIRST_BUCKETS = (std::size_t{1} << 20) / TranspositionTable::BUCKET_BYTES;

std::size_t bucketsFor(std::size_t bytes) {
    std::size_t buckets = 1;
    while (buckets * 2 * TranspositionTable::BUCKET_BYTES <= bytes) buckets *= 2;
    return buckets;
}

}  // namespace

void TranspositionTable::Release::operator()(Bucket* table) const { ::munmap(table, bytes); }

TranspositionTable::Buckets TranspositionTable::mapBuckets(std::size_t count) {
    // An anonymous mapping is zeroed and page-aligned, and its pages are
    // made on first touch, so a large table costs only the pages a search
    // writes to. Zeroed entries belong to no search.
    static_assert(std::is_trivially_copyable_v<TableEntry>);
    const std::size_t size = count * BUCKET_BYTES;
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    return Buckets(static_cast<Bucket*>(memory), Release{size});
}

TranspositionTable::TranspositionTable(std::size_t bytes)
    : bucketCount_(std::min(bucketsFor(bytes), FIRST_BUCKETS)), largestBuckets_(bucketsFor(bytes)) {
    buckets_ = mapBuckets(bucketCount_);
}

TranspositionTable::~TranspositionTable() = default;

const TableEntry* TranspositionTable::find(std::uint64_t key) const {
    const TableEntry* bucket = bucketOf(key);
    for (int i = 0; i < BUCKET; ++i)
        if (bucket[i].key == key && bucket[i].generation == generation_) return &bucket[i];
    return nullptr;
}

TableEntry* TranspositionTable::placeFor(std::uint64_t key) {
    TableEntry* bucket = bucketOf(key);
    for (int i = 0; i < BUCKET; ++i)
        if (bucket[i].key == key && bucket[i].generation == generation_) return &bucket[i];
    for (int i = 0; i < BUCKET; ++i) {
        if (bucket[i].generation != generation_) {
            ++entries_;
            return &bucket[i];
        }
    }
    return std::min_element(bucket, bucket + BUCKET, [](const TableEntry& a, const TableEntry& b) {
        return keepingValue(a) < keepingValue(b);
    });
}

void TranspositionTable::store(std::uint64_t key, ProofNumbers numbers, int best, int depth, std::uint64_t work) {
    // Three quarters full: twice the room, while the largest size allows.
    if (bucketCount_ < largestBuckets_ && 4 * entries_ >= 3 * BUCKET * bucketCount_) grow();
    TableEntry* place = placeFor(key);
    place->key = key;
    place->pn = numbers.pn;
    place->dn = numbers.dn;
    place->work = static_cast<std::uint32_t>(std::min<std::uint64_t>(work, UINT32_MAX));
    place->best = static_cast<std::int16_t>(best);
    place->depth = static_cast<std::uint8_t>(depth);
    place->generation = generation_;
}

void TranspositionTable::grow() {
    Buckets old = std::move(buckets_);
    const std::size_t oldCount = bucketCount_;
    bucketCount_ *= 2;
    buckets_ = mapBuckets(bucketCount_);
    entries_ = 0;
    for (std::size_t b = 0; b < oldCount; ++b)
        for (const TableEntry& entry : old.get()[b].entries)
            if (entry.generation == generation_) *placeFor(entry.key) = entry;
}

void TranspositionTable::clear() {
    entries_ = 0;
    if (++generation_ != 0) return;
    // The generations have come round: entries of old searches could pass
    // for new ones, so they are wiped.
    std::memset(static_cast<void*>(buckets_.get()), 0, bucketCount_ * BUCKET_BYTES);
    generation_ = 1;
}

}  // namespace vorek
