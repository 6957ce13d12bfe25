// Moments at which a test that runs vorek-cli can hold it, to signal it
// exactly then. Only in a build with the tests: elsewhere this does nothing.
#pragma once

#include <string_view>

namespace vorek::cli {

// In a build with the tests, when the environment names a FIFO in
// VOREK_TEST_PAUSE and this moment in VOREK_TEST_PAUSE_AT: writes the
// moment and a line end into the FIFO (waiting for the test to open it for
// reading), then waits until the test has opened it for writing and closed
// it. Signals that come meanwhile are handled as at any other time.
void pauseForTest(std::string_view moment);

}  // namespace vorek::cli
