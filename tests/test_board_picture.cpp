// The board picture as a sequence of canvas calls, the square report and the
// threat list lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/threat_text.h"
#include "picture/board_picture.h"
#include "picture/stone_numbers.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"

namespace vorek {
namespace {

using testing::boardFromRows;

// Pattern codes with known rank keys.
constexpr int FOUR_CODE = 0b111110;        // cn 1, tn 1
constexpr int OPEN_FOUR_CODE = 0b1011110;  // cn 1, tn 0
constexpr int THREE_CODE = 0b10011100;     // cn 2, tn 1

std::string colorName(Rgb c) {
    if (c == COLOR_BLACK) return "black";
    if (c == COLOR_WHITE) return "white";
    if (c == COLOR_YELLOW) return "yellow";
    if (c == COLOR_RED) return "red";
    if (c == COLOR_BLUE) return "blue";
    if (c == COLOR_GREEN) return "green";
    return "other";
}

// Records every call as one readable line.
class RecordingCanvas : public BoardCanvas {
public:
    std::vector<std::string> calls;

    void setPenColor(Rgb c) override { calls.push_back("pen " + colorName(c)); }
    void setBrushColor(Rgb c) override { calls.push_back("brush " + colorName(c)); }
    void setBrushStyle(BrushStyle s) override {
        calls.push_back(s == BrushStyle::SOLID ? "style solid" : "style clear");
    }
    void fillRect(int l, int t, int r, int b) override { calls.push_back("fill " + box(l, t, r, b)); }
    void line(int x1, int y1, int x2, int y2) override {
        calls.push_back("line " + box(x1, y1, x2, y2));
    }
    void ellipse(int l, int t, int r, int b) override {
        calls.push_back("ellipse " + box(l, t, r, b));
    }

    // The calls after the grid: stones and dots with their colours.
    std::vector<std::string> afterGrid() const {
        std::size_t i = 0;
        while (i < calls.size() && calls[i].rfind("line", 0) != 0) ++i;
        while (i < calls.size() && calls[i].rfind("line", 0) == 0) ++i;
        return {calls.begin() + static_cast<std::ptrdiff_t>(i), calls.end()};
    }

private:
    static std::string box(int a, int b, int c, int d) {
        return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
               std::to_string(d);
    }
};

class CollectingSink : public LineSink {
public:
    std::vector<std::string> lines{"kept"};
    void addLine(std::string_view line) override { lines.emplace_back(line); }
};

TEST(BoardPicture, BackgroundThenGridWithEndPointsPastTheLastCrossing) {
    auto board = boardFromRows({});
    RecordingCanvas canvas;
    drawBoard(*board, canvas);

    const std::vector<std::string> start(canvas.calls.begin(), canvas.calls.begin() + 6);
    EXPECT_EQ(start, (std::vector<std::string>{"style solid", "brush yellow", "fill 0,0,401,401",
                                               "pen black", "line 10,10,10,391",
                                               "line 10,10,391,10"}));
    int lines = 0;
    for (const auto& call : canvas.calls) lines += call.rfind("line", 0) == 0;
    EXPECT_EQ(lines, 40);
    const auto grid_end = std::find(canvas.calls.begin(), canvas.calls.end(), "line 10,390,391,390");
    ASSERT_NE(grid_end, canvas.calls.end());
    EXPECT_EQ(*(grid_end - 1), "line 390,10,390,391");
}

TEST(BoardPicture, StonesColumnByColumnInTheirOwnersColoursThenDots) {
    // Player 1 (black) at column 1 row 0, player 0 (white) at column 0 row 1
    // and at column 19 row 19: the column-0 stone comes first.
    auto board = boardFromRows({" x", "o", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                                "", "", "", "                   o"});
    RecordingCanvas canvas;
    drawBoard(*board, canvas);
    const auto calls = canvas.afterGrid();
    ASSERT_GE(calls.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 7),
              (std::vector<std::string>{"brush white", "ellipse 1,21,20,40", "brush black",
                                        "ellipse 21,1,40,20", "brush white",
                                        "ellipse 381,381,400,400", "brush black"}));
    for (std::size_t i = 7; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].rfind("ellipse", 0), 0u) << calls[i];
}

// The stones' and the dots' brushes in drawing order: player 1's stone on
// column 0, player 0's on column 1, then the dots.
std::vector<std::string> brushes(Player sideToMove, const PictureOptions& options) {
    auto board = boardFromRows({"xo"}, sideToMove);
    RecordingCanvas canvas;
    drawBoard(*board, canvas, options);
    std::vector<std::string> seen;
    for (const std::string& call : canvas.afterGrid())
        if (call.rfind("brush", 0) == 0) seen.push_back(call.substr(6));
    return seen;
}

TEST(BoardPicture, ColoursByLetterFollowTheLettersWhoeverIsToMove) {
    struct Case {
        bool byLetter;
        char player1Letter;
        Player sideToMove;
        std::vector<std::string> expected;  // player 1's stone, player 0's, the dots
    };
    const std::vector<Case> cases{
        {false, 'o', PLAYER1, {"black", "white", "black"}},  // by player: player 1 black, always
        {false, 'x', PLAYER0, {"black", "white", "white"}},
        {true, 'x', PLAYER1, {"black", "white", "black"}},
        {true, 'o', PLAYER1, {"white", "black", "white"}},  // player 1 plays o: white, and to move
        {true, 'x', PLAYER0, {"black", "white", "white"}},  // o to move: white dots
        {true, 'o', PLAYER0, {"white", "black", "black"}},
    };
    for (const Case& c : cases) {
        PictureOptions options;
        options.coloursByLetter = c.byLetter;
        options.player1Letter = c.player1Letter;
        EXPECT_EQ(brushes(c.sideToMove, options), c.expected)
            << c.byLetter << ' ' << c.player1Letter << ' ' << playerIndex(c.sideToMove);
    }
}

// Records numbers as one call each, with their colour, instead of their glyphs.
class NumberRecordingCanvas : public RecordingCanvas {
public:
    void number(int x, int y, int n, Rgb c) override {
        calls.push_back("number " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(n) + " " +
                        colorName(c));
    }
};

// The last move's mark: a red dot on a stone without a number, its number in
// red on one with a number, nothing on an empty square or for no move. The
// pen is black again for the dots after it.
// A numbered last move keeps its number in the colour that stands out on its
// stone (a red one is lost on black) and gets a red frame around its cell.
TEST(BoardPicture, LastMoveIsARedDotOrARedFrame) {
    auto board = boardFromRows({"xo"});
    struct Case {
        int lastMove;
        bool numbered;
        std::vector<std::string> expected;  // the calls between the stones and the dots' brush
    };
    const std::vector<std::string> numbers{"number 10,10 3 white", "number 30,10 4 black", "brush red"};
    const auto framed = [&numbers](std::vector<std::string> frame) {
        frame.insert(frame.begin(), numbers.begin(), numbers.end());
        return frame;
    };
    const std::vector<Case> cases{
        {1, false, {"pen red", "brush red", "ellipse 27,7,34,14", "pen black"}},
        {1, true,
         framed({"fill 21,1,41,2", "fill 21,20,41,21", "fill 21,1,22,21", "fill 40,1,41,21", "fill 22,2,40,3",
                 "fill 22,19,40,20", "fill 22,2,23,20", "fill 39,2,40,20"})},
        {0, true,
         framed({"fill 1,1,21,2", "fill 1,20,21,21", "fill 1,1,2,21", "fill 20,1,21,21", "fill 2,2,20,3",
                 "fill 2,19,20,20", "fill 2,2,3,20", "fill 19,2,20,20"})},
        {250, false, {}},
        {-1, false, {}},
    };
    for (const Case& c : cases) {
        PictureOptions options;
        options.lastMove = c.lastMove;
        if (c.numbered) numberStones(options.moveNumbers, std::vector<int>{0, 1}, 3);
        NumberRecordingCanvas canvas;
        drawBoard(*board, canvas, options);
        const auto calls = canvas.afterGrid();
        const auto dotsBrush = std::find_if(calls.rbegin(), calls.rend(), [](const std::string& call) {
            return call.rfind("brush", 0) == 0;
        }).base() - 1;
        ASSERT_GE(dotsBrush - calls.begin(), 4);
        std::vector<std::string> between(calls.begin() + 4, dotsBrush);
        EXPECT_EQ(between, c.expected) << c.lastMove << ' ' << c.numbered;
    }
}

// A five that ended the game: two blue rings in each of its cells before the
// dots; a hint: two green rings in its cell after them. The pen is black
// again after each.
TEST(BoardPicture, FiveRingedInBlueAndHintInGreen) {
    auto board = boardFromRows({"xxxxx"});
    PictureOptions options;
    options.fiveSquares = {0, 1, 2, 3, 4};
    options.hint = squareAt(7, 0);
    RecordingCanvas canvas;
    drawBoard(*board, canvas, options);
    const std::vector<std::string>& calls = canvas.calls;
    const auto ringsOf = [&calls](const std::string& pen) {
        std::vector<std::string> rings;
        for (auto at = std::find(calls.begin(), calls.end(), "pen " + pen); at != calls.end() && *at != "pen black";
             ++at)
            if (at->rfind("ellipse", 0) == 0) rings.push_back(*at);
        return rings;
    };
    const std::vector<std::string> blue = ringsOf("blue");
    ASSERT_EQ(blue.size(), 10u);
    EXPECT_EQ(blue[0], "ellipse 1,1,20,20");
    EXPECT_EQ(blue[9], "ellipse 82,2,99,19");
    EXPECT_EQ(ringsOf("green"), (std::vector<std::string>{"ellipse 141,1,160,20", "ellipse 142,2,159,19"}));
    EXPECT_EQ(calls.back(), "pen black");
}

TEST(BoardPicture, BlackLetterChoosesWhichLetterIsBlack) {
    PictureOptions options;
    options.coloursByLetter = true;
    options.blackLetter = 'o';
    options.player1Letter = 'x';
    // Player 1 plays x, drawn white; player 0 plays o, black; player 1 to move: white dots.
    EXPECT_EQ(brushes(PLAYER1, options), (std::vector<std::string>{"white", "black", "white"}));
    options.player1Letter = 'o';
    EXPECT_EQ(brushes(PLAYER1, options), (std::vector<std::string>{"black", "white", "black"}));
}

TEST(BoardPicture, MoveNumbersOnNumberedStonesInTheContrastingColour) {
    // Stones on 0,0 (player 1, black) and 1,0 (player 0, white); the number on
    // the empty square 250 is not written.
    auto board = boardFromRows({"xo"});
    PictureOptions options;
    numberStones(options.moveNumbers, std::vector<int>{1, 0, 250}, 7);
    EXPECT_EQ(options.moveNumbers[1], 7);
    EXPECT_EQ(options.moveNumbers[0], 8);
    EXPECT_EQ(options.moveNumbers[250], 9);
    RecordingCanvas canvas;
    drawBoard(*board, canvas, options);
    const std::vector<std::string> eight{"brush white",      "fill 7,5,13,7",  "fill 7,7,9,9",
                                         "fill 11,7,13,9",   "fill 7,9,13,11", "fill 7,11,9,13",
                                         "fill 11,11,13,13", "fill 7,13,13,15"};
    const std::vector<std::string> seven{"brush black",      "fill 27,5,33,7",  "fill 31,7,33,9",
                                         "fill 31,9,33,11",  "fill 31,11,33,13", "fill 31,13,33,15"};
    std::vector<std::string> expected{"brush black", "ellipse 1,1,20,20", "brush white", "ellipse 21,1,40,20"};
    expected.insert(expected.end(), eight.begin(), eight.end());
    expected.insert(expected.end(), seven.begin(), seven.end());
    expected.push_back("brush black");  // the dots, player 1 to move
    const auto calls = canvas.afterGrid();
    ASSERT_GT(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    for (std::size_t i = expected.size(); i < calls.size(); ++i) EXPECT_EQ(calls[i].rfind("ellipse", 0), 0u) << calls[i];

    EXPECT_THROW(numberStones(options.moveNumbers, std::vector<int>{400}, 1), std::out_of_range);
}

// Every width of number stays inside its stone's box (pixels 1..19 of the
// cell) and is centred on it within a pixel; 10000 and above are not written.
TEST(StoneNumbers, EveryWidthFitsCentredOnTheStone) {
    for (int number : {8, 88, 888, 8888, 10000}) {
        RecordingCanvas canvas;
        drawGlyphNumber(canvas, 3 * 20 + 10, 4 * 20 + 10, number, COLOR_WHITE);
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (const std::string& call : canvas.calls) {
            int l, t, r, b;
            if (std::sscanf(call.c_str(), "fill %d,%d,%d,%d", &l, &t, &r, &b) != 4) continue;
            left = std::min(left, l - 60);
            top = std::min(top, t - 80);
            right = std::max(right, r - 60);
            bottom = std::max(bottom, b - 80);
        }
        if (number > LARGEST_SHOWN_NUMBER) {
            EXPECT_TRUE(canvas.calls.empty()) << number;
            continue;
        }
        EXPECT_GE(left, 2) << number;
        EXPECT_LE(right, 19) << number;
        EXPECT_GE(top, 2) << number;
        EXPECT_LE(bottom, 19) << number;
        EXPECT_LE(std::abs((left - 1) - (20 - right)), 1) << number;
        EXPECT_LE(std::abs((top - 1) - (20 - bottom)), 1) << number;
    }
}

TEST(MoveMark, TwoRedRingsInsideTheStonesBoxThenTheBrushIsSolidAgain) {
    RecordingCanvas canvas;
    drawMoveMark(canvas, 10, 9);
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"pen red", "style clear", "ellipse 201,181,220,200",
                                                      "ellipse 202,182,219,199", "style solid"}));
    EXPECT_THROW(drawMoveMark(canvas, 20, 0), std::out_of_range);
    EXPECT_THROW(drawMoveMark(canvas, 0, -1), std::out_of_range);
}

TEST(SquareReport, PlayerZeroFirstAndOnlyTheBestRankedItemOfEachList) {
    auto board = boardFromRows({});
    EXPECT_EQ(squareReport(*board, 210), "{}/{}");

    BoardSurgery::insertThreat(*board, PLAYER1, makeThreat(THREE_CODE, 210, DIR_ROW));
    EXPECT_EQ(squareReport(*board, 210), "{}/{cn=2 tn=1}");

    BoardSurgery::insertThreat(*board, PLAYER1, makeThreat(FOUR_CODE, 210, DIR_COLUMN));  // better-ranked, inserted later
    BoardSurgery::insertThreat(*board, PLAYER0, makeThreat(OPEN_FOUR_CODE, 210, DIR_DIAGONAL));
    EXPECT_EQ(squareReport(*board, 210), "{cn=1 tn=0}/{cn=1 tn=1}");
    EXPECT_EQ(squareReport(*board, 211), "{}/{}");
}

TEST(SquareReport, DoubleThreatItemAndSquaresOffTheBoard) {
    auto board = boardFromRows({});
    BoardSurgery::insertThreat(*board, PLAYER0, makeThreat(PATTERN_DOUBLE_THREAT, 0, DIR_ROW | DIR_COLUMN));
    EXPECT_EQ(squareReport(*board, 0), "{cn=2 tn=0}/{}");
    EXPECT_THROW(squareReport(*board, -1), std::out_of_range);
    EXPECT_THROW(squareReport(*board, 400), std::out_of_range);
}

TEST(ThreatListLines, LinesInListOrderAppendedAfterWhatTheSinkHeld) {
    auto board = boardFromRows({});
    BoardSurgery::insertThreat(*board, PLAYER1, makeThreat(THREE_CODE, 399, DIR_ROW));
    BoardSurgery::insertThreat(*board, PLAYER1, makeThreat(FOUR_CODE, 7, DIR_ANTIDIAGONAL));
    CollectingSink sink;
    fillThreatList(*board, sink, 1);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"kept", "[7] 7,0 cn=1 tn=1", "[399] 19,19 cn=2 tn=1"}));

    fillThreatList(*board, sink, 0);  // an empty list adds nothing
    EXPECT_EQ(sink.lines.size(), 3u);
    EXPECT_THROW(fillThreatList(*board, sink, 2), std::out_of_range);
}

}  // namespace
}  // namespace vorek
