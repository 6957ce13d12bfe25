// Game records in the ".psq" text format, one game a file:
//   Piskvorky 20x20, A:B, H
//   x,y,t      one line per move: column x and row y counted from 1, t the
//              milliseconds the move took
//   ...        whatever follows (the players' names, a result code)
// A and B are the players' time levels. H is 0 when "x" made the first move
// and 1 when "o" did; the letters then alternate.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "board/stones.h"
#include "board/v2board.h"

namespace vorek {

// The header's form, as error messages name it.
inline constexpr const char* RECORD_HEADER_FORM = "Piskvorky 20x20, A:B, H";

// Lines are read up to this many characters; a longer header is malformed and
// a longer line after the header ends the moves.
inline constexpr std::size_t MAX_RECORD_LINE = 1000;
// The lines after the moves kept with a record; the rest is not read.
inline constexpr std::size_t MAX_TRAILER_LINES = 64;

struct GameRecord {
    char firstLetter = 'x';  // the letter of move 1: 'x' or 'o'
    std::vector<int> moves;  // the squares in the order played: 1 to 400 of them, all different
    int fiveAt = 0;          // the number of the first move that made five or more in a row; 0: none
    std::vector<int> milliseconds;  // the time each move took, as written (0 where unknown); one a move
    std::string timeLevels = "7:7";  // the header's A:B, in decimal
    // The whole lines after the moves (the players' names, a result code),
    // up to MAX_TRAILER_LINES of them, without their line ends.
    std::vector<std::string> trailer;
};

struct RecordError {
    int line = 0;         // the first line that is wrong, from 1; 0 when the file cannot be opened
    std::string message;  // what is wrong with it, without the line number
};

// How a message about a move names its square: as the record writes it
// ("move 3 (10,10)", counted from 1), or as the window does, counted from 0
// with the record's text beside it ("move 3 (9,9; 10,10 in the record)").
enum class SquareNaming { Record, Board };

// Reads a game record. Line ends may be LF, CR LF or CR; a UTF-8 byte order
// mark before the header and blanks around any field are allowed. The moves
// end at the first line that is not three comma-separated integers (a blank
// line, a name) or at the end of the file; nothing after that is read, so a
// file of any size is read in bounded time and memory. An error names the
// first wrong line: a header not of the form above, a board other than
// 20x20, a first mover other than 0 or 1, no move line, a move off the board
// or on a square already taken.
std::variant<GameRecord, RecordError> readGameRecord(const std::filesystem::path& file,
                                                     SquareNaming naming = SquareNaming::Record);

// The record as a file holds it: the header with its time levels, one line
// "x,y,t" per move (column and row from 1), then the trailer's lines, each
// ending CR LF as the managers that write records end them. Read back, it
// gives the same record.
std::string gameRecordText(const GameRecord& record);

// The number of the first of the moves (from 1) that makes five or more
// stones of its letter in a row, the letters alternating; 0 when none does.
// The moves must be squares, all different.
int firstFiveAt(std::span<const int> moves);

// The letter of move `number` (from 1; one past the last move names the
// letter to move at the end).
char letterOfMove(const GameRecord& record, int number);

// The stones after the first `count` moves (0 .. moves.size()), the letter of
// move count + 1 being player 1's: the stones readPosition gives when they
// are written to "plocha.dat" and that letter to "tah.dat". Another count is
// rejected with std::out_of_range.
Stones stonesAfter(const GameRecord& record, int count);

// The position of those stones with player 1 to move, evaluated.
std::unique_ptr<V2Board> positionAfter(const GameRecord& record, int count);

// A square as a record writes it: "x,y", column and row counted from 1.
std::string recordSquareText(int square);

}  // namespace vorek
