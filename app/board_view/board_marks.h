// What an analysis draws over the board picture: moves with a short text
// (an engine's evaluation or win rate), in the colour of the side that would
// play them, and the numbered ghost stones of a line. Drawn in the picture's
// own pixels, at any size.
#pragma once

#include <QString>
#include <vector>

class QPainter;

namespace vorek {

struct MoveBadge {
    int square = 0;
    QString text;        // a few characters; empty for none
    bool black = false;  // the colour of the side that would play it
    bool best = false;   // ringed as the first of the moves

    friend bool operator==(const MoveBadge&, const MoveBadge&) = default;
};

struct GhostStone {
    int square = 0;
    int number = 1;  // its place in the line, from 1
    bool black = false;

    friend bool operator==(const GhostStone&, const GhostStone&) = default;
};

struct BoardMarks {
    std::vector<MoveBadge> badges;
    std::vector<GhostStone> ghosts;  // drawn over the badges, which they hide

    bool empty() const { return badges.empty() && ghosts.empty(); }
    friend bool operator==(const BoardMarks&, const BoardMarks&) = default;
};

// Paints the marks with the painter, whose coordinates are the picture's
// own 401 pixels: a badge is a rounded square inside its cell, filled in its
// colour with the text in the other (white on black, black on white) so that
// it reads whichever colour moves, and the best one ringed in blue; a ghost
// stone is a see-through stone of its colour carrying its number.
void paintBoardMarks(QPainter& painter, const BoardMarks& marks);

}  // namespace vorek
