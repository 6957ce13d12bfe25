// Small engines of the stdin/stdout protocol, written as shell scripts by the
// tests that must run without a real engine.
#pragma once

#include <filesystem>
#include <string>

#include "tests/temp_dir.h"

namespace vorek::testing {

// Writes the script "engine" into the folder and returns its path. Wherever it
// is started, it records its pid in the folder's "pids" and every line it
// reads in "received", answers START with OK and ABOUT with its name, and
// exits on END or at the end of its input; on a line that one of the cases
// matches ("YXNBEST*) echo 1,1 ;;") it runs that case's shell commands. The
// shell lines `first` run before anything else for each line.
std::filesystem::path writeScriptEngine(const TempDir& dir, const std::string& cases, const std::string& first = {});

}  // namespace vorek::testing
