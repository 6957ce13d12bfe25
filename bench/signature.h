// The search signature: the node counts of a fixed set of solves of the
// benchmark positions, hashed into one number. A change meant to keep the
// search as it is keeps the signature; a change that alters it says so and
// records the new number here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorek::bench {

struct SignatureSolve {
    std::string name;     // the position and the rules: "middlegame window", "hard 2 exact", ...
    std::uint64_t nodes;  // the nodes the solve made
};

// Runs the solves, each within its node budget, in a fixed order: the tree
// solver under the window's and the exact rules on the benchmark positions,
// then the threat search on the examples and a sample of the corpus. Quick:
// under two hundred thousand nodes in all.
std::vector<SignatureSolve> signatureSolves();

// The node counts in order, hashed (64-bit FNV-1a over their bytes).
std::uint64_t searchSignature(const std::vector<SignatureSolve>& solves);

// The signature of the search as it is.
constexpr std::uint64_t RECORDED_SEARCH_SIGNATURE = 16129857151064387007ull;

}  // namespace vorek::bench
