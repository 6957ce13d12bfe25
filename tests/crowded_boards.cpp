#include "tests/crowded_boards.h"

#include <algorithm>

#include "board/square_flags.h"

namespace vorek::testing {

namespace {

// Whether a stone on the square makes five or leaves a five square near it
// for either side.
bool leavesAFive(Cells& cells, int square) {
    if (ExhaustiveGame::fiveThrough(cells, square)) return true;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const int x = columnOf(square) + dx;
            const int y = rowOf(square) + dy;
            if (!onBoard(x, y) || cells[squareAt(x, y)] != '.') continue;
            for (const char stone : {'x', 'o'}) {
                cells[squareAt(x, y)] = stone;
                const bool five = ExhaustiveGame::fiveThrough(cells, squareAt(x, y));
                cells[squareAt(x, y)] = '.';
                if (five) return true;
            }
        }
    }
    return false;
}

}  // namespace

Cells crowdedBackground() {
    Cells cells;
    for (int s = 0; s < BOARD_SQUARES; ++s) cells[s] = (columnOf(s) + 2 * rowOf(s)) % 4 < 2 ? 'x' : 'o';
    return cells;
}

std::optional<Cells> fillHole(Cells cells, std::vector<int> hole, std::size_t stones, std::mt19937& random) {
    std::shuffle(hole.begin(), hole.end(), random);
    for (const int s : hole) cells[s] = '.';
    for (std::size_t i = 0; i < stones && i < hole.size(); ++i) {
        const char first = random() % 4 ? 'x' : 'o';
        cells[hole[i]] = first;
        if (!leavesAFive(cells, hole[i])) continue;
        cells[hole[i]] = first == 'x' ? 'o' : 'x';
        if (leavesAFive(cells, hole[i])) return std::nullopt;
    }
    return cells;
}

std::optional<Cells> squareHolePosition(std::mt19937& random, int side, std::size_t empty) {
    std::vector<int> hole;
    const int from = 10 - side / 2;
    for (int y = from; y < from + side; ++y)
        for (int x = from; x < from + side; ++x) hole.push_back(squareAt(x, y));
    return fillHole(crowdedBackground(), hole, hole.size() - empty, random);
}

std::optional<Cells> crossingLinesPosition(std::mt19937& random) {
    constexpr int DX[4] = {1, 0, 1, 1};
    constexpr int DY[4] = {0, 1, 1, -1};
    Cells cells = crowdedBackground();
    const int lines = 2 + static_cast<int>(random() % 2);
    constexpr int length = 6;
    const int cx = 8 + static_cast<int>(random() % 5);
    const int cy = 8 + static_cast<int>(random() % 5);
    std::vector<int> directions{0, 1, 2, 3};
    std::shuffle(directions.begin(), directions.end(), random);
    std::vector<std::vector<int>> segments;
    for (int i = 0; i < lines; ++i) {
        const int d = directions[i];
        const auto at = [&](int k) { return squareAt(cx + k * DX[d], cy + k * DY[d]); };
        std::vector<int> starts;
        for (int start = -3; start <= -2; ++start) {
            const bool ends = onBoard(cx + (start - 1) * DX[d], cy + (start - 1) * DY[d]) &&
                              onBoard(cx + (start + length) * DX[d], cy + (start + length) * DY[d]);
            if (ends && cells[at(start - 1)] == 'o' && cells[at(start + length)] == 'o') starts.push_back(start);
        }
        if (starts.empty()) return std::nullopt;
        const int start = starts[random() % starts.size()];
        std::vector<int>& segment = segments.emplace_back();
        for (int k = start; k < start + length; ++k) segment.push_back(at(k));
    }
    for (const auto& segment : segments)
        for (const int s : segment) cells[s] = '.';
    std::vector<int> stones;
    for (const auto& segment : segments) {
        std::vector<int> middle(segment.begin() + 1, segment.end() - 1);
        std::shuffle(middle.begin(), middle.end(), random);
        for (int i = 0, placed = 0; placed < 2 && i < length - 2; ++i) {
            if (cells[middle[i]] != '.' || middle[i] == squareAt(cx, cy)) continue;
            cells[middle[i]] = 'x';
            stones.push_back(middle[i]);
            ++placed;
        }
    }
    if (random() % 2) {
        const auto& segment = segments[random() % segments.size()];
        const int s = segment[random() % segment.size()];
        if (cells[s] == '.') {
            cells[s] = 'o';
            stones.push_back(s);
        }
    }
    for (const int s : stones)
        if (leavesAFive(cells, s)) return std::nullopt;
    return cells;
}

}  // namespace vorek::testing
