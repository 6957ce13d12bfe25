#include "app/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/folder/position_folder.h"

namespace vorek {

namespace {

constexpr std::string_view USAGE =
    "usage: visual-vorek [FOLDER | GAME.psq]\n"
    "       visual-vorek --help | --version\n"
    "\n"
    "Opens the window on the position files \"plocha.dat\" and \"tah.dat\" in\n"
    "FOLDER, or in the working directory when no FOLDER is given. The window\n"
    "reads and writes them there and runs the AI programs it asks there.\n"
    "Given a game record GAME.psq, it opens the record on its \"Game\" page at\n"
    "its last position, working on the position files of the record's folder.\n";

EndAtOnce misuse(const std::string& message) {
    return {EXIT_MISUSE, {}, "visual-vorek: " + message + "\n" + std::string(USAGE)};
}

bool isOption(std::string_view argument) { return argument.size() > 1 && argument.front() == '-'; }

// A game record: readable, in a folder the window can work in.
std::variant<OpenWindow, EndAtOnce> gameWindow(const std::filesystem::path& game) {
    if (::access(game.c_str(), R_OK) != 0)
        return EndAtOnce{EXIT_MISUSE, {}, "visual-vorek: cannot open the game record \"" + game.string() +
                                              "\": " + std::strerror(errno) + "\n"};
    std::filesystem::path folder = game.parent_path();
    if (folder.empty()) folder = ".";
    if (const std::optional<std::string> why = PositionFolder::whyUnusable(folder))
        return EndAtOnce{EXIT_MISUSE, {}, "visual-vorek: " + *why + "\n"};
    return OpenWindow{folder, game};
}

}  // namespace

std::variant<OpenWindow, EndAtOnce> parseCommandLine(std::span<const std::string_view> arguments) {
    for (std::string_view argument : arguments) {
        if (argument == "--") break;
        if (argument == "--help") return EndAtOnce{0, std::string(USAGE), {}};
    }
    std::optional<std::string_view> folder;
    bool options = true;
    for (std::string_view argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--version") {
            return EndAtOnce{0, "visual-vorek " VOREK_VERSION "\n", {}};
        } else if (options && isOption(argument)) {
            return misuse("unknown option " + std::string(argument));
        } else if (folder) {
            return misuse("takes one FOLDER or GAME.psq, got a second: " + std::string(argument));
        } else {
            folder = argument;
        }
    }
    if (!folder) return OpenWindow{};
    const std::filesystem::path path(*folder);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return gameWindow(path);
    if (const std::optional<std::string> why = PositionFolder::whyUnusable(path))
        return EndAtOnce{EXIT_MISUSE, {}, "visual-vorek: " + *why + "\n"};
    return OpenWindow{path, {}};
}

const char* missingDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return nullptr;
    }
    return "visual-vorek: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)";
}

}  // namespace vorek
