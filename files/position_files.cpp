#include "files/position_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <sstream>

#include "files/ascii_text.h"
#include "files/regular_file.h"
#include "files/replace_file.h"

namespace vorek {

namespace {

std::filesystem::path inDir(const std::filesystem::path& dir, std::string_view name) {
    return dir.empty() ? std::filesystem::path(name) : dir / name;
}

// The regular file in dir named like name but for case, the most recently
// modified of several; nullopt when there is none or dir cannot be listed.
std::optional<std::filesystem::path> fileNamedIgnoringCase(const std::filesystem::path& dir,
                                                           std::string_view name) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(dir.empty() ? fs::path(".") : dir, error);
    std::optional<fs::path> best;
    fs::file_time_type bestTime;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path found = entries->path().filename();
        std::error_code unreadable;  // an entry that cannot be looked at is passed over
        if (!sameIgnoringCase(found.native(), name) || !entries->is_regular_file(unreadable)) continue;
        const fs::file_time_type time = entries->last_write_time(unreadable);
        if (unreadable) continue;
        if (!best || time > bestTime || (time == bestTime && found < *best)) {
            best = found;
            bestTime = time;
        }
    }
    return best ? std::optional(inDir(dir, best->native())) : std::nullopt;
}

// Reads a protocol file item by item, skipping whitespace before each item as
// formatted input does.
class ItemReader {
public:
    explicit ItemReader(const std::filesystem::path& path)
        : file_(openRegularFile(path)) {}

    bool isOpen() const { return file_ != nullptr; }

    // The next character that is not whitespace, or EOF.
    int nextItem() {
        int c;
        do c = std::getc(file_.get());
        while (isSpace(c));
        return c;
    }

    // A decimal integer with an optional sign, as a 32-bit value.
    std::optional<int> nextInteger() {
        int c = nextItem();
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            c = std::getc(file_.get());
        }
        if (!isDigit(c)) return std::nullopt;
        const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
        long long value = 0;
        for (; isDigit(c); c = std::getc(file_.get())) {
            value = value * 10 + (c - '0');
            if (value > limit) return std::nullopt;
        }
        if (c != EOF) std::ungetc(c, file_.get());
        return static_cast<int>(negative ? -value : value);
    }

private:
    static bool isSpace(int c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    }
    static bool isDigit(int c) { return c >= '0' && c <= '9'; }

    ReadFile file_;
};

// The owner of the stone a character of "plocha.dat" stands for; nullopt for
// an empty square.
std::optional<Player> ownerOfCharacter(int c, int namedStone) {
    if (c != 'x' && c != 'o') return std::nullopt;
    return c == namedStone ? PLAYER1 : PLAYER0;
}

}  // namespace

std::filesystem::path findProtocolFile(const std::filesystem::path& dir, std::string_view name) {
    const std::filesystem::path exact = inDir(dir, name);
    struct stat st {};
    if (::lstat(exact.c_str(), &st) == 0 || errno != ENOENT) return exact;
    return fileNamedIgnoringCase(dir, name).value_or(exact);
}

FilePosition readPosition(const std::filesystem::path& dir) {
    FilePosition position;
    ItemReader moveFile(findProtocolFile(dir, MOVE_FILE));
    if (!moveFile.isOpen()) return position;
    const int named = moveFile.nextItem();
    if (named == EOF) return position;
    const int namedStone = named == 'o' ? 'o' : 'x';
    position.player1Letter = static_cast<char>(namedStone);

    ItemReader boardFile(findProtocolFile(dir, BOARD_FILE));
    if (!boardFile.isOpen()) return position;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const int c = boardFile.nextItem();
        if (c == EOF) return position;  // the squares not read stay empty
        if (const std::optional<Player> owner = ownerOfCharacter(c, namedStone)) position.stones.put(s, *owner);
    }
    position.read = true;
    return position;
}

char readMoverLetter(const std::filesystem::path& dir) {
    ItemReader moveFile(findProtocolFile(dir, MOVE_FILE));
    return moveFile.isOpen() && moveFile.nextItem() == 'o' ? 'o' : 'x';
}

std::ostream& writeSquares(std::ostream& out, const V2Board& board) {
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        out << (board.isEmpty(s) ? '-' : board.stoneAt(s) == PLAYER1 ? 'x' : 'o');
        if ((s + 1) % BOARD_SIDE == 0) out << "\r\n" << std::flush;
    }
    return out;
}

bool writePositionFiles(const V2Board& board, const std::filesystem::path& dir) {
    std::ostringstream squares;
    writeSquares(squares, board);
    const bool boardWritten = replaceFile(inDir(dir, BOARD_FILE), squares.str());
    const bool moveWritten = replaceFile(inDir(dir, MOVE_FILE), board.sideToMove() == PLAYER1 ? "x" : "o");
    return boardWritten && moveWritten;
}

bool writeTimeouts(int digit, const std::filesystem::path& dir) {
    return replaceFile(inDir(dir, TIMEOUTS_FILE), std::to_string(digit) + "\r\n2147483647\r\n");
}

std::string squareText(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::optional<MoveReply> readMoveReply(const std::filesystem::path& dir) {
    ItemReader reply(findProtocolFile(dir, MOVE_FILE));
    if (!reply.isOpen()) return std::nullopt;
    const std::optional<int> x = reply.nextInteger();
    if (!x) return std::nullopt;
    if (reply.nextItem() == EOF) return std::nullopt;
    const std::optional<int> y = reply.nextInteger();
    if (!y) return std::nullopt;
    return MoveReply{*x, *y};
}

}  // namespace vorek
