// vorek-cli show: a position after some moves, as the engine sees it: the
// square flags, both threat lists and the move generator's answer.
#include <array>

#include "board/candidates.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/played_position.h"
#include "threats/pattern_tables.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli show [--dir DIR | --game FILE.psq[:K]] [MOVE ...]\n"
    "\n"
    "Reads \"plocha.dat\" and \"tah.dat\" from DIR (default: the working directory),\n"
    "or takes the position after K moves of a game record; evaluates the position,\n"
    "plays each MOVE in order and prints the results, the side to move, the stone\n"
    "count, the square flags row by row, both threat lists\n"
    "(SQUARE PATTERN DIRECTIONS CN TN WEIGHT) and the move generator's answer.\n"
    "\n"
    "  --dir DIR   the folder that holds the position files; they are only read\n"
    "  --game FILE.psq[:K]\n"
    "              the position after K moves (default: all) of a game record;\n"
    "              the letter to move is player 1\n"
    "  MOVE        a square index 0..399, or x,y with column x and row y, each\n"
    "              0..19; it must be an empty square\n";

constexpr std::array<std::string_view, 2> OPTIONS{DIR_OPTION, GAME_OPTION};

constexpr std::string_view HEX_DIGITS = "0123456789abcdef";

void printFlags(std::ostream& out, const V2Board& board) {
    out << "flags\n";
    for (int row = 0; row < BOARD_SIDE; ++row) {
        for (int column = 0; column < BOARD_SIDE; ++column) {
            const std::uint8_t flags = board.flags(squareAt(column, row));
            if (column > 0) out << ' ';
            out << HEX_DIGITS[flags >> 4] << HEX_DIGITS[flags & 15];
        }
        out << '\n';
    }
}

void printList(std::ostream& out, const V2Board& board, Player player) {
    out << "list" << playerIndex(player) << ' ' << board.threats(player).size() << '\n';
    for (const Threat t : board.threats(player)) {
        out << square(t) << ' ' << t.pattern << ' ' << directions(t) << ' ' << cn(t) << ' ' << tn(t)
            << ' ' << weight(t) << '\n';
    }
}

// Runs the generator last, so that everything above shows the board before it.
void printCandidates(std::ostream& out, const V2Board& board) {
    CandidateList candidates;
    const GenerateResult result = generateCandidates(board, candidates);
    out << "generate " << result << ' ' << candidates.count();
    for (const int square : candidates) out << ' ' << square;
    out << '\n';
}

std::optional<CommandError> runShow(const CommandArguments& arguments, std::ostream& out,
                              std::vector<std::string>&) {
    auto played = playPosition(arguments, arguments.operands);
    if (auto* error = std::get_if<CommandError>(&played)) return std::move(*error);
    const auto& position = std::get<PlayedPosition>(played);
    const V2Board& board = *position.source.board;

    out << "read " << position.source.read << '\n';
    out << "evaluate " << position.evaluated << '\n';
    for (const PlayedMove& move : position.moves)
        out << "move " << move.square << ' ' << move.win << '\n';
    out << "side " << playerIndex(board.sideToMove()) << '\n';
    out << "stones " << board.stoneCount() << '\n';
    printFlags(out, board);
    printList(out, board, PLAYER0);
    printList(out, board, PLAYER1);
    printCandidates(out, board);
    return std::nullopt;
}

}  // namespace

extern const Command SHOW_COMMAND{
    .name = "show",
    .summary = "print a position's square flags, threat lists and candidate moves",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .run = runShow,
};

}  // namespace vorek::cli
