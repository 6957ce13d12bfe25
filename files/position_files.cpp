#include "files/position_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <sstream>

#include "files/ascii_text.h"
#include "files/folder_handle.h"
#include "files/regular_file.h"
#include "files/replace_file.h"

namespace vorek {

namespace {

std::filesystem::path inDir(const std::filesystem::path& dir, std::string_view name) {
    return dir.empty() ? std::filesystem::path(name) : dir / name;
}

// The regular file (or link to one) in the folder named like name but for
// case, the most recently modified of several and the first by name among
// equally recent ones; nullopt when there is none.
std::optional<std::string> fileNamedIgnoringCase(const FolderHandle& folder, std::string_view name) {
    std::optional<std::string> best;
    timespec bestTime{};
    for (const std::string& found : folder.namesLike(name)) {
        struct stat st {};
        // an entry that cannot be looked at is passed over
        if (::fstatat(folder.descriptor(), found.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        const timespec time = st.st_mtim;
        const bool newer =
            time.tv_sec != bestTime.tv_sec ? time.tv_sec > bestTime.tv_sec : time.tv_nsec > bestTime.tv_nsec;
        if (!best || newer) {  // names come sorted: the first of equally recent ones stays
            best = found;
            bestTime = time;
        }
    }
    return best;
}

// Reads a protocol file item by item, skipping whitespace before each item as
// formatted input does.
class ItemReader {
public:
    explicit ItemReader(const std::filesystem::path& path) : file_(openRegularFile(path)) {}
    explicit ItemReader(ReadFile file) : file_(std::move(file)) {}

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

std::string protocolName(const FolderHandle& folder, std::string_view name) {
    if (folder.entry(name) || errno != ENOENT) return std::string(name);
    return fileNamedIgnoringCase(folder, name).value_or(std::string(name));
}

std::filesystem::path findProtocolFile(const std::filesystem::path& dir, std::string_view name) {
    const std::optional<FolderHandle> folder = FolderHandle::open(dir);
    return inDir(dir, folder ? protocolName(*folder, name) : std::string(name));
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

std::string boardFileBytes(const V2Board& board) {
    std::ostringstream squares;
    writeSquares(squares, board);
    return squares.str();
}

std::string moveFileBytes(const V2Board& board) { return board.sideToMove() == PLAYER1 ? "x" : "o"; }

std::ostream& writeSquares(std::ostream& out, const V2Board& board) {
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        out << (board.isEmpty(s) ? '-' : board.stoneAt(s) == PLAYER1 ? 'x' : 'o');
        if ((s + 1) % BOARD_SIDE == 0) out << "\r\n" << std::flush;
    }
    return out;
}

bool writePositionFiles(const V2Board& board, const std::filesystem::path& dir) {
    const bool boardWritten = replaceFile(inDir(dir, BOARD_FILE), boardFileBytes(board));
    const bool moveWritten = replaceFile(inDir(dir, MOVE_FILE), moveFileBytes(board));
    return boardWritten && moveWritten;
}

std::string timeoutsFileBytes(int digit) { return std::to_string(digit) + "\r\n2147483647\r\n"; }

bool writeTimeouts(int digit, const std::filesystem::path& dir) {
    const std::optional<FolderHandle> folder = FolderHandle::open(dir);
    return folder && folder->replace(TIMEOUTS_FILE, timeoutsFileBytes(digit));
}

std::optional<MoveReply> readMoveReply(const std::filesystem::path& dir) {
    const std::optional<FolderHandle> folder = FolderHandle::open(dir);
    return folder ? readMoveReply(*folder) : std::nullopt;
}

std::optional<MoveReply> readMoveReply(const FolderHandle& folder) {
    ItemReader reply(folder.openFile(protocolName(folder, MOVE_FILE)));
    if (!reply.isOpen()) return std::nullopt;
    const std::optional<int> x = reply.nextInteger();
    if (!x) return std::nullopt;
    if (reply.nextItem() == EOF) return std::nullopt;
    const std::optional<int> y = reply.nextInteger();
    if (!y) return std::nullopt;
    return MoveReply{*x, *y};
}

}  // namespace vorek
