// What a manager reads from an engine, on arbitrary bytes: the stream cut
// into lines by any line ends and in pieces of any size, and each line read
// as a reply. A move must be what formatted stream input gives for "integer,
// character, integer", and the lines must be the input's text between its
// line ends.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "opponent/engine_reply.h"
#include "opponent/line_splitter.h"

namespace {

using namespace vorek;

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

void checkReply(std::string_view line) {
    const EngineReply reply = parseEngineReply(line);
    const std::optional<MoveReply> move = parseMoveText(line);
    fuzz::requireStreamReading(move, line);
    if (reply.kind == ReplyKind::Move && !move) fuzz::fail("a move reply without a move");
    if (!reply.text.empty() && (reply.text.data() < line.data() || reply.text.data() + reply.text.size() > line.data() + line.size()))
        fuzz::fail("the reply's text lies outside the line");
}

// The lines the input holds when none is too long: its text between runs of
// line ends.
std::vector<std::string> expectedLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : bytes) {
        if (!isLineEnd(c)) {
            line += c;
        } else if (!line.empty()) {
            lines.push_back(std::exchange(line, {}));
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    const std::size_t piece = 1 + in.next() % 64;  // the stream arrives in pieces of this size
    const std::string_view bytes = in.take(size);
    LineSplitter splitter;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        splitter.feed(bytes.substr(at, piece));
        while (auto line = splitter.next()) lines.push_back(*line);
    }
    if (auto last = splitter.finish()) lines.push_back(*last);

    bool overlong = false;
    for (const std::string& line : lines) {
        if (line.empty() || std::any_of(line.begin(), line.end(), isLineEnd)) fuzz::fail("an empty line or a line end in a line");
        if (line.size() > LineSplitter::LONGEST_LINE) fuzz::fail("a line over the longest kept");
        overlong = overlong || line.size() == LineSplitter::LONGEST_LINE;
        checkReply(line);
    }
    if (!overlong && lines != expectedLines(bytes)) fuzz::fail("the lines are not the input's text between line ends");
    return 0;
}
