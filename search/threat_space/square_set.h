// A set of squares of the board as 400 bits: the threat search keeps one per
// player and kind of move, and answers "where", "how many" and "which of
// these are also those" with a few word operations.
#pragma once

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

#include "threats/threat.h"

namespace vorek {

class SquareSet {
public:
    static constexpr int WORDS = (BOARD_SQUARES + 63) / 64;

    constexpr bool contains(int square) const {
        assert(square >= 0 && square < BOARD_SQUARES);
        return (words_[square >> 6] >> (square & 63) & 1) != 0;
    }
    constexpr void insert(int square) {
        assert(square >= 0 && square < BOARD_SQUARES);
        words_[square >> 6] |= std::uint64_t{1} << (square & 63);
    }
    constexpr void erase(int square) {
        assert(square >= 0 && square < BOARD_SQUARES);
        words_[square >> 6] &= ~(std::uint64_t{1} << (square & 63));
    }

    // Where `flip` holds: takes the square out if it is in, puts it in if not.
    constexpr void flipIf(int square, bool flip) {
        assert(square >= 0 && square < BOARD_SQUARES);
        words_[square >> 6] ^= std::uint64_t{flip} << (square & 63);
    }

    constexpr bool empty() const {
        std::uint64_t any = 0;
        for (const std::uint64_t w : words_) any |= w;
        return any == 0;
    }
    constexpr int count() const {
        int n = 0;
        for (const std::uint64_t w : words_) n += std::popcount(w);
        return n;
    }
    // Whether the set holds two squares or more; quicker than count().
    constexpr bool severalSquares() const {
        int nonEmpty = 0;
        for (const std::uint64_t w : words_) {
            if (w & (w - 1)) return true;
            nonEmpty += w != 0;
        }
        return nonEmpty > 1;
    }
    // The square with the smallest index; -1 when the set is empty.
    constexpr int first() const {
        for (int i = 0; i < WORDS; ++i)
            if (words_[i] != 0) return i * 64 + std::countr_zero(words_[i]);
        return -1;
    }

    constexpr SquareSet& operator&=(const SquareSet& other) {
        for (int i = 0; i < WORDS; ++i) words_[i] &= other.words_[i];
        return *this;
    }
    constexpr SquareSet& operator|=(const SquareSet& other) {
        for (int i = 0; i < WORDS; ++i) words_[i] |= other.words_[i];
        return *this;
    }
    // The squares of this set that are not in the other.
    constexpr SquareSet& operator-=(const SquareSet& other) {
        for (int i = 0; i < WORDS; ++i) words_[i] &= ~other.words_[i];
        return *this;
    }
    friend constexpr SquareSet operator&(SquareSet a, const SquareSet& b) { return a &= b; }
    friend constexpr SquareSet operator|(SquareSet a, const SquareSet& b) { return a |= b; }
    friend constexpr SquareSet operator-(SquareSet a, const SquareSet& b) { return a -= b; }
    friend constexpr bool operator==(const SquareSet&, const SquareSet&) = default;

    // Calls visit(square) for each square, smallest index first.
    template <typename Visit>
    constexpr void forEach(Visit visit) const {
        for (int i = 0; i < WORDS; ++i)
            for (std::uint64_t w = words_[i]; w != 0; w &= w - 1) visit(i * 64 + std::countr_zero(w));
    }

private:
    std::array<std::uint64_t, WORDS> words_{};
};

}  // namespace vorek
