// The analysis in the window's words: evaluations, win rates, counts, lines
// in x,y, a think's progress and the check of a mate claim.
#pragma once

#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

#include "opponent/engine_line.h"
#include "opponent/mate_claim.h"

namespace vorek {

class ThinkLines;

// A score as the engine gives it ("183", "-19"); a mate for the side to move
// "M7", against it "-M7".
QString evalWords(const Evaluation& eval);
// "71.4%".
QString winrateWords(double winrate);
// What a move's mark on the board says: the win rate in per cent ("71"), or
// without one the evaluation, a score of four digits or more in thousands
// ("1.2k"); a mate always as a mate.
QString badgeWords(const std::optional<Evaluation>& eval, const std::optional<double>& winrate);
// "850", "12.3k", "4.5M".
QString countWords(std::int64_t count);
// "6,12 5,13 9,9".
QString lineWords(const std::vector<int>& squares);
// "14-25": the depth and the selective depth where it goes deeper, as far as given.
QString depthWords(const SearchLine& line);
// "depth 14-25, 2.3M nodes, 850k nodes/s, 3.1 s": what the lines say of the
// whole think, as far as they say it; empty when they say nothing.
QString progressWords(const ThinkLines& lines);
// The check of a claim: "M7: proved by threats (9 plies: 6,12 ...)" or
// "M7: not confirmed (...)"; its details for a tool tip in `details`.
QString mateCheckWords(const MateClaimCheck& check, QString* details = nullptr);
// The engine's text made fit to show in a line: its control characters
// blanked, cut at `most` characters.
QString shownText(std::string_view text, qsizetype most = 300);

}  // namespace vorek
