#include "bench/corpus_file.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "board/square_flags.h"

namespace vorek::bench {

namespace {

class LineReader {
public:
    explicit LineReader(const std::string& path) : path_(path), in_(path) {
        if (!in_) throw std::runtime_error(path + ": cannot be read");
    }
    bool next(std::string& line) {
        if (!std::getline(in_, line)) return false;
        ++number_;
        while (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(path_ + ":" + std::to_string(number_) + ": " + what);
    }

private:
    std::string path_;
    std::ifstream in_;
    int number_ = 0;
};

CorpusPosition readPosition(LineReader& reader, std::string name) {
    std::string line;
    if (!reader.next(line)) reader.fail("the position's kind line is missing");
    std::istringstream header(line);
    std::string kind, side;
    int length = 0;
    if (!(header >> kind >> side >> length) || (kind != "fours" && kind != "threats") ||
        (side != "x" && side != "o") || length < 1)
        reader.fail("give \"fours|threats x|o LENGTH\", not \"" + line + "\"");
    CorpusPosition position{ThreatBoard(), kind == "fours" ? ThreatKind::Fours : ThreatKind::Threats, length,
                            std::move(name)};
    for (int y = 0; y < BOARD_SIDE; ++y) {
        if (!reader.next(line) || line.size() != BOARD_SIDE) reader.fail("a row of 20 squares is missing");
        for (int x = 0; x < BOARD_SIDE; ++x) {
            const char c = line[static_cast<std::size_t>(x)];
            if (c == 'x' || c == 'o')
                position.board.place(squareAt(x, y), c == 'x' ? PLAYER1 : PLAYER0);
            else if (c != '.')
                reader.fail(std::string("a square holds '") + c + "', not x, o or .");
        }
    }
    position.board.setSideToMove(side == "x" ? PLAYER1 : PLAYER0);
    return position;
}

}  // namespace

std::vector<CorpusPosition> readCorpusFile(const std::string& path) {
    LineReader reader(path);
    std::vector<CorpusPosition> positions;
    for (std::string line; reader.next(line);) {
        if (line.empty()) continue;
        if (!line.starts_with("# ")) reader.fail("a position starts with \"# NAME\"");
        positions.push_back(readPosition(reader, line.substr(2)));
    }
    return positions;
}

void writeCorpusPosition(std::ostream& out, const CorpusPosition& position) {
    out << "# " << position.name << '\n'
        << (position.kind == ThreatKind::Fours ? "fours" : "threats") << ' '
        << (position.board.sideToMove() == PLAYER1 ? 'x' : 'o') << ' ' << position.length << '\n';
    for (int y = 0; y < BOARD_SIDE; ++y) {
        for (int x = 0; x < BOARD_SIDE; ++x) {
            const unsigned cell = position.board.cell(squareAt(x, y));
            out << (cell == CELL_PLAYER1 ? 'x' : cell == CELL_PLAYER0 ? 'o' : '.');
        }
        out << '\n';
    }
    out << '\n';
}

}  // namespace vorek::bench
