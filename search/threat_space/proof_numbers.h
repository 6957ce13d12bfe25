// Proof and disproof numbers of the threat search, told from the attacker's
// side: pn 0 is a proved win by threats, dn 0 a proof that there is none.
#pragma once

#include <cstdint>
#include <limits>

namespace vorek {

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

}  // namespace vorek
