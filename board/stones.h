// The stones of a position square by square, with nothing judged about them:
// what a reader of files, a game record, a position editor or an engine hands
// to V2Board::fromStones.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>

#include "threats/player.h"
#include "threats/square.h"

namespace vorek {

class Stones {
public:
    // No stone anywhere.
    Stones() = default;

    // The owner of the stone on the square; nullopt for an empty square.
    std::optional<Player> at(int square) const {
        assert(isSquare(square));
        const std::uint8_t owner = owners_[static_cast<std::size_t>(square)];
        return owner == NONE ? std::nullopt : std::optional(Player(owner));
    }
    bool isEmpty(int square) const { return !at(square); }

    // Puts a stone of the owner on an empty square.
    void put(int square, Player owner) {
        assert(isEmpty(square));
        owners_[static_cast<std::size_t>(square)] = static_cast<std::uint8_t>(playerIndex(owner));
        ++count_;
    }

    int count() const { return count_; }

    friend bool operator==(const Stones&, const Stones&) = default;

private:
    static constexpr std::uint8_t NONE = 2;  // beside the players' indices 0 and 1
    std::array<std::uint8_t, BOARD_SQUARES> owners_ = emptyOwners();
    int count_ = 0;

    static constexpr std::array<std::uint8_t, BOARD_SQUARES> emptyOwners() {
        std::array<std::uint8_t, BOARD_SQUARES> owners{};
        owners.fill(NONE);
        return owners;
    }
};

}  // namespace vorek
