#include "ai/engine_loop.h"

#include <unistd.h>

#include <cerrno>
#include <optional>

#include "ai/choose_move.h"
#include "board/square_text.h"
#include "files/write_all.h"
#include "opponent/line_splitter.h"
#include "threats/slot_pool.h"

namespace vorek {

namespace {

constexpr int BOARD_SIZE = BOARD_SIDE;
constexpr std::string_view ABOUT =
    "name=\"vorek-ai\", version=\"" VOREK_VERSION "\", author=\"Visual Vorek\", country=\"CZ\"";

ProtocolEngine::Reply error(const std::string& text) { return {{"ERROR " + text}}; }

// What is wrong with a stone on x,y for the board, or nothing.
template <typename Cells>
std::string squareFault(const Cells& cells, int x, int y) {
    if (!onBoard(x, y)) return squareText(x, y) + " is off the board";
    if (cells[static_cast<std::size_t>(squareAt(x, y))] != 0) return squareText(x, y) + " holds a stone";
    return {};
}

// The position for the solver: the engine's own stones are player 1's, and
// player 1 is to move.
template <typename Cells>
std::unique_ptr<V2Board> positionOf(const Cells& cells, std::uint8_t own) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const auto cell = cells[static_cast<std::size_t>(s)];
        if (cell != 0) stones.put(s, cell == own ? PLAYER1 : PLAYER0);
    }
    return V2Board::fromStones(stones, PLAYER1);
}

}  // namespace

ProtocolEngine::Reply ProtocolEngine::handle(std::string_view line, Clock::time_point received) {
    const EngineCommand parsed = parseEngineCommand(line);
    if (!readingBoard_) return command(parsed, received);
    switch (parsed.kind) {
        case CommandKind::Done: return finishBoard(received);
        case CommandKind::End: return {{}, true};
        case CommandKind::Empty: return {};
        default: stoneLine(line); return {};
    }
}

ProtocolEngine::Reply ProtocolEngine::command(const EngineCommand& command, Clock::time_point received) {
    switch (command.kind) {
        case CommandKind::Empty: return {};
        case CommandKind::Start:
            if (!command.wellFormed) return error("START needs the board size");
            if (command.size != BOARD_SIZE) return error("only 20x20 boards");
            cells_.fill(NO_STONE);
            return {{"OK"}};
        case CommandKind::Restart: cells_.fill(NO_STONE); return {{"OK"}};
        case CommandKind::Info: return info(command);
        case CommandKind::Begin: return play(received);
        case CommandKind::Turn: {
            if (!command.wellFormed) return error("TURN needs a square x,y");
            if (const std::string fault = squareFault(cells_, command.x, command.y); !fault.empty())
                return error(fault);
            cells_[static_cast<std::size_t>(squareAt(command.x, command.y))] = OPPONENT;
            return play(received);
        }
        case CommandKind::Board:
            readingBoard_ = true;
            givenBoard_.fill(NO_STONE);
            boardFault_.clear();
            return {};
        case CommandKind::Done: return error("DONE without BOARD");
        case CommandKind::Takeback: {
            if (!command.wellFormed) return error("TAKEBACK needs a square x,y");
            if (!onBoard(command.x, command.y) || cells_[static_cast<std::size_t>(squareAt(command.x, command.y))] == NO_STONE)
                return error("no stone on " + squareText(command.x, command.y) + " to take back");
            cells_[static_cast<std::size_t>(squareAt(command.x, command.y))] = NO_STONE;
            return {{"OK"}};
        }
        case CommandKind::About: return {{std::string(ABOUT)}};
        case CommandKind::End: return {{}, true};
        case CommandKind::Unknown: break;
    }
    return {{"UNKNOWN " + command.word}};
}

ProtocolEngine::Reply ProtocolEngine::info(const EngineCommand& command) {
    applyInfo(limits_, command.key, command.value);
    if (limits_.rule == 0 || ruleRefused_) return {};
    ruleRefused_ = true;
    return error("vorek-ai plays freestyle only (rule 0): five or more in a row win");
}

void ProtocolEngine::stoneLine(std::string_view line) {
    if (!boardFault_.empty()) return;
    const std::optional<StoneLine> stone = parseStoneLine(line);
    if (!stone) {
        boardFault_ = "bad stone line '" + std::string(line.substr(0, 40)) + "': give x,y,f";
    } else if (stone->field != OWN && stone->field != OPPONENT) {
        boardFault_ = "stone " + squareText(stone->x, stone->y) + " has field " + std::to_string(stone->field) +
                      ", not 1 or 2";
    } else if (const std::string fault = squareFault(givenBoard_, stone->x, stone->y); !fault.empty()) {
        boardFault_ = "stone " + fault;
    } else {
        givenBoard_[static_cast<std::size_t>(squareAt(stone->x, stone->y))] = static_cast<Cell>(stone->field);
    }
}

ProtocolEngine::Reply ProtocolEngine::finishBoard(Clock::time_point received) {
    readingBoard_ = false;
    if (!boardFault_.empty()) return error(boardFault_);
    cells_ = givenBoard_;
    return play(received);
}

ProtocolEngine::Reply ProtocolEngine::play(Clock::time_point received) {
    const std::chrono::milliseconds turn = limits_.thisTurn();
    MoveChoice choice;
    {
        const std::unique_ptr<V2Board> position = positionOf(cells_, OWN);
        const SolvingLimits limits{SOLVE_NODES, solvingTime(turn, Clock::now() - received), limits_.maxMemory};
        choice = chooseMove(*position, limits);
    }
    // The tree is gone: its memory goes back to the system, so that the next
    // turn's solve has the whole of max_memory again.
    releaseUnusedPoolMemory();
    if (!choice.move) return error("the board is full");
    cells_[static_cast<std::size_t>(*choice.move)] = OWN;
    return {{"MESSAGE " + describeChoice(choice, turn), squareText(columnOf(*choice.move), rowOf(*choice.move))}};
}

namespace {

bool writeReply(int fd, const ProtocolEngine::Reply& reply) {
    std::string bytes;
    for (const std::string& line : reply.lines) bytes += line + "\n";
    return writeAll(fd, bytes);
}

}  // namespace

int runProtocolEngine(int input, int output) {
    ProtocolEngine engine;
    LineSplitter lines;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(input, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        const ProtocolEngine::Clock::time_point received = ProtocolEngine::Clock::now();
        if (count > 0) lines.feed(std::string_view(buffer, static_cast<std::size_t>(count)));
        std::optional<std::string> line;
        while ((line = count > 0 ? lines.next() : lines.finish())) {
            const ProtocolEngine::Reply reply = engine.handle(*line, received);
            if (!writeReply(output, reply)) return 1;
            if (reply.end) return 0;
        }
        if (count <= 0) return 0;  // the manager closed the input
    }
}

}  // namespace vorek
