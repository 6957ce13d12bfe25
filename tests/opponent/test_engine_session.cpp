// A long-lived engine session with small script engines: what they are sent,
// the events their lines give, a think stopped for another position, an
// engine without the extended commands, crashes, stalls, floods and broken
// lines, and that nothing is left running at the end. Then the real engine,
// when it is there.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "files/position_source.h"
#include "opponent/engine_event_queue.h"
#include "opponent/engine_session.h"
#include "tests/board_builder.h"
#include "tests/process_check.h"
#include "tests/real_engine.h"
#include "tests/temp_dir.h"
#include "threats/square.h"

namespace vorek {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Events = std::vector<EngineEvent>;

class EngineSessionTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    EngineEventQueue queue;

    // A script engine "./engine" that records its pid in "pids" and every
    // line it reads in "received", answers START with OK, and runs the shell
    // command of each case ("YXNBEST*) echo 1,1 ;;") on the lines it matches.
    // It exits on END or at the end of its input.
    void engine(const std::string& cases) {
        dir.write("engine", "#!/bin/sh\n"
                            "echo $$ >> pids\n"
                            "while IFS= read -r line; do\n"
                            "  printf '%s\\n' \"$line\" >> received\n"
                            "  case \"$line\" in\n"
                            "    START*) echo OK ;;\n"
                            "    END*) exit 0 ;;\n" +
                                cases +
                                "\n"
                                "  esac\n"
                                "done\n");
        fs::permissions(dir / "engine", fs::perms::owner_all);
    }

    std::unique_ptr<EngineSession> session(const std::string& program = "./engine") {
        return std::make_unique<EngineSession>(EngineSetup{.words = {program}, .folder = dir.path()}, queue.sink());
    }

    // The events of the think, up to the one that ends it.
    Events eventsOf(int think) {
        Events events;
        const auto deadline = ChildClock::now() + 20s;
        while (std::optional<EngineEvent> event = queue.pop(deadline)) {
            if (thinkOf(*event) != think) continue;
            events.push_back(std::move(*event));
            if (endsThink(events.back())) return events;
        }
        ADD_FAILURE() << "think " << think << " did not end";
        return events;
    }

    // The next event, which must be a message: the think is under way.
    void awaitMessage() {
        const std::optional<EngineEvent> event = queue.pop(ChildClock::now() + 10s);
        ASSERT_TRUE(event && std::holds_alternative<MessageEvent>(*event));
    }

    std::vector<pid_t> pids() const {
        std::vector<pid_t> pids;
        std::istringstream text(dir.read("pids"));
        for (pid_t pid; text >> pid;) pids.push_back(pid);
        return pids;
    }
};

template <typename Event>
std::vector<Event> only(const Events& events) {
    std::vector<Event> found;
    for (const EngineEvent& event : events)
        if (const Event* e = std::get_if<Event>(&event)) found.push_back(*e);
    return found;
}

const AnswerEvent& answerOf(const Events& events) {
    static const AnswerEvent none{};
    const AnswerEvent* answer = events.empty() ? nullptr : std::get_if<AnswerEvent>(&events.back());
    EXPECT_NE(answer, nullptr) << "no answer";
    return answer ? *answer : none;
}

const EngineDownEvent& downOf(const Events& events) {
    static const EngineDownEvent none{};
    const EngineDownEvent* down = events.empty() ? nullptr : std::get_if<EngineDownEvent>(&events.back());
    EXPECT_NE(down, nullptr) << "the engine did not go down";
    return down ? *down : none;
}

void awaitEnded(EngineSession& session) { EXPECT_EQ(session.end().wait_for(10s), std::future_status::ready); }

TEST_F(EngineSessionTest, SendsThePositionAndStreamsTheSearchAsEvents) {
    engine("    YXNBEST*) echo 'MESSAGE REALTIME POS 0,0'; echo 'MESSAGE REALTIME BEST 2,2';"
           " echo 'MESSAGE REALTIME REFRESH'; echo 'INFO PV 0'; echo 'INFO NUMPV 2'; echo 'INFO DEPTH 5';"
           " echo 'INFO SELDEPTH 7'; echo 'INFO TOTALNODES 420'; echo 'INFO EVAL +M3'; echo 'INFO WINRATE 1';"
           " echo 'INFO BESTLINE 2,2 3,3 2,2 4,4'; echo 'INFO PV DONE'; echo 'MESSAGE depth 5';"
           " echo 'DEBUG hidden'; echo 2,2 ;;");
    const auto board = testing::boardFromRows({"xo"});  // x, player 1, to move
    auto engineSession = session();
    const int first = engineSession->analyse(*board, {700, 2});
    EXPECT_EQ(first, 1);
    const Events events = eventsOf(first);
    ASSERT_EQ(events.size(), 5u);  // the realtime line on a stone is passed over
    const std::vector<RealtimeEvent> realtime = only<RealtimeEvent>(events);
    ASSERT_EQ(realtime.size(), 2u);
    EXPECT_EQ(realtime[0].kind, RealtimeKind::Best);
    EXPECT_EQ(realtime[0].square, squareAt(2, 2));
    EXPECT_EQ(realtime[1].kind, RealtimeKind::Refresh);
    const std::vector<SearchEvent> search = only<SearchEvent>(events);
    ASSERT_EQ(search.size(), 1u);
    EXPECT_EQ(search[0].line.count, 2);
    EXPECT_EQ(search[0].line.depth, 5);
    EXPECT_EQ(search[0].line.totalNodes, 420);
    EXPECT_EQ(search[0].line.eval, (Evaluation{true, 3}));
    // Cut where a move repeats: the line as far as it can be played.
    EXPECT_EQ(search[0].line.line, (std::vector<int>{squareAt(2, 2), squareAt(3, 3)}));
    EXPECT_EQ(only<MessageEvent>(events).at(0).text, "depth 5");
    EXPECT_EQ(answerOf(events).square, squareAt(2, 2));
    EXPECT_FALSE(answerOf(events).stopped);

    // The same time again is not sent again; the position always is.
    const int second = engineSession->analyse(*board, {700, 1});
    EXPECT_EQ(answerOf(eventsOf(second)).square, squareAt(2, 2));
    awaitEnded(*engineSession);
    EXPECT_EQ(dir.read("received"),
              "START 20\r\nINFO timeout_match 0\r\nINFO time_left 2147483647\r\nINFO max_memory 0\r\n"
              "INFO game_type 1\r\nINFO rule 0\r\nINFO SHOW_DETAIL 3\r\n"
              "INFO timeout_turn 700\r\nYXBOARD\r\n0,0,1\r\n1,0,2\r\nDONE\r\nYXNBEST 2\r\n"
              "YXBOARD\r\n0,0,1\r\n1,0,2\r\nDONE\r\nYXNBEST 1\r\nEND\r\n");
}

// The engine answers its move only when told to stop.
TEST_F(EngineSessionTest, AnotherPositionStopsTheThinkUnderWayFirst) {
    engine("    YXNBEST*) echo 'MESSAGE thinking' ;;\n"
           "    YXSTOP*) echo 5,5 ;;");
    const auto first = testing::boardFromRows({"x"}, PLAYER0);
    const auto second = testing::boardFromRows({"", "x"}, PLAYER0);
    auto engineSession = session();
    const int one = engineSession->analyse(*first, {60000, 1});
    awaitMessage();
    const int two = engineSession->analyse(*second, {60000, 1});
    const AnswerEvent stopped = answerOf(eventsOf(one));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.square, squareAt(5, 5));
    awaitMessage();
    engineSession->stop();
    EXPECT_TRUE(answerOf(eventsOf(two)).stopped);
    awaitEnded(*engineSession);
    EXPECT_EQ(dir.read("received").substr(dir.read("received").find("INFO timeout_turn")),
              "INFO timeout_turn 60000\r\nYXBOARD\r\n0,0,2\r\nDONE\r\nYXNBEST 1\r\nYXSTOP\r\n"
              "YXBOARD\r\n0,1,2\r\nDONE\r\nYXNBEST 1\r\nYXSTOP\r\nEND\r\n");
}

// As the engines of the plain protocol answer: UNKNOWN for a word they do
// not know, a move after BEGIN or BOARD ... DONE.
TEST_F(EngineSessionTest, EngineWithoutTheExtendedCommandsIsAskedThroughBoard) {
    for (const char* refusal : {"echo \"UNKNOWN ${line%%[ \r]*}\"", "echo 'ERROR unknown command yxboard'",
                                "echo UNKNOWN"}) {
        SCOPED_TRACE(refusal);
        fs::remove(dir / "received");
        engine(std::string("    YX*) ") + refusal + " ;;\n"
               "    BEGIN*) echo 9,9 ;;\n"
               "    BOARD*) board=1 ;;\n"
               "    DONE*) if [ -n \"$board\" ]; then board=; echo 3,3; else echo 'ERROR DONE without BOARD'; fi ;;");
        auto engineSession = session();
        const auto board = testing::boardFromRows({"x"});
        EXPECT_EQ(answerOf(eventsOf(engineSession->analyse(*board, {500, 3}))).square, squareAt(3, 3));
        const auto empty = testing::boardFromRows({});
        EXPECT_EQ(answerOf(eventsOf(engineSession->analyse(*empty, {500, 3}))).square, squareAt(9, 9));
        awaitEnded(*engineSession);
        const std::string received = dir.read("received");
        EXPECT_EQ(received.substr(received.find("INFO timeout_turn")),
                  "INFO timeout_turn 500\r\nYXBOARD\r\n0,0,1\r\nDONE\r\nYXNBEST 3\r\n"
                  "BOARD\r\n0,0,1\r\nDONE\r\nBEGIN\r\nEND\r\n");
    }
}

TEST_F(EngineSessionTest, EngineThatDiesIsStartedAgainForTheNextThink) {
    const struct {
        const char* death;
        const char* detail;
    } cases[] = {
        {"exit 3", "the engine exited with code 3"},
        {"kill -KILL $$", "the engine was ended by signal 9"},
    };
    const auto board = testing::boardFromRows({"x"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.death);
        fs::remove(dir / "pids");
        fs::remove(dir / "died");
        engine(std::string("    YXNBEST*) if [ -e died ]; then echo 1,1; else touch died; ") + c.death + "; fi ;;");
        auto engineSession = session();
        const EngineDownEvent down = downOf(eventsOf(engineSession->analyse(*board, {500, 1})));
        EXPECT_EQ(down.why, EngineDown::Exited);
        EXPECT_EQ(down.detail, c.detail);
        EXPECT_EQ(answerOf(eventsOf(engineSession->analyse(*board, {500, 1}))).square, squareAt(1, 1));
        awaitEnded(*engineSession);
        ASSERT_EQ(pids().size(), 2u);
        EXPECT_EQ(testing::runningOf(dir.read("pids")), std::vector<pid_t>{});
    }
}

// The first engine takes no notice of YXSTOP or STOP; the one started in
// its place answers.
TEST_F(EngineSessionTest, EngineThatIgnoresStopIsEndedAndTheNextPositionGetsANewOne) {
    engine("    YXNBEST*) if [ -e first ]; then echo 4,4; else touch first; sleep 30 & echo 'MESSAGE thinking'; fi ;;");
    const auto board = testing::boardFromRows({"x"});
    auto engineSession = session();
    const int one = engineSession->analyse(*board, {60000, 1});
    awaitMessage();
    const int two = engineSession->analyse(*board, {60000, 1});
    const EngineDownEvent down = downOf(eventsOf(one));
    EXPECT_EQ(down.why, EngineDown::Stalled);
    EXPECT_EQ(answerOf(eventsOf(two)).square, squareAt(4, 4));
    awaitEnded(*engineSession);
    const std::string received = dir.read("received");
    EXPECT_NE(received.find("YXSTOP\r\nSTOP\r\nSTART 20\r\n"), std::string::npos) << received;
    ASSERT_EQ(pids().size(), 2u);
    EXPECT_EQ(testing::runningInGroupOf(pids()[0]), std::vector<pid_t>{});  // the sleep too
}

TEST_F(EngineSessionTest, AnswerToStartOtherThanOkEndsTheThink) {
    dir.write("engine", "#!/bin/sh\nread line; echo 'ERROR only 15x15'\n");
    fs::permissions(dir / "engine", fs::perms::owner_all);
    const auto board = testing::boardFromRows({"x"});
    auto engineSession = session();
    const EngineDownEvent down = downOf(eventsOf(engineSession->analyse(*board, {500, 1})));
    EXPECT_EQ(down.why, EngineDown::NoStart);
    EXPECT_EQ(down.detail, "the engine answered START 20 with \"ERROR only 15x15\"");
    awaitEnded(*engineSession);

    auto missing = session("./no-such-engine");
    EXPECT_FALSE(missing->start());
    EXPECT_EQ(missing->analyse(*board, {500, 1}), 0);
}

TEST_F(EngineSessionTest, FloodIsReadOnWhileTheQueueKeepsItsBound) {
    engine("    YXNBEST*) printf 'MESSAGE '; head -c 100000 /dev/zero | tr '\\0' m; echo;"
           " yes 'MESSAGE flood' | head -n 30000; yes 'MESSAGE REALTIME BEST 1,1' | head -n 30000; echo 2,2 ;;");
    std::promise<void> answered;
    EngineSession engineSession(EngineSetup{.words = {"./engine"}, .folder = dir.path()}, [&](EngineEvent event) {
        const bool end = endsThink(event);
        queue.push(std::move(event));
        if (end) answered.set_value();
    });
    const auto board = testing::boardFromRows({});
    engineSession.analyse(*board, {5000, 1});
    ASSERT_EQ(answered.get_future().wait_for(20s), std::future_status::ready);
    Events events;
    while (std::optional<EngineEvent> event = queue.pop(ChildClock::now())) events.push_back(std::move(*event));
    EXPECT_EQ(events.size(), EngineEventQueue::MOST_HELD);
    EXPECT_EQ(answerOf(events).square, squareAt(2, 2));
    awaitEnded(engineSession);
}

TEST_F(EngineSessionTest, MalformedLinesArePassedOverAndBadAnswersHaveNoMove) {
    engine("    YXNBEST*) echo 'INFO PV 0'; echo 'INFO EVAL banana'; echo 'INFO WINRATE 7';"
           " echo 'INFO BESTLINE 30,30 1,1'; echo 'INFO DEPTH -4'; echo 'INFO PV DONE'; echo 'INFO PV DONE';"
           " echo 'INFO PV 0'; echo 'MESSAGE REALTIME BEST 99,99'; echo 'MESSAGE REALTIME POS';"
           " printf '\\001\\002 garbage\\n'; echo OK; echo 'INFO NUMPV 1';"
           " if [ -e once ]; then echo 0,0; else touch once; echo 99,99; fi ;;");
    const auto board = testing::boardFromRows({"x"});
    auto engineSession = session();
    const Events events = eventsOf(engineSession->analyse(*board, {500, 1}));
    ASSERT_EQ(events.size(), 2u);
    const SearchLine& line = std::get<SearchEvent>(events[0]).line;
    EXPECT_FALSE(line.eval || line.winrate || line.depth);
    EXPECT_TRUE(line.line.empty());
    EXPECT_EQ(answerOf(events).square, -1);
    EXPECT_EQ(answerOf(events).fault, "the answer 99,99 is off the board");
    EXPECT_EQ(answerOf(eventsOf(engineSession->analyse(*board, {500, 1}))).fault, "the answer 0,0 is on a stone");
    awaitEnded(*engineSession);
}

TEST_F(EngineSessionTest, EndWhileThinkingLeavesNothingRunning) {
    engine("    YXNBEST*) sleep 30 & echo 'MESSAGE thinking' ;;");
    const auto board = testing::boardFromRows({"x"});
    auto engineSession = session();
    engineSession->analyse(*board, {60000, 1});
    awaitMessage();
    awaitEnded(*engineSession);
    EXPECT_TRUE(dir.read("received").ends_with("YXSTOP\r\nEND\r\n"));
    EXPECT_EQ(testing::runningInGroupOf(pids().at(0)), std::vector<pid_t>{});
    EXPECT_EQ(engineSession->analyse(*board, {500, 1}), 0);  // an ended session thinks no more
}

// The open-source engine sees the win by threats of the middle-game example
// (x to move plays 6,12) and reports it as a mate.
TEST_F(EngineSessionTest, RealEngineStreamsItsLinesAndClaimsTheMate) {
    const std::optional<fs::path> real = testing::realEngine();
    if (!real) GTEST_SKIP() << "the open-source engine is not there";
    const PositionSource position = folderPosition(fs::path(VOREK_EXAMPLES_DIR) / "middlegame");
    auto engineSession = session(real->string());
    const Events events = eventsOf(engineSession->analyse(*position.board, {3000, 2}));
    const std::vector<SearchEvent> search = only<SearchEvent>(events);
    ASSERT_FALSE(search.empty());
    EXPECT_TRUE(search.back().line.depth.has_value());
    EXPECT_FALSE(search.back().line.line.empty());
    EXPECT_EQ(search.back().line.count, 2);
    const auto best = std::find_if(search.rbegin(), search.rend(), [](const SearchEvent& e) { return e.line.index == 0; });
    ASSERT_NE(best, search.rend());
    ASSERT_TRUE(best->line.eval.has_value());
    EXPECT_TRUE(best->line.eval->mate);
    EXPECT_GT(best->line.eval->value, 0);
    EXPECT_EQ(answerOf(events).square, squareAt(6, 12));
    awaitEnded(*engineSession);
}

}  // namespace
}  // namespace vorek
