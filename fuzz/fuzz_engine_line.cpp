// What a session reads from a thinking engine, on arbitrary bytes: each line
// of the stream read as an answer, a realtime line or an INFO line, and the
// INFO lines gathered into blocks. Every value taken must be in its range,
// an evaluation must read back from its text, and a best line written in
// either notation must read back as the same squares.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "opponent/engine_line.h"
#include "opponent/line_splitter.h"
#include "threats/square.h"

namespace {

using namespace vorek;

void requireSquares(const std::vector<int>& squares) {
    for (const int square : squares)
        if (!isSquare(square)) fuzz::fail("a best line move off the board");
}

// The squares written as "x,y" and as a letter and a row number, alternately.
std::string lineText(const std::vector<int>& squares) {
    std::string text = "INFO BESTLINE";
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const int x = columnOf(squares[i]);
        const int y = rowOf(squares[i]);
        text += ' ';
        text += i % 2 == 0 ? std::to_string(x) + ',' + std::to_string(y)
                           : std::string(1, static_cast<char>('a' + x)) + std::to_string(y + 1);
    }
    return text;
}

void checkInfo(const EngineLine& line) {
    if (!line.wellFormed) return;
    switch (line.key) {
        case InfoKey::Pv:
            if (line.number < 0 || line.number >= MOST_LINES) fuzz::fail("a line index out of range");
            break;
        case InfoKey::NumPv:
            if (line.number < 1 || line.number > MOST_LINES) fuzz::fail("a line count out of range");
            break;
        case InfoKey::Depth:
        case InfoKey::SelDepth:
        case InfoKey::Nodes:
        case InfoKey::TotalNodes:
        case InfoKey::TotalTime:
        case InfoKey::Speed:
            if (line.number < 0) fuzz::fail("a negative count");
            break;
        case InfoKey::Eval:
            if (line.eval.mate && std::abs(line.eval.value) > LONGEST_MATE) fuzz::fail("a mate too long");
            if (parseEngineLine("INFO EVAL " + evaluationText(line.eval)).eval != line.eval)
                fuzz::fail("an evaluation that does not read back from its text");
            break;
        case InfoKey::Winrate:
            if (!(line.winrate >= 0 && line.winrate <= 1)) fuzz::fail("a win rate out of 0..1");
            break;
        case InfoKey::Bestline:
            requireSquares(line.squares);
            if (parseEngineLine(lineText(line.squares)).squares != line.squares)
                fuzz::fail("a best line that does not read back in either notation");
            break;
        default: break;
    }
}

void checkBlock(const SearchLine& block) {
    if (block.index < 0 || block.index >= MOST_LINES || block.count < 0 || block.count > MOST_LINES)
        fuzz::fail("a block's index or count out of range");
    if (block.winrate && !(*block.winrate >= 0 && *block.winrate <= 1)) fuzz::fail("a block's win rate out of 0..1");
    requireSquares(block.line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    const std::size_t piece = 1 + in.next() % 64;  // the stream arrives in pieces of this size
    const std::string_view bytes = in.take(size);
    LineSplitter splitter;
    SearchLineReader blocks;
    const auto read = [&blocks](const std::string& text) {
        const EngineLine line = parseEngineLine(text);
        if (!line.text.empty() &&
            (line.text.data() < text.data() || line.text.data() + line.text.size() > text.data() + text.size()))
            fuzz::fail("a line's text lies outside the line");
        if (line.kind == EngineLineKind::Info) checkInfo(line);
        if (const std::optional<SearchLine> block = blocks.take(line)) checkBlock(*block);
    };
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        splitter.feed(bytes.substr(at, piece));
        while (const std::optional<std::string> line = splitter.next()) read(*line);
    }
    if (const std::optional<std::string> last = splitter.finish()) read(*last);
    return 0;
}
