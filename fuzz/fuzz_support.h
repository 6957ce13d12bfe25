// What the fuzz targets share: a private folder on tmpfs for the position
// files, a reader of the fuzzer's bytes, the start positions, and a stop with
// a description when a check fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "board/v2board.h"
#include "files/position_files.h"

namespace vorek::fuzz {

// A folder of this process's own under /dev/shm (the temp folder when there
// is none), made on first use and removed at exit. Folders left behind by
// fuzzing processes that have died are removed when a new one is made.
const std::filesystem::path& scratchFolder();

// Replaces the named file in the scratch folder with the bytes, or removes it
// when there are none.
void putFile(const char* name, std::optional<std::string_view> bytes);

// Takes the fuzzer's bytes from the front; past the end every byte reads 0.
class ByteStream {
public:
    ByteStream(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return bytes_.empty(); }
    std::uint8_t next();
    // A number 0 .. 2^16-1 from the next two bytes.
    unsigned nextWord();
    // At most n bytes.
    std::string_view take(std::size_t n);

private:
    std::string_view bytes_;
};

// The folder a start position is read from, chosen by the next byte: one of
// the shipped examples, or the scratch folder holding a "plocha.dat" made of
// the following BOARD_CHUNK bytes, with "x" to move.
constexpr std::size_t BOARD_CHUNK = 400;
std::filesystem::path startFolder(ByteStream& in);

// The position of the folder startFolder chooses (folderPosition), each
// example's made only once.
std::unique_ptr<V2Board> startPosition(ByteStream& in);

// For a board whose lists are whole (listsWhole): they hold exactly what a
// full evaluation of the same stones gives, the order among equal rank aside.
// Returns a description of the first difference, or nothing; also nothing
// for a board whose lists are not whole, or when the side to move completes
// five, where a full evaluation stops early.
std::string differenceFromFullEvaluation(const V2Board& board);

// Fails, naming both, unless the move read from the text is what formatted
// stream input reads there as "integer, character, integer": the reference
// for every reader of an AI's answer.
void requireStreamReading(const std::optional<MoveReply>& read, std::string_view text);

// Prints the description to stderr and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(std::string_view what);

// Fails with the description unless it is empty (the checks' way of saying "fine").
inline void require(const std::string& fault) {
    if (!fault.empty()) fail(fault);
}

}  // namespace vorek::fuzz
