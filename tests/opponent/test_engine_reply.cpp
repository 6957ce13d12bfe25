// Reading what an engine writes: lines cut at any line end, and what each
// line says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opponent/engine_reply.h"
#include "opponent/line_splitter.h"

namespace vorek {
namespace {

std::vector<std::string> split(std::initializer_list<std::string_view> pieces, bool atEnd = true) {
    LineSplitter splitter;
    std::vector<std::string> lines;
    for (const std::string_view piece : pieces) {
        splitter.feed(piece);
        while (auto line = splitter.next()) lines.push_back(*line);
    }
    if (atEnd)
        if (auto last = splitter.finish()) lines.push_back(*last);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineSplitter, AnyLineEndAnyPiecesNoEmptyLines) {
    EXPECT_EQ(split({"OK\n10,9\n"}), (Lines{"OK", "10,9"}));
    EXPECT_EQ(split({"OK\r\n10,9\r\n"}), (Lines{"OK", "10,9"}));
    EXPECT_EQ(split({"OK\r10,9\r"}), (Lines{"OK", "10,9"}));
    EXPECT_EQ(split({"\r\n\n\r\rOK\n\n\r\n"}), (Lines{"OK"}));
    EXPECT_EQ(split({"O", "K\r", "\n1", "0,", "9"}), (Lines{"OK", "10,9"}));  // a last line without an end
    EXPECT_EQ(split({"O", "K\r", "\n1", "0,", "9"}, false), (Lines{"OK"}));    // ... is not whole before the end
    const std::string flood(3 * LineSplitter::LONGEST_LINE, 'm');
    EXPECT_EQ(split({flood, flood, "\nOK\n"}), (Lines{flood.substr(0, LineSplitter::LONGEST_LINE), "OK"}));
}

TEST(EngineReply, KeywordsTextAndMoves) {
    const struct {
        const char* line;
        ReplyKind kind;
        const char* text;
        int x, y;
    } cases[] = {
        {"OK", ReplyKind::Ok, "", 0, 0},
        {"  ok  ", ReplyKind::Ok, "", 0, 0},
        {"OKAY", ReplyKind::Other, "", 0, 0},
        {"MESSAGE thinking  hard ", ReplyKind::Message, "thinking  hard ", 0, 0},
        {"MESSAGE", ReplyKind::Message, "", 0, 0},
        {"debug\tdepth 3", ReplyKind::Debug, "depth 3", 0, 0},
        {"ERROR unsupported rule", ReplyKind::Error, "unsupported rule", 0, 0},
        {"UNKNOWN BEGIN", ReplyKind::Unknown, "BEGIN", 0, 0},
        {"MESSAGES 1", ReplyKind::Other, "", 0, 0},
        {"10,9", ReplyKind::Move, "", 10, 9},
        {" 7 , 13", ReplyKind::Move, "", 7, 13},
        {"7;3 extra", ReplyKind::Move, "", 7, 3},  // read as "tah.dat" is read
        {"-1,+20", ReplyKind::Move, "", -1, 20},
        {"7 13", ReplyKind::Move, "", 7, 3},  // the 1 is the separator
        {"7 3", ReplyKind::Other, "", 0, 0},
        {"10,", ReplyKind::Other, "", 0, 0},
        {"2147483648,1", ReplyKind::Other, "", 0, 0},
        {"x,y", ReplyKind::Other, "", 0, 0},
        {"", ReplyKind::Other, "", 0, 0},
    };
    for (const auto& c : cases) {
        const EngineReply reply = parseEngineReply(c.line);
        EXPECT_EQ(reply.kind, c.kind) << c.line;
        EXPECT_EQ(reply.text, c.text) << c.line;
        if (c.kind == ReplyKind::Move) {
            EXPECT_EQ(reply.move.x * 100 + reply.move.y, c.x * 100 + c.y) << c.line;
        }
    }
}

}  // namespace
}  // namespace vorek
