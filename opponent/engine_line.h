// What a line from a thinking engine says: the answers of the stdin/stdout
// protocol, and the search it streams after INFO SHOW_DETAIL (MESSAGE
// REALTIME lines and INFO blocks). Pure; what to do with a line is the
// session's affair.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/position_files.h"

namespace vorek {

enum class LineKind {
    Ok,        // "OK": the answer to START
    Move,      // "x,y": the engine's move
    Message,   // "MESSAGE text" that is not REALTIME
    Realtime,  // "MESSAGE REALTIME POS|DONE|BEST|LOST x,y" or "MESSAGE REALTIME REFRESH"
    Info,      // "INFO KEY value"
    Debug,     // "DEBUG text"
    Error,     // "ERROR text"
    Unknown,   // "UNKNOWN text"
    Other,     // anything else: harmless, passed over
};

enum class RealtimeKind {
    Pos,      // the search entered the root move
    Done,     // the search left the root move
    Best,     // the root move is now the best
    Lost,     // the root move loses
    Refresh,  // what was shown is out of date (no square)
};

enum class InfoKey {
    Pv,          // INFO PV i: a block about line i (from 0) begins
    PvDone,      // INFO PV DONE: the block ends
    NumPv,       // INFO NUMPV n: the lines the engine reports
    Depth,       // INFO DEPTH d
    SelDepth,    // INFO SELDEPTH d
    Nodes,       // INFO NODES n: the nodes of this line
    TotalNodes,  // INFO TOTALNODES n: the nodes of the whole think
    TotalTime,   // INFO TOTALTIME ms
    Speed,       // INFO SPEED n: nodes per second
    Eval,        // INFO EVAL v
    Winrate,     // INFO WINRATE w
    Bestline,    // INFO BESTLINE m m ...
    Other,       // any other key: harmless, passed over
};

// An engine's evaluation, for the side to move.
struct Evaluation {
    bool mate = false;  // a forced five: value counts plies, above 0 for the side to move, below 0 against it
    int value = 0;      // otherwise the engine's score, above 0 good for the side to move

    friend bool operator==(const Evaluation&, const Evaluation&) = default;
};

// "183", "-19", "+M7" or "-M12".
std::string evaluationText(const Evaluation& eval);

// The largest number of plies a mate may claim; a larger claim is malformed.
constexpr int LONGEST_MATE = 1000;

struct EngineLine {
    LineKind kind = LineKind::Other;
    MoveReply move{};  // Move, and Realtime but REFRESH: as written, not checked against the board
    RealtimeKind realtime = RealtimeKind::Refresh;
    InfoKey key = InfoKey::Other;
    // Info: the value was read. A line whose value is malformed is not
    // wellFormed, and nothing of it is taken.
    bool wellFormed = true;
    std::int64_t number = 0;  // Pv (the index), NumPv, Depth .. Speed
    Evaluation eval;          // Eval
    double winrate = 0;       // Winrate, 0..1
    // Bestline: the moves as squares, up to the first that cannot be read or
    // is off the board.
    std::vector<int> squares;
    std::string_view text;  // Message, Debug, Error, Unknown: what follows the keyword
};

// Reads one line (without its line end). Keywords are matched ignoring case,
// blanks before and between words skipped. Numbers are decimal: counts from 0
// up to 2^63 - 1, an index or a depth up to 2^31 - 1, a score any 32-bit
// integer with an optional sign, a win rate a number from 0 to 1 (exponents
// allowed). A BESTLINE move is "x,y" (column and row from 0) or a column
// letter a..t and a row number 1..20 ("h8" is 7,7), the letters of either
// case.
EngineLine parseEngineLine(std::string_view line);

// One INFO block, closed by INFO PV DONE: what the engine reports of one of
// its best lines.
struct SearchLine {
    int index = 0;  // from 0, the best first
    int count = 0;  // NUMPV: the lines the engine reports; 0 when not given
    std::optional<int> depth;
    std::optional<int> selDepth;
    std::optional<std::int64_t> nodes;
    std::optional<std::int64_t> totalNodes;
    std::optional<std::int64_t> totalTime;  // milliseconds
    std::optional<std::int64_t> speed;      // nodes per second
    std::optional<Evaluation> eval;
    std::optional<double> winrate;
    std::vector<int> line;  // squares; the first is the line's move
};

// The most lines an engine may report; an index or count above is malformed.
constexpr int MOST_LINES = 400;

// Gathers INFO lines into blocks. A block opens at INFO PV i and closes at
// INFO PV DONE; INFO lines outside a block are passed over, and a block that
// another INFO PV i or drop() cuts short is dropped.
class SearchLineReader {
public:
    // The block the line closes, if it closes one.
    std::optional<SearchLine> take(const EngineLine& line);
    // Forgets the open block (a think has ended).
    void drop() { open_.reset(); }

private:
    std::optional<SearchLine> open_;
};

}  // namespace vorek
