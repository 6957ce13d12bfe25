// What the command line of visual-vorek asks for, decided before any window
// or display is needed:
//   visual-vorek [FOLDER]
//   visual-vorek --help | --version
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vorek {

// Open the window on the folder (empty: the working directory).
struct OpenWindow {
    std::filesystem::path folder;
};

// End at once: print `out` to stdout and `err` to stderr, exit with `code`.
struct EndAtOnce {
    int code = 0;
    std::string out;
    std::string err;
};

inline constexpr int EXIT_NO_DISPLAY = 1;  // no display to open the window on
inline constexpr int EXIT_MISUSE = 2;      // bad command line or folder

// The request of the arguments (program name left out). "--help" anywhere
// wins and prints the usage; "--version" prints the program and its version;
// "--" ends the options. An unknown option or a second FOLDER is a misuse:
// one line and the usage on stderr. A FOLDER that does not exist, is not a
// folder or cannot be read gives one line on stderr. Misuses exit 2.
std::variant<OpenWindow, EndAtOnce> parseCommandLine(std::span<const std::string_view> arguments);

// Null when the environment names a display or a Qt platform for the window;
// otherwise the one line that says there is none.
const char* missingDisplay();

}  // namespace vorek
