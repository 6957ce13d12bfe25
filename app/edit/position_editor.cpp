#include "app/edit/position_editor.h"

#include <cassert>

namespace vorek {

namespace {

constexpr char NO_STONE = '-';

}  // namespace

PositionEditor::PositionEditor(const V2Board& shown, char player1Letter, const MoveNumbers& numbers,
                               char blackLetter)
    : blackLetter_(blackLetter) {
    const char player0Letter = otherLetter(player1Letter);
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const auto at = static_cast<std::size_t>(s);
        setup_.letters[at] = shown.isEmpty(s) ? NO_STONE : shown.stoneAt(s) == PLAYER1 ? player1Letter : player0Letter;
        setup_.numbers[at] = shown.isEmpty(s) ? 0 : numbers[at];
    }
    setup_.toMove = shown.sideToMove() == PLAYER1 ? player1Letter : player0Letter;
    evaluate();
}

void PositionEditor::click(int square, bool mover) {
    assert(square >= 0 && square < BOARD_SQUARES);
    Setup next = setup_;
    char& letter = next.letters[static_cast<std::size_t>(square)];
    if (letter != NO_STONE)
        letter = NO_STONE;
    else
        letter = mover ? next.toMove : otherLetter(next.toMove);
    // A stone taken off loses its number, and a stone put on has none.
    next.numbers[static_cast<std::size_t>(square)] = 0;
    change(next);
}

void PositionEditor::swapSideToMove() {
    Setup next = setup_;
    next.toMove = otherLetter(next.toMove);
    change(next);
}

void PositionEditor::clear() {
    Setup next = setup_;
    next.letters.fill(NO_STONE);
    next.numbers.fill(0);
    change(next);
}

bool PositionEditor::undo() {
    if (undo_.empty()) return false;
    setup_ = undo_.back();
    undo_.pop_back();
    evaluate();
    return true;
}

void PositionEditor::change(const Setup& next) {
    if (next == setup_) return;
    undo_.push_back(setup_);
    setup_ = next;
    evaluate();
}

PositionSource PositionEditor::position() const { return editedPosition(stones(), setup_.toMove, setup_.numbers); }

// The stones of the letter to move are player 1's, as a reader of the
// position files makes them.
Stones PositionEditor::stones() const {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const char letter = setup_.letters[static_cast<std::size_t>(s)];
        if (letter != NO_STONE) stones.put(s, letter == setup_.toMove ? PLAYER1 : PLAYER0);
    }
    return stones;
}

void PositionEditor::evaluate() { board_ = position().board; }

}  // namespace vorek
