// What the command line of visual-vorek asks for, decided before any window
// or display is needed:
//   visual-vorek [FOLDER | GAME.psq]
//   visual-vorek --help | --version
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vorek {

// Open the window on the folder (empty: the working directory), and, when
// `game` is not empty, open that game record in it (the folder is then the
// record's own).
struct OpenWindow {
    std::filesystem::path folder;
    std::filesystem::path game;
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
// "--" ends the options. An argument that names a file is a game record, one
// that names a folder a position folder. An unknown option or a second
// argument is a misuse: one line and the usage on stderr. An argument that
// does not exist, is neither a folder nor a file, or cannot be read (a
// record's folder too) gives one line on stderr. Misuses exit 2.
std::variant<OpenWindow, EndAtOnce> parseCommandLine(std::span<const std::string_view> arguments);

// Null when the environment names a display or a Qt platform for the window;
// otherwise the one line that says there is none.
const char* missingDisplay();

}  // namespace vorek
