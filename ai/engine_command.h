// One line from a manager of the stdin/stdout protocol, taken apart. Pure:
// what to do with it is the engine loop's affair.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorek {

enum class CommandKind {
    Empty,     // a blank line
    Start,     // START size
    Restart,   // RESTART
    Info,      // INFO key value
    Begin,     // BEGIN
    Turn,      // TURN x,y
    Board,     // BOARD: stone lines follow up to DONE
    Done,      // DONE: the end of the stone lines
    Takeback,  // TAKEBACK x,y
    About,     // ABOUT
    End,       // END
    Unknown,   // any other word
};

struct EngineCommand {
    CommandKind kind = CommandKind::Empty;
    bool wellFormed = true;  // the arguments the kind takes were read
    int size = 0;            // Start
    int x = 0;               // Turn, Takeback: the column
    int y = 0;               // Turn, Takeback: the row
    std::string key;         // Info
    std::string value;       // Info: the rest of the line, blanks around it dropped
    std::string word;        // the command word as written
};

// The command word is the line's first word, matched ignoring case, blanks
// around it skipped. START takes the next word as its size, INFO the next
// word as its key and the rest as its value, TURN and TAKEBACK the rest of
// the line as "x,y". Numbers are decimal with an optional sign and at most 9
// digits, blanks around them allowed. A command whose arguments cannot be
// read is not wellFormed.
EngineCommand parseEngineCommand(std::string_view line);

struct StoneLine {
    int x;
    int y;
    int field;  // 1: the engine's own stone, 2: the opponent's
};

// A line "x,y,f" between BOARD and DONE; nullopt when it is not three numbers
// separated by commas. The values are not checked.
std::optional<StoneLine> parseStoneLine(std::string_view line);

}  // namespace vorek
