#include "bench/self_play_opening.h"

#include "board/square_flags.h"

namespace vorek::bench {

std::vector<int> playOpening(ThreatBoard& board, std::mt19937& random, int mostStones) {
    const int stones = 2 + static_cast<int>(random() % static_cast<unsigned>(mostStones - 1));
    std::vector<int> moves;
    for (int i = 0; i < stones; ++i) {
        int s;
        do {
            s = squareAt(7 + static_cast<int>(random() % 6), 7 + static_cast<int>(random() % 6));
        } while (!board.isEmpty(s));
        board.makeMove(s);
        moves.push_back(s);
    }
    return moves;
}

}  // namespace vorek::bench
