// The line a solve found, from the position it solved, stepped through move
// by move: the board after each step, the moves that led there from the
// position's source, and the numbers of the line's stones. It keeps a copy
// of everything it shows, so that it stays true whatever happens to the
// tree the solve started in.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "board/move_numbers.h"
#include "board/v2board.h"
#include "files/position_source.h"

namespace vorek {

class SolveLine {
public:
    // The line from `start`, a position reached by `path` from the one the
    // labels describe. The line ends before a move that is off the board or
    // on a stone, which no solve reports. The start board is only read. It
    // shows the step the window's selected node stands at, `restingStep`
    // (0: the start; 1: the line's first move, where the solve selected it;
    // -1: none, the start shown), held to the line.
    SolveLine(const V2Board& start, const StoneLabels& labels, std::vector<int> path, std::vector<int> line,
              int restingStep = 0);

    // The moves of the line, in order.
    std::span<const int> moves() const { return line_; }
    int length() const { return static_cast<int>(line_.size()); }
    // The moves shown: 0 for the start position, length() after the last move.
    int step() const { return step_; }
    // Shows the position after `step` moves, held to 0..length().
    void stepTo(int step);
    // The step whose position the window's selected node holds; -1 for none.
    int restingStep() const { return restingStep_; }

    // The position after step() moves of the line.
    V2Board& board() { return *shown_; }
    const StoneLabels& labels() const { return labels_; }
    // The moves from the labels' position to the one shown: the path, then
    // the first step() moves of the line.
    std::vector<int> movesShown() const;
    // Numbers on the line's stones shown alone, from 1 for its first move.
    MoveNumbers lineNumbers() const;
    // The letter of the side that plays the line's move `index` (0-based).
    char letterOf(int index) const;

private:
    std::unique_ptr<V2Board> start_;
    std::unique_ptr<V2Board> shown_;
    StoneLabels labels_;
    std::vector<int> path_;
    std::vector<int> line_;
    int step_ = 0;
    int restingStep_ = 0;
};

}  // namespace vorek
