// The time and memory vorek-ai takes from what a manager says: INFO lines,
// "timeouts.dat" read by its range, and "INFO.DAT".
#include <gtest/gtest.h>

#include "ai/engine_limits.h"
#include "ai/manager_files.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using std::chrono::milliseconds;

TEST(EngineLimits, TimeoutsLineIsADigitSecondsOrMilliseconds) {
    const struct {
        std::optional<long long> value;
        long long expected;
    } cases[] = {
        {1, 1100}, {9, 9900},        {10, 10000},   {999, 999000}, {1000, 1000},
        {5000, 5000}, {0, 1100},     {-3, 1100},    {std::nullopt, 1100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(turnFromTimeoutsLine(c.value).count(), c.expected) << c.value.value_or(-999);
}

TEST(EngineLimits, InfoKeysSetTheLimitsAndTimeLeftCapsTheTurn) {
    EngineLimits limits;
    EXPECT_EQ(limits.thisTurn(), TIME_PER_DIGIT);
    applyInfo(limits, "timeout_turn", "5000");
    applyInfo(limits, "MAX_MEMORY", " 367001600 ");
    applyInfo(limits, "folder", "/tmp");
    applyInfo(limits, "timeout_match", "100000");
    EXPECT_EQ(limits.thisTurn(), milliseconds(5000));
    EXPECT_EQ(limits.maxMemory, 367001600u);
    applyInfo(limits, "time_left", "3000");
    EXPECT_EQ(limits.thisTurn(), milliseconds(3000));
    applyInfo(limits, "time_left", "-20");  // over the match time: move at once
    EXPECT_EQ(limits.thisTurn(), milliseconds(0));
    applyInfo(limits, "time_left", "2147483647");
    EXPECT_EQ(limits.thisTurn(), milliseconds(5000));
    applyInfo(limits, "timeout_turn", "soon");  // not a number: kept
    applyInfo(limits, "max_memory", "0");
    EXPECT_EQ(limits.thisTurn(), milliseconds(5000));
    EXPECT_EQ(limits.maxMemory, 0u);
    applyInfo(limits, "rule", "1");
    EXPECT_EQ(limits.rule, 1);
}

TEST(ManagerFiles, HandWrittenFoldersGiveTheirLimits) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;
        long long turn;
        std::size_t memory;
    } cases[] = {
        {"nothing", {}, 1100, 0},
        {"the window's digit", {{"timeouts.dat", "3\r\n2147483647\r\n"}}, 3300, 0},
        {"seconds, upper case", {{"TIMEOUTS.DAT", "15\r\n"}}, 15000, 0},
        {"milliseconds alone", {{"TIMEOUTS.DAT", "5000"}}, 5000, 0},
        {"time left caps the turn", {{"timeouts.dat", "9\n4000\n"}}, 4000, 0},
        {"junk", {{"timeouts.dat", "soon\r\n"}}, 1100, 0},
        {"INFO.DAT wins",
         {{"timeouts.dat", "9\r\n"}, {"INFO.DAT", "timeout_turn 3000\r\nmax_memory 367001600\r\nfolder C:\\games\r\n"}},
         3000, 367001600},
        {"info.dat with time left", {{"info.dat", "timeout_turn 3000\ntime_left 2000\n"}}, 2000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::TempDir dir;
        for (const auto& [name, bytes] : c.files) dir.write(name, bytes);
        const EngineLimits limits = readManagerFiles(dir.path());
        EXPECT_EQ(limits.thisTurn().count(), c.turn);
        EXPECT_EQ(limits.maxMemory, c.memory);
    }
}

}  // namespace
}  // namespace vorek
