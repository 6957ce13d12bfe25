#include "app/edit/position_editor.h"

#include <algorithm>
#include <cassert>

#include "board/evaluation.h"

namespace vorek {

namespace {

constexpr char NO_STONE = '-';

constexpr char otherLetter(char letter) { return letter == 'x' ? 'o' : 'x'; }

}  // namespace

PositionEditor::PositionEditor(const V2Board& shown, char player1Letter, const MoveNumbers& numbers) {
    const char player0Letter = otherLetter(player1Letter);
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const std::uint8_t flags = shown.squares[s];
        const auto at = static_cast<std::size_t>(s);
        setup_.letters[at] = isEmptySquare(flags) ? NO_STONE : stoneOwner(flags) == 1 ? player1Letter : player0Letter;
        setup_.numbers[at] = isEmptySquare(flags) ? 0 : numbers[at];
    }
    setup_.toMove = shown.sideToMove == 1 ? player1Letter : player0Letter;
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

PositionOrigin PositionEditor::origin() const {
    PositionOrigin origin;
    origin.player1Letter = setup_.toMove;
    origin.numbers = setup_.numbers;
    origin.nextNumber = *std::max_element(origin.numbers.begin(), origin.numbers.end()) + 1;
    return origin;
}

// The stones of the letter to move are player 1's, as a reader of the
// position files makes them.
std::unique_ptr<V2Board> PositionEditor::position() const {
    auto board = std::make_unique<V2Board>();
    int stones = 0;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const char letter = setup_.letters[static_cast<std::size_t>(s)];
        if (letter == NO_STONE) continue;
        board->squares[s] = letter == setup_.toMove ? PLAYER1_STONE : PLAYER0_STONE;
        ++stones;
    }
    board->stoneCount = static_cast<std::int16_t>(stones);
    syncLines(*board);
    return board;
}

void PositionEditor::evaluate() {
    board_ = position();
    evaluateAll(*board_);
}

}  // namespace vorek
