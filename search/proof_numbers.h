// Proof and disproof numbers, for both searches. The tree stores them as the
// window shows them, signed, with -1 for infinity; the threat search counts
// in unsigned numbers whose largest value is infinity, so that the least of
// them and their sums need no case for it. Reports and progress carry the
// tree's form, and reportedNumber turns one into the other.
//
// Told from the attacker's side: pn 0 is a proof of his win, dn 0 a proof
// that there is none.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vorek {

// In a tree's pn or dn, and in reports; 0 means proved (pn) or disproved (dn).
constexpr std::int32_t INFINITE_NUMBER = -1;

using ProofNumber = std::uint32_t;

constexpr ProofNumber INFINITE_PROOF = std::numeric_limits<ProofNumber>::max();
// The largest finite number: sums stop there, short of infinity.
constexpr ProofNumber LARGEST_PROOF = INFINITE_PROOF - 1;

struct ProofNumbers {
    ProofNumber pn = 1;
    ProofNumber dn = 1;

    constexpr bool proved() const { return pn == 0; }
    constexpr bool disproved() const { return dn == 0; }
    constexpr bool decided() const { return pn == 0 || dn == 0; }
    friend constexpr bool operator==(const ProofNumbers&, const ProofNumbers&) = default;
};

constexpr ProofNumbers PROVED{0, INFINITE_PROOF};
constexpr ProofNumbers DISPROVED{INFINITE_PROOF, 0};

// A sum that stops at the largest finite number; infinite if either is.
constexpr ProofNumber addProof(ProofNumber a, ProofNumber b) {
    if (a == INFINITE_PROOF || b == INFINITE_PROOF) return INFINITE_PROOF;
    return a >= LARGEST_PROOF - b ? LARGEST_PROOF : a + b;
}

// The number as reports and the tree tell it: -1 for infinity, the largest
// signed number for any finite number past it.
constexpr std::int32_t reportedNumber(ProofNumber n) {
    if (n == INFINITE_PROOF) return INFINITE_NUMBER;
    return static_cast<std::int32_t>(std::min<ProofNumber>(n, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace vorek
