// Cutting a stream of protocol text into lines, whatever line ends the other
// side writes.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace vorek {

// Lines end at LF, CR LF or CR; empty lines are dropped. The bytes may come
// in pieces of any size, a line split across them.
class LineSplitter {
public:
    // A line longer than this keeps its first LONGEST_LINE bytes; the rest of
    // it is dropped, so that no output, however long, takes more memory.
    static constexpr std::size_t LONGEST_LINE = 4096;

    // Takes the next bytes of the stream.
    void feed(std::string_view bytes);

    // The next complete line, oldest first, without its line end.
    std::optional<std::string> next();

    // At the end of the stream: the last line when it had no line end.
    std::optional<std::string> finish();

private:
    std::deque<std::string> complete_;
    std::string partial_;
};

}  // namespace vorek
