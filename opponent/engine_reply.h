// What a line from an engine that speaks the stdin/stdout protocol says.
#pragma once

#include <optional>
#include <string_view>

#include "files/position_files.h"

namespace vorek {

enum class ReplyKind {
    Ok,       // "OK": the answer to START
    Move,     // "x,y": the engine's move
    Message,  // "MESSAGE text": for the user; the engine goes on
    Debug,    // "DEBUG text": for the engine's author; the engine goes on
    Error,    // "ERROR text": the engine refuses what it was sent
    Unknown,  // "UNKNOWN text": the engine does not know the command
    Other,    // anything else
};

struct EngineReply {
    ReplyKind kind = ReplyKind::Other;
    MoveReply move{};       // for Move
    std::string_view text;  // for Message, Debug, Error and Unknown: what follows the keyword
};

// Reads one line (without its line end). A keyword is the first word, blanks
// before it skipped and its case ignored; its text starts after the blanks
// that follow it. A line that starts with no keyword is a move when
// parseMoveText reads one from it.
EngineReply parseEngineReply(std::string_view line);

// A move written as in "tah.dat": an integer, any one separator character, an
// integer, whitespace skipped before each and whatever follows ignored. Each
// integer may have a sign and must fit 32 bits.
std::optional<MoveReply> parseMoveText(std::string_view text);

}  // namespace vorek
