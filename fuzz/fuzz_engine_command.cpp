// vorek-ai as an engine of the stdin/stdout protocol on arbitrary lines: the
// command parser, whose squares and stone lines must read back as written,
// and the engine itself, which must answer every line with whole lines and
// never fail, whatever the order of commands, stones and squares.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "ai/engine_command.h"
#include "ai/engine_loop.h"
#include "fuzz/fuzz_support.h"
#include "opponent/line_splitter.h"

namespace {

using namespace vorek;

void checkCommand(std::string_view line) {
    const EngineCommand command = parseEngineCommand(line);
    if ((command.kind == CommandKind::Turn || command.kind == CommandKind::Takeback) && command.wellFormed) {
        const EngineCommand again = parseEngineCommand("TURN " + std::to_string(command.x) + "," + std::to_string(command.y));
        if (!again.wellFormed || again.x != command.x || again.y != command.y)
            fuzz::fail("a square does not read back as written");
    }
    if (const std::optional<StoneLine> stone = parseStoneLine(line)) {
        const std::string written = std::to_string(stone->x) + "," + std::to_string(stone->y) + "," +
                                    std::to_string(stone->field);
        const std::optional<StoneLine> again = parseStoneLine(written);
        if (!again || again->x != stone->x || again->y != stone->y || again->field != stone->field)
            fuzz::fail("a stone line does not read back as written: " + written);
    }
}

bool setsTurnTime(std::string key) {
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    return key == "timeout_turn";
}

void checkReply(const ProtocolEngine::Reply& reply) {
    for (const std::string& line : reply.lines)
        if (line.find_first_of("\r\n") != std::string::npos) fuzz::fail("a line end inside a reply line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ProtocolEngine engine;
    // No time to solve: the engine answers with the generator's move at once.
    engine.handle("INFO timeout_turn 0", ProtocolEngine::Clock::now());
    LineSplitter splitter;
    splitter.feed(std::string_view(reinterpret_cast<const char*>(data), size));
    std::optional<std::string> line;
    while ((line = splitter.next()) || (line = splitter.finish())) {
        checkCommand(*line);
        const EngineCommand command = parseEngineCommand(*line);
        if (command.kind == CommandKind::Info && setsTurnTime(command.key)) continue;  // kept at 0
        const ProtocolEngine::Reply reply = engine.handle(*line, ProtocolEngine::Clock::now());
        checkReply(reply);
        if (reply.end) break;
    }
    return 0;
}
