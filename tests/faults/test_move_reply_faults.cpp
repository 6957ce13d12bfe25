// What an AI can leave in place of its answer: 10 MB of garbage, no "tah.dat"
// at all, or something else under its name. The reply reader answers "no
// move" (or the move that really is there) quickly and in bounded memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "files/position_files.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t TEN_MB = 10u << 20;
constexpr std::size_t MEMORY_CAP = 8u << 20;
constexpr long MEMORY_CAP_KB = MEMORY_CAP >> 10;

std::string randomBytes(std::size_t size) {
    std::mt19937 generator(20240607);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator());
    return bytes;
}

// Concatenation without operator+, which gcc 12 misjudges at -O2 (-Wrestrict).
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text.append(part);
    return text;
}

std::string describe(const std::optional<MoveReply>& reply) {
    return reply ? std::to_string(reply->x) + "," + std::to_string(reply->y) : "no move";
}

TEST(GarbageReply, TenMegabytesAnswerQuicklyInBoundedMemory) {
    const struct {
        const char* what;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"random bytes", joined({"#", randomBytes(TEN_MB)}), "no move"},
        {"digits", std::string(TEN_MB, '9'), "no move"},
        {"blanks", std::string(TEN_MB, ' '), "no move"},
        {"NUL bytes", std::string(TEN_MB, '\0'), "no move"},
        {"a move, then garbage", joined({"7,3", randomBytes(TEN_MB)}), "7,3"},
        {"leading zeros", joined({"-", std::string(TEN_MB, '0'), "7,3"}), "-7,3"},
        {"blanks between the items", joined({"7,", std::string(TEN_MB, '\n'), "3"}), "7,3"},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("tah.dat", c.bytes);
        const ChildResult run = runInChild({.extraAddressSpace = MEMORY_CAP, .seconds = 30}, [&] {
            const std::string read = describe(readMoveReply(dir.path()));
            return read == c.expected ? std::string() : "read " + read;
        });
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.report, "");
        EXPECT_LT(run.addedKb, MEMORY_CAP_KB);
    }
}

TEST(MissingReply, NothingUsableUnderTheNameIsNoMove) {
    const TempDir dir;
    EXPECT_FALSE(readMoveReply(dir.path()).has_value()) << "deleted";
    fs::create_directory(dir / "tah.dat");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value()) << "a folder";
    fs::remove(dir / "tah.dat");
    fs::create_symlink("tah.dat", dir / "tah.dat");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value()) << "a link to itself";
    fs::remove(dir / "tah.dat");
    fs::create_symlink("gone", dir / "tah.dat");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value()) << "a dangling link";
}

}  // namespace
}  // namespace vorek::testing
