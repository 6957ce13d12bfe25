// Running the built vorek-cli as a separate process and keeping what it said.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vorek::testing {

struct CliRun {
    int exitCode;  // 128 + the signal number when the process was killed
    std::string out;
    std::string err;
};

// Runs vorek-cli with the arguments in the folder cwd (the tests' own working
// directory when empty). Its standard output goes to stdoutFile when one is
// given, and is then not kept.
CliRun runCli(const std::vector<std::string>& arguments, const std::filesystem::path& cwd = {},
              const std::filesystem::path& stdoutFile = {});

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

// The folder of a shipped example position.
std::filesystem::path example(const std::string& name);

}  // namespace vorek::testing
