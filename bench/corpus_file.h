// The corpus of won positions the solver benchmarks run on, as text: each
// position is a line "# NAME", a line "fours|threats SIDE LENGTH" (the kind
// of win, x or o to move, the winner's moves to his five on the shortest
// line), then twenty rows of twenty characters (x, o, or . for an empty
// square), then an empty line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_rules.h"

namespace vorek::bench {

struct CorpusPosition {
    ThreatBoard board;  // x is player 1
    ThreatKind kind;    // fours: a win by fours; threats: a win by threats and none by fours
    int length;
    std::string name;
};

// The positions of a corpus file; throws std::runtime_error naming the file
// and line of the first fault.
std::vector<CorpusPosition> readCorpusFile(const std::string& path);

void writeCorpusPosition(std::ostream& out, const CorpusPosition& position);

}  // namespace vorek::bench
