#include "app/solve/solve_line.h"

#include <algorithm>

namespace vorek {

namespace {

// The line up to its first move that cannot be played on the board.
std::vector<int> playableLine(const V2Board& start, std::vector<int> line) {
    const std::unique_ptr<V2Board> board = start.clone();
    std::size_t playable = 0;
    while (playable < line.size() && isSquare(line[playable]) && board->isEmpty(line[playable]))
        board->play(line[playable++]);
    line.resize(playable);
    return line;
}

}  // namespace

SolveLine::SolveLine(const V2Board& start, const StoneLabels& labels, std::vector<int> path, std::vector<int> line,
                     int restingStep)
    : start_(start.clone()),
      shown_(start.clone()),
      labels_(labels),
      path_(std::move(path)),
      line_(playableLine(start, std::move(line))) {
    restingStep_ = std::clamp(restingStep, -1, length());
    stepTo(restingStep_);
}

void SolveLine::stepTo(int step) {
    step_ = std::clamp(step, 0, length());
    shown_->copyFrom(*start_);
    for (int i = 0; i < step_; ++i) shown_->play(line_[static_cast<std::size_t>(i)]);
}

std::vector<int> SolveLine::movesShown() const {
    std::vector<int> moves = path_;
    moves.insert(moves.end(), line_.begin(), line_.begin() + step_);
    return moves;
}

MoveNumbers SolveLine::lineNumbers() const {
    MoveNumbers numbers{};
    numberStones(numbers, moves().first(static_cast<std::size_t>(step_)), 1);
    return numbers;
}

char SolveLine::letterOf(int index) const {
    const bool player1Moves = (start_->sideToMove() == PLAYER1) == (index % 2 == 0);
    return player1Moves ? labels_.player1Letter : otherLetter(labels_.player1Letter);
}

}  // namespace vorek
