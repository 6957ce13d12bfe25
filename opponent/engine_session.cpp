#include "opponent/engine_session.h"

#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <climits>
#include <system_error>

#include "board/square_text.h"
#include "files/ascii_text.h"
#include "opponent/ask_through_pipes.h"
#include "opponent/engine_pipes.h"

namespace vorek {

namespace {

// The reader's longest wait for a line, so that it sees its deadlines and
// end() in time.
constexpr std::chrono::milliseconds LOOK_EVERY{100};
// Time an engine that closed its output is given to exit, so that its exit
// status can be told.
constexpr std::chrono::milliseconds EXIT_LOOK{200};

constexpr std::string_view EXTENDED_COMMANDS[] = {"YXBOARD", "YXNBEST"};

// How the engine whose output closed ended, without collecting it (its
// process group is ended and it is collected by EnginePipes::end).
std::string exitText(pid_t pid) {
    endsBy(pid, ChildClock::now() + EXIT_LOOK);
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != pid)
        return "the engine closed its output";
    if (info.si_code == CLD_EXITED) return "the engine exited with code " + std::to_string(info.si_status);
    return "the engine was ended by signal " + std::to_string(info.si_status);
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at)
        if (sameIgnoringCase(text.substr(at, word.size()), word)) return true;
    return false;
}

// An ERROR or UNKNOWN answer that says the engine does not know YXBOARD or
// YXNBEST: it names one, or says nothing more.
bool refusesExtendedCommands(std::string_view text) {
    if (text.empty()) return true;
    return std::any_of(std::begin(EXTENDED_COMMANDS), std::end(EXTENDED_COMMANDS),
                       [text](std::string_view command) { return containsIgnoringCase(text, command); });
}

// Ready once every one of the futures is: waited for on a thread of its own,
// or here when there is none to spare.
std::future<void> allEnded(std::vector<std::future<void>> endings) {
    auto waited = std::make_shared<std::vector<std::future<void>>>(std::move(endings));
    auto all = std::make_shared<std::promise<void>>();
    std::future<void> ended = all->get_future();
    const auto waitAll = [waited, all] {
        for (const std::future<void>& ending : *waited) ending.wait();
        all->set_value();
    };
    try {
        std::thread(waitAll).detach();
    } catch (const std::system_error&) {
        waitAll();
    }
    return ended;
}

std::string millisecondsText(std::chrono::milliseconds time) { return std::to_string(time.count()) + " ms"; }

}  // namespace

// One engine process and the thread that reads it.
struct EngineSession::Run {
    std::unique_ptr<EnginePipes> pipes;
    std::atomic<bool> quit{false};  // end() takes over: the reader returns
    bool ended = false;             // its pipes are ended; under the session's mutex
};

struct EngineSession::Think {
    int id = 0;
    ThinkRequest request;
    std::vector<std::string> board;    // BEGIN, or BOARD, the stones and DONE
    std::bitset<BOARD_SQUARES> taken;  // the squares that hold stones
    bool stopped = false;              // stop() came before it began
};

EngineSession::EngineSession(EngineSetup setup, Sink sink, AskLog* log)
    : setup_(std::move(setup)), sink_(std::move(sink)) {
    if (log != nullptr) log_.emplace(*log);
}

EngineSession::~EngineSession() {
    bool ended;
    {
        const std::lock_guard lock(mutex_);
        ended = state_ == State::Ended;
    }
    if (!ended) end();
}

bool EngineSession::start() {
    const std::lock_guard lock(mutex_);
    if (state_ == State::Ended) return false;
    return state_ != State::Down || startEngine();
}

int EngineSession::analyse(const V2Board& board, const ThinkRequest& request) {
    auto think = std::make_unique<Think>();
    think->request = request;
    think->request.milliseconds = std::max(request.milliseconds, 0);
    think->request.lines = std::max(request.lines, 1);
    think->board = positionLines(board);
    for (int s = 0; s < BOARD_SQUARES; ++s) think->taken[static_cast<std::size_t>(s)] = !board.isEmpty(s);

    const std::lock_guard lock(mutex_);
    if (state_ == State::Ended) return 0;
    think->id = ++lastThink_;
    const int id = think->id;
    switch (state_) {
        case State::Down:
            if (!startEngine()) return 0;
            waiting_ = std::move(think);
            break;
        case State::Idle: begin(std::move(think)); break;
        case State::Thinking:
            waiting_ = std::move(think);
            requestStop(std::min(deadline_, ChildClock::now() + STOP_LIMIT));
            break;
        case State::Starting:
        case State::Stopping:
        case State::Settling: waiting_ = std::move(think); break;
        case State::Ended: break;
    }
    return id;
}

void EngineSession::stop() {
    const std::lock_guard lock(mutex_);
    // A think waiting to begin ends as soon as it would begin.
    if (waiting_) waiting_->stopped = true;
    if (state_ == State::Thinking) requestStop(std::min(deadline_, ChildClock::now() + STOP_LIMIT));
}

std::future<void> EngineSession::end() {
    std::shared_ptr<Run> run;
    State was;
    {
        const std::lock_guard lock(mutex_);
        was = state_;
        state_ = State::Ended;
        waiting_.reset();
        run = run_;
        if (run) run->quit = true;
    }
    for (std::thread& reader : readers_) {
        assert(reader.get_id() != std::this_thread::get_id());  // not from the sink
        if (reader.joinable()) reader.join();
    }
    std::vector<std::future<void>> endings;
    {
        const std::lock_guard lock(mutex_);
        if (run && !run->ended) {
            if (was == State::Thinking || was == State::Stopping) send({"YXSTOP"});
            send({"END"});
            // What the engine still writes is read, so that it can take END
            // rather than be ended by a write to a closed pipe.
            std::string line;
            const ChildClock::time_point drainBy = ChildClock::now() + END_DRAIN;
            while (run->pipes->readLine(line, drainBy) == EnginePipes::Read::Line) received(line);
            run->ended = true;
            endings_.push_back(run->pipes->end());
        }
        run_.reset();
        endings = std::move(endings_);
    }
    return allEnded(std::move(endings));
}

// ---- The engine's life --------------------------------------------------------

bool EngineSession::startEngine() {
    std::unique_ptr<EnginePipes> pipes = EnginePipes::start(setup_.words, setup_.folder);
    if (!pipes) {
        note("the engine could not be started");
        return false;
    }
    auto run = std::make_shared<Run>();
    run->pipes = std::move(pipes);
    note("started the engine, process " + std::to_string(run->pipes->pid()));
    run_ = run;
    state_ = State::Starting;
    commands_ = Commands::Untried;
    sentTimeout_ = -1;
    aboutSilent_ = false;
    stalledInput_ = false;
    blocks_.drop();
    deadline_ = ChildClock::now() + START_LIMIT;
    send({"START 20"});
    try {
        readers_.emplace_back(&EngineSession::readFrom, this, run);
    } catch (const std::system_error&) {
        note("no thread to read the engine: it is ended");
        run->ended = true;
        endings_.push_back(run->pipes->end());
        run_.reset();
        state_ = State::Down;
        return false;
    }
    return true;
}

// The engine's lines, turned into events and handed to the sink, until its
// output closes, it is ended, or end() takes over.
void EngineSession::readFrom(std::shared_ptr<Run> run) {
    std::string line;
    for (;;) {
        ChildClock::time_point look;
        {
            const std::lock_guard lock(mutex_);
            if (run->ended || run->quit) return;
            look = nextLook();
        }
        const EnginePipes::Read read = run->pipes->readLine(line, look);
        if (run->quit) return;
        const std::string exit = read == EnginePipes::Read::Closed ? exitText(run->pipes->pid()) : std::string();
        Events events;
        {
            const std::lock_guard lock(mutex_);
            if (run->ended || run != run_ || state_ == State::Ended) return;
            if (read == EnginePipes::Read::Closed) {
                down(EngineDown::Exited, exit, events);
            } else {
                if (read == EnginePipes::Read::Line) take(line, events);
                // Also while lines come: an engine that floods its output
                // still has its deadlines.
                lookAtClock(events);
            }
        }
        deliver(events);
    }
}

ChildClock::time_point EngineSession::nextLook() const {
    ChildClock::time_point look = ChildClock::now() + LOOK_EVERY;
    if (state_ == State::Starting || state_ == State::Thinking || state_ == State::Stopping ||
        state_ == State::Settling)
        look = std::min(look, deadline_);
    if (state_ == State::Stopping && !stopAgainSent_) look = std::min(look, stopAgainAt_);
    return look;
}

void EngineSession::take(std::string_view line, Events& events) {
    received(line);
    const EngineLine parsed = parseEngineLine(line);
    switch (state_) {
        case State::Starting:
            if (parsed.kind == EngineLineKind::Ok) {
                state_ = State::Idle;
                sendSetup();
                beginWaiting(events);
            } else if (parsed.kind == EngineLineKind::Error || parsed.kind == EngineLineKind::Unknown) {
                down(EngineDown::NoStart, "the engine answered START 20 with \"" + escapeForLog(line) + "\"",
                     events);
            } else if (parsed.kind == EngineLineKind::Message) {
                events.push_back(MessageEvent{0, std::string(parsed.text)});
            }
            return;
        case State::Idle:
            if (parsed.kind == EngineLineKind::Message) events.push_back(MessageEvent{0, std::string(parsed.text)});
            if (parsed.kind == EngineLineKind::Move) note("passed over: no think was under way");
            return;
        case State::Thinking:
        case State::Stopping: takeWhileThinking(parsed, events); return;
        case State::Settling:
            if (parsed.kind == EngineLineKind::About || parsed.kind == EngineLineKind::Error || parsed.kind == EngineLineKind::Unknown)
                settled(events);
            return;
        case State::Down:
        case State::Ended: return;
    }
}

void EngineSession::takeWhileThinking(const EngineLine& parsed, Events& events) {
    const Think& think = *current_;
    switch (parsed.kind) {
        case EngineLineKind::Info:
            streamed_ = true;
            if (std::optional<SearchLine> block = blocks_.take(parsed)) {
                // The line as far as it can be played: each move on a square still empty.
                std::bitset<BOARD_SQUARES> taken = think.taken;
                std::size_t playable = 0;
                for (; playable < block->line.size(); ++playable) {
                    const auto square = static_cast<std::size_t>(block->line[playable]);
                    if (taken.test(square)) break;
                    taken.set(square);
                }
                block->line.resize(playable);
                events.push_back(SearchEvent{think.id, std::move(*block)});
            }
            return;
        case EngineLineKind::Realtime: {
            streamed_ = true;
            int square = -1;
            if (parsed.realtime != RealtimeKind::Refresh) {
                if (!onBoard(parsed.move.x, parsed.move.y)) return;
                square = squareAt(parsed.move.x, parsed.move.y);
                if (think.taken.test(static_cast<std::size_t>(square))) return;
            }
            events.push_back(RealtimeEvent{think.id, parsed.realtime, square});
            return;
        }
        case EngineLineKind::Message: events.push_back(MessageEvent{think.id, std::string(parsed.text)}); return;
        case EngineLineKind::Move: answer(parsed, events); return;
        case EngineLineKind::Error:
        case EngineLineKind::Unknown:
            if (commands_ == Commands::Untried && !streamed_ && refusesExtendedCommands(parsed.text))
                fallBackToBoard(events);
            return;
        default: return;
    }
}

void EngineSession::lookAtClock(Events& events) {
    if (state_ == State::Down || state_ == State::Ended) return;
    if (stalledInput_) {
        down(EngineDown::Stalled, "the engine does not take its input; it was ended", events);
        return;
    }
    const ChildClock::time_point now = ChildClock::now();
    switch (state_) {
        case State::Starting:
            if (now >= deadline_)
                down(EngineDown::NoStart, "no answer to START within " + millisecondsText(START_LIMIT), events);
            return;
        case State::Thinking:
            if (now >= deadline_) {
                note("no move within " +
                     millisecondsText(std::chrono::milliseconds(current_->request.milliseconds) + ANSWER_MARGIN) +
                     ": the engine is told to stop");
                requestStop(now + STOP_LIMIT);
            }
            return;
        case State::Stopping:
            if (!stopAgainSent_ && now >= stopAgainAt_) {
                stopAgainSent_ = true;
                send({"STOP"});
            }
            if (now >= deadline_)
                down(EngineDown::Stalled, "no move after YXSTOP and STOP; the engine was ended", events);
            return;
        case State::Settling:
            if (now < deadline_) return;
            if (aboutSent_ < ABOUT_TRIES) {
                settle();
                return;
            }
            note("no answer to ABOUT: from now on the engine gets its positions at once");
            aboutSilent_ = true;
            settled(events);
            return;
        default: return;
    }
}

void EngineSession::sendSetup() {
    std::vector<std::string> lines{"INFO timeout_match 0",
                                   "INFO time_left " + std::to_string(INT_MAX),
                                   "INFO max_memory " + std::to_string(setup_.maxMemory),
                                   "INFO game_type 1",
                                   "INFO rule 0",
                                   "INFO SHOW_DETAIL 3"};
    if (setup_.threads > 0) lines.push_back("INFO thread_num " + std::to_string(setup_.threads));
    send(lines);
}

// ---- Thinks -------------------------------------------------------------------

void EngineSession::begin(std::unique_ptr<Think> think) {
    std::vector<std::string> lines;
    if (think->request.milliseconds != sentTimeout_) {
        sentTimeout_ = think->request.milliseconds;
        lines.push_back("INFO timeout_turn " + std::to_string(sentTimeout_));
    }
    if (commands_ == Commands::Plain) {
        lines.insert(lines.end(), think->board.begin(), think->board.end());
    } else {
        // The same stones after YXBOARD; an empty board is YXBOARD, DONE.
        if (think->board.front() == "BEGIN") {
            lines.insert(lines.end(), {"YXBOARD", "DONE"});
        } else {
            lines.push_back("YXBOARD");
            lines.insert(lines.end(), think->board.begin() + 1, think->board.end());
        }
        lines.push_back("YXNBEST " + std::to_string(think->request.lines));
    }
    current_ = std::move(think);
    state_ = State::Thinking;
    streamed_ = false;
    stopAgainSent_ = false;
    receivedLines_ = 0;
    blocks_.drop();
    deadline_ = ChildClock::now() + std::chrono::milliseconds(current_->request.milliseconds) + ANSWER_MARGIN;
    send(lines);
}

void EngineSession::answer(const EngineLine& parsed, Events& events) {
    if (commands_ == Commands::Untried) commands_ = Commands::Extended;
    AnswerEvent answer{.think = current_->id, .square = -1, .stopped = state_ == State::Stopping, .fault = {}};
    const std::string square = squareText(parsed.move.x, parsed.move.y);
    if (!onBoard(parsed.move.x, parsed.move.y)) {
        answer.fault = "the answer " + square + " is off the board";
    } else if (current_->taken.test(static_cast<std::size_t>(squareAt(parsed.move.x, parsed.move.y)))) {
        answer.fault = "the answer " + square + " is on a stone";
    } else {
        answer.square = squareAt(parsed.move.x, parsed.move.y);
    }
    endThink(std::move(answer), events);
}

void EngineSession::endThink(AnswerEvent answer, Events& events) {
    if (!answer.fault.empty()) note(answer.fault);
    events.emplace_back(std::in_place_type<AnswerEvent>, std::move(answer));
    current_.reset();
    blocks_.drop();
    if (aboutSilent_) {
        settled(events);
        return;
    }
    aboutSent_ = 0;
    settle();
}

void EngineSession::settle() {
    state_ = State::Settling;
    ++aboutSent_;
    deadline_ = ChildClock::now() + ABOUT_LIMIT;
    send({"ABOUT"});
}

void EngineSession::settled(Events& events) {
    state_ = State::Idle;
    beginWaiting(events);
}

void EngineSession::beginWaiting(Events& events) {
    if (!waiting_) return;
    std::unique_ptr<Think> think = std::move(waiting_);
    if (!think->stopped) {
        begin(std::move(think));
        return;
    }
    events.emplace_back(std::in_place_type<AnswerEvent>,
                        AnswerEvent{.think = think->id, .square = -1, .stopped = true, .fault = "stopped before it began"});
}

void EngineSession::requestStop(ChildClock::time_point answerBy) {
    send({"YXSTOP"});
    state_ = State::Stopping;
    deadline_ = answerBy;
    stopAgainAt_ = ChildClock::now() + STOP_LIMIT / 2;
    stopAgainSent_ = false;
}

// The engine did not know YXBOARD or YXNBEST, so the think has not begun:
// it is asked for its move on BOARD instead, unless it was stopped meanwhile.
void EngineSession::fallBackToBoard(Events& events) {
    commands_ = Commands::Plain;
    note("the engine does not know YXBOARD or YXNBEST: positions go to it with BOARD, which asks for its move");
    if (state_ == State::Stopping) {
        endThink(AnswerEvent{.think = current_->id, .square = -1, .stopped = true, .fault = "stopped before it began"},
                 events);
        return;
    }
    deadline_ = ChildClock::now() + std::chrono::milliseconds(current_->request.milliseconds) + ANSWER_MARGIN;
    send(current_->board);
}

// Called on the reading thread only, which alone may end the pipes while
// the engine runs.
void EngineSession::down(EngineDown why, const std::string& detail, Events& events) {
    note(detail);
    if (run_ && !run_->ended) {
        run_->ended = true;
        endings_.push_back(run_->pipes->end());
    }
    run_.reset();
    const bool stopping = state_ == State::Stopping;
    const int think = current_ ? current_->id : waiting_ ? waiting_->id : 0;
    events.push_back(EngineDownEvent{think, why, detail});
    current_.reset();
    blocks_.drop();
    state_ = State::Down;
    // Told to stop for another position, the engine did not: that position
    // gets an engine started anew.
    if (!stopping || !waiting_) {
        waiting_.reset();
        return;
    }
    if (!startEngine()) {
        events.push_back(
            EngineDownEvent{waiting_->id, EngineDown::NotStarted, "the engine could not be started again"});
        waiting_.reset();
    }
}

// ---- Lines --------------------------------------------------------------------

bool EngineSession::send(const std::vector<std::string>& lines) {
    if (!run_ || run_->ended) return false;
    for (const std::string& line : lines) {
        if (log_) (*log_)("> " + line);
        const EnginePipes::Write written = run_->pipes->send(line, ChildClock::now() + SEND_LIMIT);
        if (written == EnginePipes::Write::Done) continue;
        // A closed input is told by the reader when the output closes too.
        if (written == EnginePipes::Write::Late) stalledInput_ = true;
        return false;
    }
    return true;
}

void EngineSession::note(std::string_view text) const {
    if (log_) (*log_)(text);
}

void EngineSession::received(std::string_view line) {
    ++receivedLines_;
    if (receivedLines_ <= LOGGED_LINES) note("< " + std::string(line));
    if (receivedLines_ == LOGGED_LINES + 1) note("further lines of this think are read but not logged");
}

void EngineSession::deliver(Events& events) const {
    if (!sink_) return;
    for (EngineEvent& event : events) sink_(std::move(event));
}

}  // namespace vorek
