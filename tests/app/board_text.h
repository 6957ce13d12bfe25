// A position as text, to compare two boards whole: what `vorek-cli show`
// prints of it (side to move, stones, square flags, both threat lists, the
// generator's answer), and the lines of a threat list box.
#pragma once

#include <QStringList>
#include <sstream>
#include <string>

#include "board/candidates.h"
#include "board/threat_text.h"
#include "tests/board_builder.h"

namespace vorek::testing {

inline std::string showText(const V2Board& board) {
    std::ostringstream out;
    out << "side " << playerIndex(board.sideToMove()) << "\nstones " << board.stoneCount() << "\nflags";
    for (int s = 0; s < BOARD_SQUARES; ++s) out << ' ' << int{board.flags(s)};
    for (const Player player : PLAYERS) {
        out << "\nlist" << playerIndex(player);
        for (const Threat t : listOf(board, player)) out << ' ' << t.place << ':' << t.pattern;
    }
    CandidateList candidates;
    const GenerateResult result = generateCandidates(board, candidates);
    out << "\ngenerate " << result;
    for (const int square : candidates) out << ' ' << square;
    return out.str();
}

inline QStringList threatLines(const V2Board& board, int player) {
    struct Lines final : LineSink {
        QStringList lines;
        void addLine(std::string_view line) override {
            lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        }
    } sink;
    fillThreatList(board, sink, player);
    return sink.lines;
}

}  // namespace vorek::testing
