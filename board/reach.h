// The eight half-lines from a square and how far each reaches on the board.
#pragma once

#include <array>
#include <cstdint>

#include "threats/threat.h"

namespace vorek {

// Half-lines in the order in which a move's surroundings are re-judged.
enum HalfLine { LEFT, RIGHT, UP, DOWN, UP_LEFT, DOWN_RIGHT, DOWN_LEFT, UP_RIGHT, HALF_LINES };

struct HalfLineStep {
    int dx;
    int dy;
    constexpr int index() const { return dy * BOARD_SIDE + dx; }
};

constexpr std::array<HalfLineStep, HALF_LINES> HALF_LINE_STEPS{{
    {-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, 1}, {-1, 1}, {1, -1},
}};

using ReachTable = std::array<std::array<std::int16_t, BOARD_SQUARES>, HALF_LINES>;

// Entry [h][s]: the farthest square within four steps of s along half-line h
// that is still on the board; s itself at the edge.
constexpr ReachTable buildReachTable() {
    ReachTable table{};
    for (int h = 0; h < HALF_LINES; ++h) {
        const auto [dx, dy] = HALF_LINE_STEPS[h];
        for (int s = 0; s < BOARD_SQUARES; ++s) {
            const int x = s % BOARD_SIDE;
            const int y = s / BOARD_SIDE;
            int n = 4;
            while (n > 0) {
                const int fx = x + n * dx;
                const int fy = y + n * dy;
                if (fx >= 0 && fx < BOARD_SIDE && fy >= 0 && fy < BOARD_SIDE) break;
                --n;
            }
            table[h][s] = static_cast<std::int16_t>((y + n * dy) * BOARD_SIDE + x + n * dx);
        }
    }
    return table;
}

inline constexpr ReachTable reachTable = buildReachTable();

// The two half-lines of each line through a square, indexed row, column,
// diagonal, antidiagonal: the far side (towards the smaller column; upwards for
// the column), where a segment starts, then the near side.
struct LineHalves {
    HalfLine far;
    HalfLine near;
};
inline constexpr std::array<LineHalves, 4> LINE_HALVES{{
    {LEFT, RIGHT}, {UP, DOWN}, {UP_LEFT, DOWN_RIGHT}, {DOWN_LEFT, UP_RIGHT},
}};

// How many squares half-line h walks from s before reaching its reach entry.
constexpr int reachSteps(int h, int s) {
    return (reachTable[h][s] - s) / HALF_LINE_STEPS[h].index();
}

}  // namespace vorek
