// The squares where a stone of the other side could spoil a given win by
// fours: every other stone of his leaves the same line winning.
//
// The line is the winner's fours and the other side's blocks, down to the
// winner's five or his move that leaves two five squares (as
// FoursSearch::winningLine gives it), from the position with the winner to
// move. Put one more stone of the other side on an empty square r first.
// The winner's fours stay fours with the same five square unless r is that
// square: their other four squares hold his stones. His last move still
// makes five, or leaves two five squares unless r is one of them. So the
// line can only fail where the other side gets a five square he did not
// have, which the winner's next four does not answer. A five square is
// four of his stones in a row of five with the fifth empty; if it is new,
// r is among the four. The other three are stones of the position, or
// blocks of the line; if none is a block, r was a four of his already (his
// own fours are answers in their own right). Otherwise, at the last of those
// blocks, the block and r share a row of five, and a stone of his on r
// changes what the block makes on that line into a four or a five. So the
// spoiling squares are: the squares of the line, the five squares its last
// move leaves, and the squares that turn one of the blocks, as it is played,
// into a four or a five on some line (on a line where the block makes a four
// already, every square near enough to change its five squares).
#pragma once

#include <vector>

#include "search/threat_space/square_set.h"
#include "search/threat_space/threat_board.h"

namespace vorek {

// The empty squares where a stone of the side not to move could spoil the
// line of the side to move (who wins by fours along it). The board is left
// as it was found.
SquareSet lineSpoilers(ThreatBoard& board, const std::vector<int>& line);

}  // namespace vorek
