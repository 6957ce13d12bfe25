// vorek-ai under the file protocol: one move from the files in the working
// directory.
#pragma once

#include <chrono>

namespace vorek {

// Reads the position from "plocha.dat" and "tah.dat" and the limits from
// "timeouts.dat" and "INFO.DAT" (readManagerFiles), all found under any case,
// in the working directory; solves for part of the turn (solvingTime) within
// the memory limit; writes its move "x,y" (column, row) into the "tah.dat" it
// read, under that name, and one line about the solve into "MSG.DAT" when the
// manager made one. Returns the exit code: 0 after the move was written; 1,
// with one line on stderr and no move written, when the position cannot be
// read, no square is empty, a turn long enough to solve in is over, or
// "tah.dat" cannot be written. A turn too short to solve in (down to 0, and
// a time left of 0) gets the move generator's answer at once.
// The turn is counted from `started`.
int playThroughFiles(std::chrono::steady_clock::time_point started);

}  // namespace vorek
