// The file protocol of gomoku AI programs: "plocha.dat" (the board), "tah.dat"
// (the side to move, or an AI's answer) and "timeouts.dat" (the AI's time).
// Every function works in the given folder; an empty path is the working
// directory. Writers use the lower-case names; readers also find the files
// under names in another case (see findProtocolFile). The functions that take
// a FolderHandle never follow a link at a file's name: an asker uses them on
// the folder of a program it does not trust.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "board/stones.h"
#include "board/v2board.h"
#include "files/folder_handle.h"

namespace vorek {

inline constexpr const char* BOARD_FILE = "plocha.dat";
inline constexpr const char* MOVE_FILE = "tah.dat";
inline constexpr const char* TIMEOUTS_FILE = "timeouts.dat";

// The file a reader opens for the lower-case protocol file name in dir: dir/name
// when the folder holds an entry of that name; otherwise the regular file whose
// name equals it ignoring case (managers written for Windows create
// "PLOCHA.DAT" and the like), the most recently modified of several and the
// first by name among equally recent ones; otherwise dir/name.
std::filesystem::path findProtocolFile(const std::filesystem::path& dir, std::string_view name);

// The name in the folder that findProtocolFile would take.
std::string protocolName(const FolderHandle& folder, std::string_view name);

// The position files as read, before anything is judged.
struct FilePosition {
    // The stones of "plocha.dat": the letter "tah.dat" names is player 1's.
    Stones stones;
    // The letter of player 1's stones: 'o' when the first non-whitespace
    // character of "tah.dat" is "o", otherwise 'x'.
    char player1Letter = 'x';
    // Both files were read in full; otherwise the squares not read are empty
    // (all of them when a file cannot be opened or "tah.dat" names nobody).
    bool read = false;
};

// Reads "tah.dat" and "plocha.dat", each once. Player 1, the letter named in
// "tah.dat", is to move.
FilePosition readPosition(const std::filesystem::path& dir = {});

// The 400 square characters of the board in 20 lines, each ending CR LF.
std::ostream& writeSquares(std::ostream& out, const V2Board& board);

// The bytes of "plocha.dat" and of "tah.dat" for the board.
std::string boardFileBytes(const V2Board& board);
std::string moveFileBytes(const V2Board& board);

// Replaces "plocha.dat" and then "tah.dat" with the board's position, each on
// its own (replaceFile: a link's file is written in place). True when both
// were written.
bool writePositionFiles(const V2Board& board, const std::filesystem::path& dir = {});

// The time a digit in "timeouts.dat" stands for: the digit d gives d x 1100 ms.
inline constexpr int MILLISECONDS_PER_TIMEOUT_DIGIT = 1100;

// The bytes of "timeouts.dat" for the digit: the digit, then 2147483647,
// each on its own line ending CR LF.
std::string timeoutsFileBytes(int digit);

// Replaces "timeouts.dat" for the digit of the key that asked an AI: the
// digit, then 2147483647, each on its own line; a link at the name is
// replaced by the file.
bool writeTimeouts(int digit, const std::filesystem::path& dir = {});

struct MoveReply {
    int x;  // column
    int y;  // row
};

// An AI's answer in "tah.dat": an integer, any one separator character, an
// integer, whitespace skipped before each. No move when the file cannot be
// read, is a link or anything but a regular file, an item is missing or an
// integer does not fit 32 bits.
std::optional<MoveReply> readMoveReply(const std::filesystem::path& dir = {});
std::optional<MoveReply> readMoveReply(const FolderHandle& folder);

}  // namespace vorek
