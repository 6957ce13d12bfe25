// The candidate move generator: decides a position at once (win or loss for the
// side to move) or lists, in order, the moves worth trying.
#pragma once

#include <array>
#include <bitset>
#include <cassert>
#include <cstdint>
#include <span>

#include "board/v2board.h"

namespace vorek {

enum GenerateResult : int {
    GENERATE_LOSS = -1,  // the side to move cannot stop the opponent; the list holds the opponent's square
    GENERATE_OPEN = 0,   // the list holds the candidates in order
    GENERATE_WIN = 1,    // the side to move wins by force; the list holds the winning move
};

// The generator's output, and its scratch, in the caller's hands: each caller
// (each thread) has its own. Entries 0 .. count()-1 are the candidates, each
// square once.
class CandidateList {
public:
    CandidateList() = default;
    CandidateList(const CandidateList&) = delete;
    CandidateList& operator=(const CandidateList&) = delete;

    int count() const { return count_; }
    bool empty() const { return count_ == 0; }
    int operator[](int i) const {
        assert(i >= 0 && i < count_);
        return squares_[static_cast<std::size_t>(i)];
    }
    const std::int32_t* begin() const { return squares_.data(); }
    const std::int32_t* end() const { return squares_.data() + count_; }
    std::span<const std::int32_t> squares() const { return {begin(), end()}; }
    // Whether the square is listed.
    bool contains(int square) const {
        assert(isSquare(square));
        return listed_[static_cast<std::size_t>(square)];
    }

    // Appends the square unless it is listed already; true when appended.
    bool push(int square) {
        assert(isSquare(square));
        if (contains(square)) return false;
        assert(count_ < BOARD_SQUARES);
        squares_[static_cast<std::size_t>(count_++)] = square;
        listed_.set(static_cast<std::size_t>(square));
        return true;
    }
    // Keeps the first `count` entries only.
    void truncate(int count) {
        assert(count >= 0 && count <= count_);
        while (count_ > count) listed_.reset(static_cast<std::size_t>(squares_[static_cast<std::size_t>(--count_)]));
    }
    void clear() { truncate(0); }

    // The places from entry `from` on, for a fill that orders squares there
    // before it lists them (listScratch).
    std::int32_t* scratch(int from) {
        assert(from >= count_ && from < BOARD_SQUARES);
        return squares_.data() + from;
    }
    // Lists the first n squares of the scratch from entry count() on, none of
    // them listed yet.
    void listScratch(int n) {
        assert(n >= 0 && count_ + n <= BOARD_SQUARES);
        for (int i = 0; i < n; ++i) listed_.set(static_cast<std::size_t>(squares_[static_cast<std::size_t>(count_++)]));
    }

private:
    std::int32_t count_ = 0;
    std::array<std::int32_t, BOARD_SQUARES> squares_;  // written before read
    std::bitset<BOARD_SQUARES> listed_;
};

// The cut-off of the scored fill: 1% of the best score, with 0.01 taken as the
// single-precision constant 0.0099999998 and the product truncated.
constexpr std::int64_t scoreThreshold(std::int64_t best) {
    return static_cast<std::int64_t>(static_cast<double>(best) * static_cast<double>(0.01f));
}

// Runs the generator on the position: the result, and the squares in `out`,
// which it empties first.
GenerateResult generateCandidates(const V2Board& board, CandidateList& out);

// Appends the squares where the defender can answer the attacker's threat t, and
// returns how many defending squares it found, those already listed included.
int addDefences(const V2Board& board, Threat t, Player defender, CandidateList& out);

// Appends up to n squares not listed yet, chosen by their pattern score for
// both players.
void addScoredCandidates(const V2Board& board, int n, CandidateList& out);

}  // namespace vorek
