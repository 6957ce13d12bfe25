// The threat search's memory of positions: a table whose largest size is
// fixed when it is made, from a position's key to what the search found there
// (its numbers, the best move, the attacker's moves left when it was
// searched, and the work it took). Positions reached by different move orders
// share an entry.
//
// Entries take 16 bytes, four to a bucket of one cache line. The table starts
// at 1 MB, so that small searches stay in the cache and touch few pages, and
// doubles when a quarter full, or when a proof or disproof of this search
// would give way, up to its largest size: the search is quick to lose its way
// when entries give way. From there on a new entry takes the place of an
// entry of an earlier search, or else of the one with the least work, keeping
// proofs and disproofs over open entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "search/proof_numbers.h"

namespace vorek {

// The attacker's moves left (to the five included) when nothing limits them.
constexpr int UNLIMITED_DEPTH = 255;

// What the table holds of a position.
struct TableHit {
    ProofNumbers numbers;
    int best;            // the move that proves it, or the most promising; -1: none
    int depth;           // the attacker's moves left when it was stored
    std::uint32_t work;  // the search steps spent below it, rounded down to a power of two
};

class TranspositionTable {
public:
    static constexpr int BUCKET = 4;
    static constexpr std::size_t BUCKET_BYTES = 64;

    // A table of at most the given bytes (at least one bucket); its memory is
    // mapped from the system as entries are first written, and given back
    // whole when the table grows or goes.
    explicit TranspositionTable(std::size_t bytes);
    ~TranspositionTable();
    TranspositionTable(const TranspositionTable&) = delete;
    TranspositionTable& operator=(const TranspositionTable&) = delete;

    // Asks for the key's bucket to be brought into the cache, for a find soon.
    void prefetch(std::uint64_t key) const { __builtin_prefetch(bucketOf(key)); }
    // What this search stored at the key, if it is still there.
    std::optional<TableHit> find(std::uint64_t key) const;
    // Records what the search found at the key, in place of what it held.
    void store(std::uint64_t key, ProofNumbers numbers, int best, int depth, std::uint64_t work);

    // Forgets every entry: the next search starts from nothing.
    void clear();

    // The size now, and the largest.
    std::size_t bytes() const { return bucketCount_ * BUCKET_BYTES; }
    std::size_t largestBytes() const { return largestBuckets_ * BUCKET_BYTES; }
    // Entries of this search.
    std::size_t entries() const { return entries_; }

private:
    // The key's high 48 bits, whose low bits choose the bucket; the numbers in
    // 24 bits (the largest is infinity; finite numbers stop one short of it);
    // and the rest.
    struct Entry {
        std::uint64_t check : 48;
        std::uint64_t best : 9;     // NO_MOVE: none
        std::uint64_t workLog : 7;  // the bits of the work
        std::uint32_t pn : 24;
        std::uint32_t depth : 8;
        std::uint32_t dn : 24;
        std::uint32_t generation : 8;
    };
    static_assert(sizeof(Entry) == 16);
    struct alignas(BUCKET_BYTES) Bucket {
        Entry entries[BUCKET];
    };
    static_assert(sizeof(Bucket) == BUCKET_BYTES);

    struct Release {
        std::size_t bytes;
        void operator()(Bucket* table) const;
    };
    using Buckets = std::unique_ptr<Bucket, Release>;
    static Buckets mapBuckets(std::size_t count);

    static constexpr int CHECK_SHIFT = 16;
    Entry* bucketOf(std::uint64_t key) const {
        return buckets_.get()[(key >> CHECK_SHIFT) & (bucketCount_ - 1)].entries;
    }
    bool holds(const Entry& entry, std::uint64_t key) const {
        return entry.generation == generation_ && entry.check == key >> CHECK_SHIFT;
    }
    // Entry slot for the key: its own, an empty one or the least valuable.
    Entry* placeFor(std::uint64_t key);
    void grow();

    Buckets buckets_;
    std::size_t bucketCount_ = 0;     // a power of two
    std::size_t largestBuckets_ = 0;  // a power of two
    std::size_t entries_ = 0;
    std::uint8_t generation_ = 1;
};

}  // namespace vorek
