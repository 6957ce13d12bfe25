#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "board/square_text.h"
#include "files/position_files.h"
#include "files/position_source.h"

namespace vorek::fuzz {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view FOLDER_PREFIX = "vorek-fuzz-";

fs::path scratchBase() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// Removes the scratch folders of fuzzing processes that no longer run.
void removeDeadFolders(const fs::path& base) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(FOLDER_PREFIX, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + FOLDER_PREFIX.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            fs::remove_all(entry.path(), ec);
    }
}

void removeScratchFolder() {
    std::error_code ec;
    fs::remove_all(scratchFolder(), ec);
}

fs::path makeScratchFolder() {
    const fs::path base = scratchBase();
    removeDeadFolders(base);
    const fs::path folder = base / (std::string(FOLDER_PREFIX) + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (!fs::create_directory(folder, ec)) {
        std::fprintf(stderr, "cannot make the scratch folder %s\n", folder.c_str());
        std::abort();
    }
    return folder;
}

std::vector<fs::path> findExamples() {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(VOREK_EXAMPLES_DIR))
        if (fs::exists(entry.path() / BOARD_FILE)) folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    if (folders.empty()) fail("no example positions in " VOREK_EXAMPLES_DIR);
    return folders;
}

const std::vector<fs::path>& examples() {
    static const std::vector<fs::path> folders = findExamples();
    return folders;
}

bool writeWhole(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ok = n > 0;
        if (ok) bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ::close(fd) == 0 && ok;
}

// A list as (place, pattern) pairs in a fixed order.
std::vector<std::pair<int, int>> sortedItems(const ThreatList& list) {
    std::vector<std::pair<int, int>> items;
    for (const Threat t : list) items.emplace_back(t.place, t.pattern);
    std::sort(items.begin(), items.end());
    return items;
}

std::string describeItems(const std::vector<std::pair<int, int>>& items) {
    std::string text;
    for (const auto& [place, pattern] : items)
        text += " " + std::to_string(place >> 4) + "/" + std::to_string(place & 15) + ":" + std::to_string(pattern);
    return text;
}

}  // namespace

std::string differenceFromFullEvaluation(const V2Board& board) {
    if (!board.listsWhole()) return {};
    const std::unique_ptr<V2Board> fresh = V2Board::fromStones(board.stones(), board.sideToMove());
    if (!fresh->listsWhole()) return {};
    for (const Player player : PLAYERS) {
        const auto kept = sortedItems(board.threats(player));
        const auto full = sortedItems(fresh->threats(player));
        if (kept != full)
            return "player " + std::to_string(playerIndex(player)) + "'s list differs from a full evaluation: kept" +
                   describeItems(kept) + "; full" + describeItems(full);
    }
    return {};
}

const fs::path& scratchFolder() {
    static const fs::path folder = makeScratchFolder();
    // Registered after the path itself, so that it runs before the path is destroyed.
    [[maybe_unused]] static const int removal = std::atexit(removeScratchFolder);
    return folder;
}

void putFile(const char* name, std::optional<std::string_view> bytes) {
    const fs::path path = scratchFolder() / name;
    if (!bytes) {
        std::error_code ec;
        fs::remove(path, ec);
        return;
    }
    if (!writeWhole(path, *bytes)) fail("cannot write " + path.string());
}

std::uint8_t ByteStream::next() {
    if (bytes_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return byte;
}

unsigned ByteStream::nextWord() {
    const unsigned high = next();
    return high << 8 | next();
}

std::string_view ByteStream::take(std::size_t n) {
    const std::string_view part = bytes_.substr(0, n);
    bytes_.remove_prefix(part.size());
    return part;
}

fs::path startFolder(ByteStream& in) {
    const std::size_t choice = in.next() % (examples().size() + 1);
    if (choice < examples().size()) return examples()[choice];
    putFile(MOVE_FILE, "x");
    putFile(BOARD_FILE, in.take(BOARD_CHUNK));
    return scratchFolder();
}

std::unique_ptr<V2Board> startPosition(ByteStream& in) {
    // The examples are read once; a board from the input every time.
    static std::map<fs::path, std::unique_ptr<V2Board>> read;
    const fs::path folder = startFolder(in);
    if (folder == scratchFolder()) return folderPosition(folder).board;
    std::unique_ptr<V2Board>& example = read[folder];
    if (example == nullptr) example = folderPosition(folder).board;
    return example->clone();
}

void requireStreamReading(const std::optional<MoveReply>& read, std::string_view text) {
    std::istringstream in{std::string(text)};
    int x = 0;
    int y = 0;
    char separator = 0;
    std::optional<MoveReply> expected;
    if (in >> x >> separator >> y) expected = MoveReply{x, y};
    const auto describe = [](const std::optional<MoveReply>& move) {
        return move ? squareText(move->x, move->y) : std::string("no move");
    };
    if (read.has_value() != expected.has_value() || (read && (read->x != expected->x || read->y != expected->y)))
        fail("move read as " + describe(read) + ", stream input gives " + describe(expected));
}

void fail(std::string_view what) {
    std::fprintf(stderr, "check failed: %.*s\n", static_cast<int>(what.size()), what.data());
    removeScratchFolder();
    std::abort();
}

}  // namespace vorek::fuzz
