#include "opponent/ask_through_pipes.h"

#include <climits>

#include "board/square_text.h"
#include "opponent/engine_pipes.h"
#include "opponent/engine_reply.h"
#include "opponent/stone_order.h"

namespace vorek {

namespace {

// Time the engine has to take END before it is ended anyway.
constexpr std::chrono::milliseconds END_LIMIT{200};

// Time the engine's lines already written are awaited before it is asked
// for its move.
constexpr std::chrono::milliseconds EARLY_LINES_LOOK{1};

// The log of the exchange: lines sent, lines received (up to LOGGED_LINES)
// and notes. Waits cut short by a stop are not told as the engine's fault.
class Exchange {
public:
    Exchange(EnginePipes& engine, const AskTimeline& log, const StopFlag* stop)
        : engine_(engine), log_(log), stop_(stop) {}

    // Sends the lines in order, all by the deadline; the result of the first
    // that failed, or Done.
    EnginePipes::Write send(const std::vector<std::string>& lines, ChildClock::time_point deadline) {
        for (const std::string& line : lines) {
            log_("> " + line);
            const EnginePipes::Write written = engine_.send(line, deadline);
            if (written == EnginePipes::Write::Closed) log_("the engine no longer reads its input");
            if (written == EnginePipes::Write::Late && !stopped()) log_("the engine does not take its input");
            if (written != EnginePipes::Write::Done) return written;
        }
        return EnginePipes::Write::Done;
    }

    struct Answer {
        EnginePipes::Read read;
        ReplyKind kind = ReplyKind::Other;
        MoveReply move{};
    };

    // The first line by the deadline that is neither MESSAGE nor DEBUG.
    Answer await(ChildClock::time_point deadline) {
        std::string line;
        for (;;) {
            const EnginePipes::Read read = engine_.readLine(line, deadline);
            if (read == EnginePipes::Read::Closed) log_("the engine closed its output");
            if (read != EnginePipes::Read::Line) return {read};
            logReceived(line);
            const EngineReply reply = parseEngineReply(line);
            if (reply.kind != ReplyKind::Message && reply.kind != ReplyKind::Debug)
                return {read, reply.kind, reply.move};
        }
    }

    // Lines the engine wrote before it was asked for its move, as far as
    // they have come: logged and passed over, so that none is taken for the
    // move. MESSAGE and DEBUG lines may come at any time.
    void passOverEarlyLines() {
        std::string line;
        const ChildClock::time_point deadline = ChildClock::now() + EARLY_LINES_LOOK;
        while (engine_.readLine(line, deadline) == EnginePipes::Read::Line) {
            logReceived(line);
            const ReplyKind kind = parseEngineReply(line).kind;
            if (kind != ReplyKind::Message && kind != ReplyKind::Debug)
                log_("passed over: it came before the engine was asked for its move");
        }
    }

    // Notes a deadline that passed, unless a stop cut the wait short.
    void late(std::string_view text) const {
        if (!stopped()) log_(text);
    }

    bool stopped() const { return vorek::stopped(stop_); }

private:
    void logReceived(std::string_view line) {
        ++received_;
        if (received_ <= LOGGED_LINES) log_("< " + std::string(line));
        if (received_ == LOGGED_LINES + 1) log_("further lines are read but not logged");
    }

    EnginePipes& engine_;
    const AskTimeline& log_;
    const StopFlag* stop_;
    int received_ = 0;
};

RunResult resultOfWrite(EnginePipes::Write written) {
    return written == EnginePipes::Write::Late ? RUN_TIMEOUT : RUN_FAILED;
}

RunResult resultOfRead(EnginePipes::Read read) { return read == EnginePipes::Read::Late ? RUN_TIMEOUT : RUN_FAILED; }

std::string limitText(std::chrono::milliseconds limit) { return std::to_string(limit.count()) + " ms"; }

std::vector<std::string> infoLines(int milliseconds) {
    return {"INFO timeout_turn " + std::to_string(milliseconds),
            "INFO timeout_match 0",
            "INFO time_left " + std::to_string(INT_MAX),
            "INFO max_memory 0",
            "INFO game_type 1",
            "INFO rule 0"};
}

// START, INFO, the position and the answer; the result, and the move on RUN_OK.
RunResult converse(Exchange& exchange, const V2Board& board, int milliseconds, std::optional<MoveReply>& move) {
    const auto startBy = ChildClock::now() + START_LIMIT;
    if (const auto written = exchange.send({"START 20"}, startBy); written != EnginePipes::Write::Done)
        return resultOfWrite(written);
    const Exchange::Answer started = exchange.await(startBy);
    if (started.read == EnginePipes::Read::Late) exchange.late("no answer to START within " + limitText(START_LIMIT));
    if (started.read != EnginePipes::Read::Line) return resultOfRead(started.read);
    if (started.kind != ReplyKind::Ok) return RUN_FAILED;

    // The last line (BEGIN or DONE) asks for the move: only what comes after
    // it can be the answer.
    std::vector<std::string> lines = infoLines(milliseconds);
    const std::vector<std::string> position = positionLines(board);
    lines.insert(lines.end(), position.begin(), position.end() - 1);
    const auto sendBy = ChildClock::now() + START_LIMIT;
    if (const auto written = exchange.send(lines, sendBy); written != EnginePipes::Write::Done)
        return resultOfWrite(written);
    exchange.passOverEarlyLines();
    if (const auto written = exchange.send({position.back()}, sendBy); written != EnginePipes::Write::Done)
        return resultOfWrite(written);
    const auto limit = std::chrono::milliseconds(milliseconds) + ANSWER_MARGIN;
    const Exchange::Answer answer = exchange.await(ChildClock::now() + limit);
    if (answer.read == EnginePipes::Read::Late) exchange.late("no move within " + limitText(limit));
    if (answer.read != EnginePipes::Read::Line) return resultOfRead(answer.read);
    if (answer.kind != ReplyKind::Move) return RUN_FAILED;
    move = answer.move;
    return RUN_OK;
}

}  // namespace

std::vector<std::string> positionLines(const V2Board& board) {
    const std::vector<SentStone> stones = stonesToSend(board);
    if (stones.empty()) return {"BEGIN"};
    std::vector<std::string> lines{"BOARD"};
    for (const SentStone& stone : stones)
        lines.push_back(squareText(columnOf(stone.square), rowOf(stone.square)) + "," + std::to_string(stone.field));
    lines.push_back("DONE");
    return lines;
}

AskOutcome askThroughPipes(const std::vector<std::string>& words, const V2Board& board,
                           const std::filesystem::path& folder, int milliseconds, const AskTimeline& log,
                           const StopFlag* stop) {
    AskOutcome outcome;
    std::unique_ptr<EnginePipes> engine = EnginePipes::start(words, folder, stop);
    if (!engine) {
        log("the engine could not be started");
        outcome.result = RUN_NOT_STARTED;
        return outcome;
    }
    log("started the engine, process " + std::to_string(engine->pid()));
    Exchange exchange(*engine, log, stop);
    outcome.result = converse(exchange, board, milliseconds, outcome.move);
    if (exchange.stopped()) {
        log("the ask was interrupted");
        outcome.result = RUN_FAILED;
        outcome.move.reset();
    }
    exchange.send({"END"}, ChildClock::now() + END_LIMIT);
    outcome.processesEnded = std::make_shared<GroupEnd>();
    outcome.engineEnded = engine->end(outcome.processesEnded);
    return outcome;
}

}  // namespace vorek
