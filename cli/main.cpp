// vorek-cli: the engine on the command line, for scripts, batch analysis and
// regression checks.
#include <array>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/dispatch.h"

namespace vorek::cli { extern const Command PICTURE_COMMAND; }  // command_picture.cpp

namespace vorek::cli { extern const Command SOLVE_COMMAND; }  // command_solve.cpp

namespace vorek::cli { extern const Command GAME_COMMAND; }  // command_game.cpp
namespace vorek::cli { extern const Command ASK_COMMAND; }  // command_ask.cpp
namespace vorek::cli { extern const Command ANALYSE_COMMAND; }  // command_analyse.cpp

namespace {

// The commands, in the order the tool's usage lists them. One line adds one.
constexpr std::array COMMANDS{
    &vorek::cli::TABLES_COMMAND,
    &vorek::cli::SHOW_COMMAND,
    &vorek::cli::TREE_COMMAND,
    &vorek::cli::SOLVE_COMMAND,
    &vorek::cli::GAME_COMMAND,
    &vorek::cli::PICTURE_COMMAND,
    &vorek::cli::ASK_COMMAND,
    &vorek::cli::ANALYSE_COMMAND,
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return vorek::cli::runTool(COMMANDS, arguments, std::cout, std::cerr);
}
