// The reader of an AI's answer on arbitrary bytes in "tah.dat". Its result
// must be what formatted stream input gives for "integer, character, integer".
#include <cstdint>
#include <sstream>
#include <string>

#include "board/position_files.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace vorek;

std::optional<MoveReply> streamReading(std::string_view bytes) {
    std::istringstream in{std::string(bytes)};
    int x = 0;
    int y = 0;
    char separator = 0;
    if (!(in >> x >> separator >> y)) return std::nullopt;
    return MoveReply{x, y};
}

std::string describe(const std::optional<MoveReply>& reply) {
    return reply ? std::to_string(reply->x) + "," + std::to_string(reply->y) : "no move";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::putFile(MOVE_FILE, bytes);
    const std::optional<MoveReply> reply = readMoveReply(fuzz::scratchFolder());
    const std::optional<MoveReply> expected = streamReading(bytes);
    const bool same = reply.has_value() == expected.has_value() &&
                      (!reply || (reply->x == expected->x && reply->y == expected->y));
    if (!same) fuzz::fail("reply read as " + describe(reply) + ", stream input gives " + describe(expected));
    return 0;
}
