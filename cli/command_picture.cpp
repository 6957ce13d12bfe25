// vorek-cli picture: the board picture of a position after some moves, as a
// 401 x 401 PNG file, drawn as the window draws it.
#include <array>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/played_position.h"
#include "picture/board_picture.h"

#ifdef VOREK_WITH_PICTURE
#include <QString>

#include "picture/board_png.h"
#endif

namespace vorek::cli {

namespace {

constexpr std::string_view OUT_OPTION = "--out";
constexpr std::string_view COLOURS_BY_LETTER_OPTION = "--colours-by-letter";
constexpr std::string_view MOVE_NUMBERS_OPTION = "--move-numbers";

constexpr std::string_view USAGE =
    "usage: vorek-cli picture [--dir DIR | --game FILE.psq[:K]] [--colours-by-letter]\n"
    "                         [--move-numbers] [MOVE ...] --out FILE.png\n"
    "\n"
    "Reads \"plocha.dat\" and \"tah.dat\" from DIR (default: the working directory)\n"
    "or takes the position after K moves of a game record, evaluates the\n"
    "position, plays each MOVE in order and writes the board picture as the window\n"
    "shows it (stones, and dots on the moves the generator would try) to\n"
    "FILE.png, 401 x 401 pixels. Prints nothing.\n"
    "\n"
    "  --dir DIR       the folder that holds the position files; they are only read\n"
    "  --game FILE.psq[:K]\n"
    "                  the position after K moves (default: all) of a game record;\n"
    "                  the letter to move is player 1\n"
    "  --colours-by-letter\n"
    "                  \"x\" stones black and \"o\" stones white whoever is to move,\n"
    "                  dots in the colour of the letter to move (by default the\n"
    "                  stones of the side to move at the start are black)\n"
    "  --move-numbers  the record's move numbers on its stones, and each MOVE's\n"
    "                  number after them (from 1 on a position from files)\n"
    "  --out FILE.png  the picture file to write (replaced if it exists)\n"
    "  MOVE            a square index 0..399, or x,y with column x and row y, each\n"
    "                  0..19; it must be an empty square\n";

constexpr std::array<std::string_view, 3> OPTIONS{DIR_OPTION, GAME_OPTION, OUT_OPTION};
constexpr std::array<std::string_view, 2> FLAGS{COLOURS_BY_LETTER_OPTION, MOVE_NUMBERS_OPTION};

PictureOptions pictureOptions(const CommandArguments& arguments, const PlayedPosition& position) {
    PictureOptions options;
    options.coloursByLetter = arguments.flag(COLOURS_BY_LETTER_OPTION);
    options.player1Letter = position.source.labels.player1Letter;
    if (arguments.flag(MOVE_NUMBERS_OPTION)) options.moveNumbers = position.moveNumbers;
    return options;
}

std::optional<Misuse> writePicture(const V2Board& board, std::string_view file, const PictureOptions& options) {
#ifdef VOREK_WITH_PICTURE
    const QString name = QString::fromLocal8Bit(file.data(), static_cast<qsizetype>(file.size()));
    if (writeBoardPng(board, name, options)) return std::nullopt;
    std::string message = "cannot write '";
    message += file;
    message += '\'';
    return Misuse{message};
#else
    (void)board;
    (void)file;
    (void)options;
    return Misuse{"this vorek-cli was built without the Qt picture (VOREK_BUILD_APP=OFF)"};
#endif
}

std::optional<CommandError> runPicture(const CommandArguments& arguments, std::ostream&,
                                 std::vector<std::string>& notes) {
    const auto out = arguments.value(OUT_OPTION);
    if (!out) return Misuse{"needs --out FILE.png"};
    auto played = playPosition(arguments, arguments.operands);
    if (auto* error = std::get_if<CommandError>(&played)) return std::move(*error);
    const auto& position = std::get<PlayedPosition>(played);
    if (const auto note = unreadNote(position.source)) notes.push_back(*note);
    return writePicture(*position.source.board, *out, pictureOptions(arguments, position));
}

}  // namespace

extern const Command PICTURE_COMMAND{
    .name = "picture",
    .summary = "draw a position's board picture into a PNG file",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .run = runPicture,
};

}  // namespace vorek::cli
