// The threat search's memory of positions: a table whose largest size is
// fixed when it is made, from a position's key to what the search found there
// (its numbers, the best move, the attacker's moves left when it was
// searched, and the work it took). Positions reached by different move orders
// share an entry.
//
// Entries sit in buckets of two, one cache line each; a new entry takes the
// place of an entry of an earlier search, or else of the one with the least
// work, keeping proofs and disproofs over open entries. The table starts
// small, so that small searches stay in the cache, and doubles as it fills,
// up to its largest size; from there on entries give way to new ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "search/threat_space/proof_numbers.h"

namespace vorek {

// The attacker's moves left (to the five included) when nothing limits them.
constexpr int UNLIMITED_DEPTH = 255;

struct TableEntry {
    std::uint64_t key = 0;
    ProofNumber pn = 0;
    ProofNumber dn = 0;
    std::uint32_t work = 0;  // search steps spent below the position, up to 2^32 - 1
    std::int16_t best = -1;  // the move that proves it, or the most promising
    std::uint8_t depth = 0;  // the attacker's moves left when it was stored
    std::uint8_t generation = 0;

    ProofNumbers numbers() const { return {pn, dn}; }
};

class TranspositionTable {
public:
    static constexpr int BUCKET = 2;
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
    // The entry of the key from this search, or null; valid until the next store.
    const TableEntry* find(std::uint64_t key) const;
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
    struct alignas(BUCKET_BYTES) Bucket {
        TableEntry entries[BUCKET];
    };
    static_assert(sizeof(Bucket) == BUCKET_BYTES);

    TableEntry* bucketOf(std::uint64_t key) const { return buckets_.get()[key & (bucketCount_ - 1)].entries; }

    struct Release {
        std::size_t bytes;
        void operator()(Bucket* table) const;
    };
    using Buckets = std::unique_ptr<Bucket, Release>;
    static Buckets mapBuckets(std::size_t count);
    // Entry slot for the key: its own, an empty one or the least valuable.
    TableEntry* placeFor(std::uint64_t key);
    void grow();

    Buckets buckets_;
    std::size_t bucketCount_ = 0;     // a power of two
    std::size_t largestBuckets_ = 0;  // a power of two
    std::size_t entries_ = 0;
    std::uint8_t generation_ = 1;
};

}  // namespace vorek
