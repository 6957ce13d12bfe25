// The position reader on arbitrary bytes. The first byte lays out the files:
// bit 0x80 leaves "tah.dat" out, bit 0x40 leaves "plocha.dat" out, and the low
// six bits give the length of "tah.dat"; the bytes after it are "plocha.dat".
// The stones read must be what a plain model of the format gives, they must
// evaluate into a consistent board, and writing it must give its characters.
#include <array>
#include <cstdint>
#include <sstream>

#include "board/invariants.h"
#include "files/position_files.h"
#include "files/position_source.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace vorek;

constexpr std::uint8_t NO_MOVE_FILE = 0x80;
constexpr std::uint8_t NO_BOARD_FILE = 0x40;
constexpr std::uint8_t MOVE_FILE_LENGTH = 0x3f;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The next character that is not blank, or nothing at the end.
std::optional<char> nextItem(std::string_view& text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    const char c = text.front();
    text.remove_prefix(1);
    return c;
}

struct ModelPosition {
    bool read = false;
    char player1Letter = 'x';
    std::array<std::optional<Player>, BOARD_SQUARES> owners{};
};

// The format as the protocol states it: "tah.dat" names the stones to move,
// then the first 400 non-blank characters of "plocha.dat" are the squares;
// squares not read stay empty.
ModelPosition model(std::optional<std::string_view> moveFile, std::optional<std::string_view> boardFile) {
    ModelPosition position;
    if (!moveFile) return position;
    const std::optional<char> named = nextItem(*moveFile);
    if (!named) return position;
    const char mover = *named == 'o' ? 'o' : 'x';
    position.player1Letter = mover;
    if (!boardFile) return position;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const std::optional<char> c = nextItem(*boardFile);
        if (!c) return position;
        if (*c != 'x' && *c != 'o') continue;
        position.owners[s] = *c == mover ? PLAYER1 : PLAYER0;
    }
    position.read = true;
    return position;
}

void compareWithModel(const FilePosition& files, const ModelPosition& expected) {
    if (files.read != expected.read)
        fuzz::fail(files.read ? "read succeeded; the model fails" : "read failed; the model reads");
    if (files.player1Letter != expected.player1Letter) fuzz::fail("the letter of player 1 differs from the model");
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (files.stones.at(s) != expected.owners[s]) fuzz::fail("square " + std::to_string(s) + " differs from the model");
}

void checkWrittenSquares(const V2Board& board) {
    std::ostringstream out;
    writeSquares(out, board);
    const std::string text = out.str();
    if (text.size() != 440) fuzz::fail("the board file is not 440 bytes");
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const char written = text[static_cast<std::size_t>(rowOf(s) * 22 + columnOf(s))];
        const char expected = board.isEmpty(s) ? '-' : board.stoneAt(s) == PLAYER1 ? 'x' : 'o';
        if (written != expected) fuzz::fail("square " + std::to_string(s) + " written wrongly");
    }
    for (int row = 0; row < BOARD_SIDE; ++row)
        if (text.compare(static_cast<std::size_t>(row * 22 + 20), 2, "\r\n") != 0)
            fuzz::fail("a line of the board file does not end CR LF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    const std::uint8_t layout = in.next();
    const std::string_view moveBytes = in.take(layout & MOVE_FILE_LENGTH);
    const std::string_view boardBytes = in.take(size);
    const std::optional<std::string_view> moveFile =
        layout & NO_MOVE_FILE ? std::nullopt : std::optional(moveBytes);
    const std::optional<std::string_view> boardFile =
        layout & NO_BOARD_FILE ? std::nullopt : std::optional(boardBytes);
    fuzz::putFile(MOVE_FILE, moveFile);
    fuzz::putFile(BOARD_FILE, boardFile);

    compareWithModel(readPosition(fuzz::scratchFolder()), model(moveFile, boardFile));

    const PositionSource position = folderPosition(fuzz::scratchFolder());
    if (position.board->sideToMove() != PLAYER1) fuzz::fail("player 1 is not to move after reading");
    fuzz::require(checkInvariants(*position.board));
    checkWrittenSquares(*position.board);
    return 0;
}
