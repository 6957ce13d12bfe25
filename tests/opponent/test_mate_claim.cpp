// An engine's mate claim judged by our threat search, whichever side the
// board has to move: the same position with the colours swapped and the
// other player to move gets the same verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opponent/mate_claim.h"
#include "threats/square.h"

namespace vorek {
namespace {

struct ClaimCase {
    const char* name;
    std::vector<std::string> rows;  // 'm': the side to move, 'w': the other side
    Evaluation claim;
    ClaimVerdict verdict;
    int plies;  // when proved
};

// The rows with the side to move's stones as `mover` and the other's as `other`.
std::string lettered(const std::string& row, char mover, char other) {
    std::string out = row;
    for (char& c : out) c = c == 'm' ? mover : c == 'w' ? other : c;
    return out;
}

std::unique_ptr<V2Board> boardOf(const std::vector<std::string>& rows, Player toMove) {
    const char mover = toMove == PLAYER1 ? 'x' : 'o';
    const char other = toMove == PLAYER1 ? 'o' : 'x';
    Stones stones;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const std::string row = lettered(rows[y], mover, other);
        for (std::size_t x = 0; x < row.size(); ++x)
            if (row[x] != ' ')
                stones.put(squareAt(static_cast<int>(x), static_cast<int>(y)), row[x] == 'x' ? PLAYER1 : PLAYER0);
    }
    return V2Board::fromStones(stones, toMove);
}

TEST(MateClaimSearch, JudgesTheClaimForTheSideToMoveWhicheverPlayerHeIs) {
    const SolveBudget budget{.maxNodes = 100'000, .maxSeconds = 10};
    const ClaimCase cases[] = {
        {"an open three of the mover wins", {"w", "", "", "", "", "     mmm", "", "", "", "", "", "", "w   w"},
         {true, 5}, ClaimVerdict::Proved, 3},
        {"an open four of the other side beats him",
         {"m", "", "", "", "", "     wwww", "", "", "", "", "", "", "m  m"}, {true, -2}, ClaimVerdict::Proved, 2},
        {"a win claimed where he loses", {"m", "", "", "", "", "     wwww", "", "", "", "", "", "", "m  m"},
         {true, 9}, ClaimVerdict::Refuted, 0},
    };
    for (const ClaimCase& c : cases) {
        for (const Player toMove : {PLAYER1, PLAYER0}) {
            SCOPED_TRACE(std::string(c.name) + (toMove == PLAYER1 ? ", player 1 to move" : ", player 0 to move"));
            const auto board = boardOf(c.rows, toMove);
            const MateClaimCheck check = MateClaimSearch(*board, c.claim, budget).run();
            EXPECT_EQ(check.verdict, c.verdict);
            EXPECT_EQ(check.claim, c.claim);
            if (c.verdict == ClaimVerdict::Proved) {
                EXPECT_EQ(check.plies, c.plies);
            }
            EXPECT_FALSE(check.line.empty());
        }
    }
}

}  // namespace
}  // namespace vorek
