// The game record reader on arbitrary bytes, taken as the whole file. A
// record read must be playable: 1 to 400 moves on different squares, its five
// where a plain scan of the board first finds one, and every position after K
// moves the stones of those moves with the letter to move as player 1, which
// evaluates into a consistent board. A record refused must name a line the
// file has, or the one after its last where a missing move belongs, in a
// message of plain printable text.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "board/invariants.h"
#include "files/game_record.h"
#include "files/position_source.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace vorek;

constexpr const char* RECORD_FILE = "game.psq";

// Lines the bytes hold: each LF, CR LF or lone CR ends one, and what follows
// the last end is one more.
int lineCount(std::string_view bytes) {
    int lines = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
    }
    return lines;
}

void checkRefusal(const RecordError& error, std::string_view bytes) {
    if (error.line < 1 || error.line > lineCount(bytes) + 1) fuzz::fail("the error names line " + std::to_string(error.line));
    if (error.message.empty()) fuzz::fail("the error says nothing");
    for (char c : error.message)
        if (c < 0x20 || c > 0x7e) fuzz::fail("the error message holds a byte that is not printable");
}

// Letters on the board: 0 empty, else the move's parity plus one.
using Letters = std::array<int, BOARD_SQUARES>;

bool hasFive(const Letters& letters) {
    constexpr int steps[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (letters[static_cast<std::size_t>(s)] == 0) continue;
        for (const auto& [dx, dy] : steps) {
            int run = 1;
            for (int x = columnOf(s) + dx, y = rowOf(s) + dy;
                 x >= 0 && x < BOARD_SIDE && y >= 0 && y < BOARD_SIDE &&
                 letters[static_cast<std::size_t>(squareAt(x, y))] == letters[static_cast<std::size_t>(s)];
                 x += dx, y += dy)
                ++run;
            if (run >= 5) return true;
        }
    }
    return false;
}

void checkMovesAndFive(const GameRecord& record) {
    if (record.moves.empty() || record.moves.size() > BOARD_SQUARES) fuzz::fail("a record of no moves or too many");
    Letters letters{};
    int firstFive = 0;
    for (std::size_t i = 0; i < record.moves.size(); ++i) {
        const int square = record.moves[i];
        if (square < 0 || square >= BOARD_SQUARES) fuzz::fail("a move off the board");
        if (letters[static_cast<std::size_t>(square)] != 0) fuzz::fail("two moves on one square");
        letters[static_cast<std::size_t>(square)] = static_cast<int>(i % 2) + 1;
        if (firstFive == 0 && hasFive(letters)) firstFive = static_cast<int>(i) + 1;
    }
    if (record.fiveAt != firstFive)
        fuzz::fail("five at move " + std::to_string(record.fiveAt) + ", the scan finds " + std::to_string(firstFive));
}

void checkPositionAfter(const GameRecord& record, int count) {
    const PositionSource position = recordPosition(record, count);
    const V2Board& board = *position.board;
    if (board.sideToMove() != PLAYER1 || board.stoneCount() != count) fuzz::fail("side to move or stone count wrong");
    if (position.labels.player1Letter != letterOfMove(record, count + 1)) fuzz::fail("the letter to move is wrong");
    for (int i = 0; i < count; ++i) {
        // Move i + 1 is the mover's when it has the parity of move count + 1.
        const int square = record.moves[static_cast<std::size_t>(i)];
        if (board.isEmpty(square) || board.stoneAt(square) != (i % 2 == count % 2 ? PLAYER1 : PLAYER0) ||
            position.labels.numbers[static_cast<std::size_t>(square)] != (i + 1 <= LARGEST_SHOWN_NUMBER ? i + 1 : 0))
            fuzz::fail("the position after " + std::to_string(count) + " moves holds other stones or numbers");
    }
    fuzz::require(checkInvariants(board));
}

// What the record is written as reads back as the same record, the lines
// after its moves and all; the reader's scan of fives agrees with firstFiveAt.
void checkWrittenBack(const GameRecord& record) {
    if (firstFiveAt(record.moves) != record.fiveAt) fuzz::fail("firstFiveAt disagrees with the reader");
    fuzz::putFile(RECORD_FILE, gameRecordText(record));
    const auto again = readGameRecord(fuzz::scratchFolder() / RECORD_FILE);
    const auto* written = std::get_if<GameRecord>(&again);
    if (written == nullptr) fuzz::fail("a record written is not read back");
    if (written->firstLetter != record.firstLetter || written->moves != record.moves ||
        written->milliseconds != record.milliseconds || written->timeLevels != record.timeLevels ||
        written->trailer != record.trailer)
        fuzz::fail("a record written reads back as another");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::putFile(RECORD_FILE, bytes);
    const auto read = readGameRecord(fuzz::scratchFolder() / RECORD_FILE);
    if (const auto* error = std::get_if<RecordError>(&read)) {
        checkRefusal(*error, bytes);
        return 0;
    }
    const GameRecord& record = std::get<GameRecord>(read);
    checkMovesAndFive(record);
    const int moves = static_cast<int>(record.moves.size());
    for (int count : {0, moves / 2, moves - 1, moves}) checkPositionAfter(record, count);
    checkWrittenBack(record);
    return 0;
}
