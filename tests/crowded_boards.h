// Crowded boards for the tests of the threat search: a background of stones
// that gives neither side more than two in a row, with a hole near the centre
// where random stones leave few empty squares, so that trying every move
// stays cheap.
#pragma once

#include <optional>
#include <random>
#include <vector>

#include "tests/exhaustive_game.h"

namespace vorek::testing {

// The background alone.
Cells crowdedBackground();

// The hole's squares get stones in turn, x three times in four, of the other
// colour where the first would leave a five square; nullopt where neither can.
std::optional<Cells> fillHole(Cells cells, std::vector<int> hole, std::size_t stones, std::mt19937& random);

// A square hole near the centre, `side` squares wide, with `empty` empty
// squares left in it.
std::optional<Cells> squareHolePosition(std::mt19937& random, int side = 6, std::size_t empty = 12);

// Two or three lines of six squares crossing near the centre at their third
// or fourth square, each ended by o on both sides, with two stones of x on
// each line in its middle four squares and now and then one of o: room for
// threes that cross, and few empty squares.
std::optional<Cells> crossingLinesPosition(std::mt19937& random);

}  // namespace vorek::testing
