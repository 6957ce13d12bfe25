#include "search/threat_space/transposition_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace vorek {

namespace {

constexpr std::uint32_t NO_MOVE = 511;
constexpr std::uint32_t INFINITE_STORED = (1u << 24) - 1;

// The size a table starts at, when its largest is no smaller.
constexpr std::size_t FIRST_BUCKETS = (std::size_t{1} << 20) / TranspositionTable::BUCKET_BYTES;

std::size_t bucketsFor(std::size_t bytes) {
    std::size_t buckets = 1;
    while (buckets * 2 * TranspositionTable::BUCKET_BYTES <= bytes) buckets *= 2;
    return buckets;
}

std::uint32_t storedNumber(ProofNumber n) {
    if (n == INFINITE_PROOF) return INFINITE_STORED;
    return std::min<ProofNumber>(n, INFINITE_STORED - 1);
}

ProofNumber numberOf(std::uint32_t stored) { return stored == INFINITE_STORED ? INFINITE_PROOF : stored; }

bool decided(std::uint32_t pn, std::uint32_t dn) { return pn == 0 || dn == 0; }

}  // namespace

void TranspositionTable::Release::operator()(Bucket* table) const { ::munmap(table, bytes); }

TranspositionTable::Buckets TranspositionTable::mapBuckets(std::size_t count) {
    // An anonymous mapping is zeroed and page-aligned. Its pages are made at
    // once: the table only grows when the search has filled a good part of
    // it, so the new one is soon written all over, and making its pages in
    // one call is cheaper than a fault at each. Zeroed entries belong to no
    // search.
    const std::size_t size = count * BUCKET_BYTES;
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    return Buckets(static_cast<Bucket*>(memory), Release{size});
}

TranspositionTable::TranspositionTable(std::size_t bytes)
    : bucketCount_(std::min(bucketsFor(bytes), FIRST_BUCKETS)), largestBuckets_(bucketsFor(bytes)) {
    buckets_ = mapBuckets(bucketCount_);
}

TranspositionTable::~TranspositionTable() = default;

std::optional<TableHit> TranspositionTable::find(std::uint64_t key) const {
    const Entry* bucket = bucketOf(key);
    for (int i = 0; i < BUCKET; ++i) {
        const Entry& entry = bucket[i];
        if (!holds(entry, key)) continue;
        return TableHit{{numberOf(entry.pn), numberOf(entry.dn)},
                        entry.best == NO_MOVE ? -1 : static_cast<int>(entry.best),
                        static_cast<int>(entry.depth),
                        entry.workLog ? std::uint32_t{1} << (entry.workLog - 1) : 0};
    }
    return std::nullopt;
}

TranspositionTable::Entry* TranspositionTable::placeFor(std::uint64_t key) {
    Entry* bucket = bucketOf(key);
    for (int i = 0; i < BUCKET; ++i)
        if (holds(bucket[i], key)) return &bucket[i];
    for (int i = 0; i < BUCKET; ++i) {
        if (bucket[i].generation != generation_) {
            ++entries_;
            return &bucket[i];
        }
    }
    // Open entries give way before decided ones, and among those the one
    // with the least work.
    return std::min_element(bucket, bucket + BUCKET, [](const Entry& a, const Entry& b) {
        const bool aDecided = decided(a.pn, a.dn);
        const bool bDecided = decided(b.pn, b.dn);
        return aDecided != bDecided ? bDecided : a.workLog < b.workLog;
    });
}

void TranspositionTable::store(std::uint64_t key, ProofNumbers numbers, int best, int depth, std::uint64_t work) {
    if (bucketCount_ < largestBuckets_ && 4 * entries_ >= BUCKET * bucketCount_) grow();
    Entry* place = placeFor(key);
    while (bucketCount_ < largestBuckets_ && place->generation == generation_ && !holds(*place, key) &&
           decided(place->pn, place->dn)) {
        grow();
        place = placeFor(key);
    }
    place->check = key >> CHECK_SHIFT;
    place->best = best >= 0 ? static_cast<std::uint32_t>(best) : NO_MOVE;
    place->workLog = static_cast<std::uint32_t>(std::bit_width(work));  // at most 64
    place->pn = storedNumber(numbers.pn);
    place->depth = static_cast<std::uint32_t>(depth);
    place->dn = storedNumber(numbers.dn);
    place->generation = generation_;
}

void TranspositionTable::grow() {
    const Buckets old = std::move(buckets_);
    const std::size_t oldCount = bucketCount_;
    bucketCount_ *= 2;
    buckets_ = mapBuckets(bucketCount_);
    entries_ = 0;
    for (std::size_t b = 0; b < oldCount; ++b) {
        for (const Entry& entry : old.get()[b].entries) {
            if (entry.generation != generation_) continue;
            // The check is all of the key the table looks at.
            *placeFor(static_cast<std::uint64_t>(entry.check) << CHECK_SHIFT) = entry;
        }
    }
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
