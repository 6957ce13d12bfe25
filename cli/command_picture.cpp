// vorek-cli picture: the board picture of a position after some moves, as a
// 401 x 401 PNG file, drawn as the window draws it.
#include <array>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/played_position.h"

#ifdef VOREK_WITH_PICTURE
#include <QString>

#include "picture/board_png.h"
#endif

namespace vorek::cli {

namespace {

constexpr std::string_view OUT_OPTION = "--out";

constexpr std::string_view USAGE =
    "usage: vorek-cli picture [--dir DIR] [MOVE ...] --out FILE.png\n"
    "\n"
    "Reads \"plocha.dat\" and \"tah.dat\" from DIR (default: the working directory),\n"
    "evaluates the position, plays each MOVE in order and writes the board picture\n"
    "as the window shows it (stones, and dots on the moves the generator would\n"
    "try) to FILE.png, 401 x 401 pixels. Prints nothing.\n"
    "\n"
    "  --dir DIR       the folder that holds the position files; they are only read\n"
    "  --out FILE.png  the picture file to write (replaced if it exists)\n"
    "  MOVE            a square index 0..399, or x,y with column x and row y, each\n"
    "                  0..19; it must be an empty square\n";

constexpr std::array<std::string_view, 2> OPTIONS{DIR_OPTION, OUT_OPTION};

std::optional<Misuse> writePicture(V2Board& board, std::string_view file) {
#ifdef VOREK_WITH_PICTURE
    const QString name = QString::fromLocal8Bit(file.data(), static_cast<qsizetype>(file.size()));
    if (writeBoardPng(board, name)) return std::nullopt;
    std::string message = "cannot write '";
    message += file;
    message += '\'';
    return Misuse{message};
#else
    (void)board;
    (void)file;
    return Misuse{"this vorek-cli was built without the Qt picture (VOREK_BUILD_APP=OFF)"};
#endif
}

std::optional<CommandError> runPicture(const CommandArguments& arguments, std::ostream&,
                                 std::vector<std::string>& notes) {
    const auto out = arguments.value(OUT_OPTION);
    if (!out) return Misuse{"needs --out FILE.png"};
    const std::filesystem::path dir = folderOption(arguments);
    auto played = playPosition(dir, arguments.operands);
    if (auto* bad = std::get_if<Misuse>(&played)) return std::move(*bad);
    auto& position = std::get<PlayedPosition>(played);
    if (!position.read) notes.push_back(unreadPositionNote(dir));
    return writePicture(*position.board, *out);
}

}  // namespace

extern const Command PICTURE_COMMAND{
    .name = "picture",
    .summary = "draw a position's board picture into a PNG file",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .run = runPicture,
};

}  // namespace vorek::cli
