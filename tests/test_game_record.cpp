// Reading game records: what real files hold, every malformed case with its
// line, and the positions a record gives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "board/invariants.h"
#include "files/game_record.h"
#include "files/position_files.h"
#include "files/position_source.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using testing::TempDir;

// A game that "o" wins with five in row 12 (counted from 1) on move 16.
constexpr std::string_view O_WINS =
    "Piskvorky 20x20, 7:7, 0\n"
    "10,10,456\n11,12,4500\n10,13,60\n11,13,4261\n9,11,65\n12,12,5037\n8,12,65\n11,9,5060\n"
    "11,11,66\n13,11,131\n14,10,62\n14,12,41\n12,10,60\n13,12,36\n10,12,62\n15,12,32\n"
    "first.exe\nsecond.zip\n0\n";

// Its moves as squares: column and row from 1 in the file, from 0 here.
std::vector<int> oWinsSquares() {
    const int xy[16][2] = {{10, 10}, {11, 12}, {10, 13}, {11, 13}, {9, 11},  {12, 12}, {8, 12},  {11, 9},
                           {11, 11}, {13, 11}, {14, 10}, {14, 12}, {12, 10}, {13, 12}, {10, 12}, {15, 12}};
    std::vector<int> squares;
    for (const auto& [x, y] : xy) squares.push_back(squareAt(x - 1, y - 1));
    return squares;
}

class GameRecords : public ::testing::Test {
protected:
    TempDir dir;

    std::variant<GameRecord, RecordError> read(std::string_view text) {
        dir.write("game.psq", text);
        return readGameRecord(dir / "game.psq");
    }
    GameRecord readWell(std::string_view text) {
        auto result = read(text);
        if (const auto* error = std::get_if<RecordError>(&result)) {
            ADD_FAILURE() << "line " << error->line << ": " << error->message;
            return {};
        }
        return std::get<GameRecord>(result);
    }
};

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(GameRecords, RealRecordReadsWithItsLettersAndItsFive) {
    const GameRecord record = readWell(O_WINS);
    EXPECT_EQ(record.firstLetter, 'x');
    EXPECT_EQ(record.moves, oWinsSquares());
    EXPECT_EQ(record.moves.front(), 189);  // 10,10
    EXPECT_EQ(record.fiveAt, 16);
    EXPECT_EQ(letterOfMove(record, 1), 'x');
    EXPECT_EQ(letterOfMove(record, 16), 'o');
    EXPECT_EQ(letterOfMove(record, 17), 'x');
    EXPECT_EQ(recordSquareText(record.moves[1]), "11,12");

    const GameRecord oFirst = readWell(replaceAll(std::string(O_WINS), "7:7, 0", "7:7, 1"));
    EXPECT_EQ(oFirst.firstLetter, 'o');
    EXPECT_EQ(letterOfMove(oFirst, 16), 'x');
}

// What files from other systems and editors hold reads as the plain file does.
TEST_F(GameRecords, LineEndsByteOrderMarkBlanksAndEndingsReadTheSame) {
    const std::string plain(O_WINS);
    const std::vector<std::pair<std::string, std::string>> variants{
        {"CR LF", replaceAll(plain, "\n", "\r\n")},
        {"CR alone", replaceAll(plain, "\n", "\r")},
        {"byte order mark", "\xEF\xBB\xBF" + plain},
        {"trailing blanks", replaceAll(plain, "\n", " \t\n")},
        {"blanks around fields", replaceAll(replaceAll(plain, ",", " , "), "Piskvorky ", "  Piskvorky   ")},
        {"empty line before the names", replaceAll(plain, "15,12,32\n", "15,12,32\n\n")},
        {"no names", plain.substr(0, plain.find("first.exe"))},
        {"no final line end", plain.substr(0, plain.find("\nfirst.exe"))},
        {"other time levels", replaceAll(plain, "7:7", "120000:0")},
    };
    for (const auto& [name, text] : variants) {
        SCOPED_TRACE(name);
        const GameRecord record = readWell(text);
        EXPECT_EQ(record.moves, oWinsSquares());
        EXPECT_EQ(record.firstLetter, 'x');
    }
}

TEST_F(GameRecords, MovesEndAtTheFirstLineThatIsNotThreeIntegers) {
    const std::string header = "Piskvorky 20x20, 1:1, 0\n1,1,0\n";
    const std::vector<std::pair<std::string, std::size_t>> endings{
        {"2,2\n3,3,0\n", 1},                               // two fields
        {"2,2,0,0\n", 1},                                  // four fields
        {"2,2,x\n", 1},                                    // a word for the time
        {"2;2;0\n", 1},                                    // other separators
        {"2,2,0\n\n3,3,0\n", 2},                           // a blank line, then a move-like line
        {"2,2," + std::string(MAX_RECORD_LINE, '7') + "\n3,3,0\n", 1},  // a line too long
        {"2,2,-5\n3,3,+0\n", 3},                           // signed times are integers too
    };
    for (const auto& [rest, moves] : endings) {
        SCOPED_TRACE(rest.substr(0, 20));
        EXPECT_EQ(readWell(header + rest).moves.size(), moves);
    }
}

struct Malformed {
    std::string text;
    int line;
    std::string message;
};

TEST_F(GameRecords, MalformedRecordsNameTheFirstWrongLine) {
    const std::string header = "Piskvorky 20x20, 7:7, 0\n";
    const std::string form = "not a game record header \"Piskvorky 20x20, A:B, H\"";
    const std::vector<Malformed> cases{
        {"", 1, "the file is empty; a game record starts with \"Piskvorky 20x20, A:B, H\""},
        {"10,10,0\n", 1, form},
        {"Piskvorky 20x20\n10,10,0\n", 1, form},
        {"Piskvorky 20x20, 7:7, 0, 1\n10,10,0\n", 1, form},
        {"piskvorky 20x20, 7:7, 0\n10,10,0\n", 1, form},
        {"Piskvorky 20 20, 7:7, 0\n10,10,0\n", 1, form},
        {"Piskvorky 20x20, 7, 0\n10,10,0\n", 1, form},
        {"Piskvorky 20x20, 7:7, \n10,10,0\n", 1, form},
        {"Piskvorky 20x20, 7:7, 0" + std::string(MAX_RECORD_LINE, ' ') + "\n10,10,0\n", 1, form},
        {"Piskvorky 15x15, 7:7, 0\n8,8,0\n", 1,
         "the game is played on 15x15; only 20x20 games can be read"},
        {"Piskvorky 20x19, 7:7, 0\n8,8,0\n", 1,
         "the game is played on 20x19; only 20x20 games can be read"},
        {"Piskvorky 20x20, 7:7, 2\n8,8,0\n", 1,
         "the first mover H is 2; it must be 0 (x moved first) or 1 (o moved first)"},
        {header, 2, "no moves; each move is a line x,y,t with column and row from 1 to 20"},
        {header + "\n10,10,0\n", 2, "no moves; each move is a line x,y,t with column and row from 1 to 20"},
        {header + "first.exe\n", 2, "no moves; each move is a line x,y,t with column and row from 1 to 20"},
        {header + "10,10,0\n21,3,0\n", 3, "move 2 (21,3) is off the board; columns and rows run from 1 to 20"},
        {header + "0,5,0\n", 2, "move 1 (0,5) is off the board; columns and rows run from 1 to 20"},
        {header + "5,-1,0\n", 2, "move 1 (5,-1) is off the board; columns and rows run from 1 to 20"},
        {header + "5,99999999999999999999,0\n", 2,  // numbers as written, a long one cut
         "move 1 (5,999999999999...) is off the board; columns and rows run from 1 to 20"},
        {header + "+05,-0021,0\n", 2, "move 1 (+05,-0021) is off the board; columns and rows run from 1 to 20"},
        {"Piskvorky 20x4294967316, 7:7, 0\n8,8,0\n", 1,
         "the game is played on 20x4294967316; only 20x20 games can be read"},
        {header + "10,10,0\n11,11,0\n10,10,0\n", 4, "move 3 (10,10) is on the stone of move 1"},
        {header + "1,1,0\r\n1,2,0\r\n1,2,0\r\n", 4, "move 3 (1,2) is on the stone of move 2"},
    };
    for (const Malformed& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const auto result = read(c.text);
        ASSERT_TRUE(std::holds_alternative<RecordError>(result));
        EXPECT_EQ(std::get<RecordError>(result).line, c.line);
        EXPECT_EQ(std::get<RecordError>(result).message, c.message);
    }
}

TEST_F(GameRecords, WhatIsNotARegularFileIsRefusedAtOnce) {
    std::filesystem::create_directory(dir / "folder.psq");
    ASSERT_EQ(::mkfifo((dir / "pipe.psq").c_str(), 0600), 0);
    for (const char* name : {"missing.psq", "folder.psq", "pipe.psq"}) {
        const auto result = readGameRecord(dir / name);
        ASSERT_TRUE(std::holds_alternative<RecordError>(result)) << name;
        EXPECT_EQ(std::get<RecordError>(result).line, 0) << name;
        EXPECT_EQ(std::get<RecordError>(result).message, "cannot be opened as a file") << name;
    }
}

// Every square once, row by row, each row the other way round; the 401st move
// can only land on a stone.
TEST_F(GameRecords, FourHundredMovesFillTheBoardAndTheNextIsOnAStone) {
    std::string text = "Piskvorky 20x20, 1:1, 0\n";
    std::vector<int> order;
    for (int row = 0; row < BOARD_SIDE; ++row)
        for (int i = 0; i < BOARD_SIDE; ++i) order.push_back(squareAt(row % 2 ? BOARD_SIDE - 1 - i : i, row));
    for (int square : order) text += recordSquareText(square) + ",0\n";
    const GameRecord full = readWell(text);
    EXPECT_EQ(full.moves, order);

    const auto over = read(text + "20,20,0\n");
    ASSERT_TRUE(std::holds_alternative<RecordError>(over));
    EXPECT_EQ(std::get<RecordError>(over).line, 402);
    EXPECT_EQ(std::get<RecordError>(over).message, "move 401 (20,20) is on the stone of move 381");
}

TEST_F(GameRecords, FiveAtIsTheFirstMoveThatMakesFiveOrMore) {
    // x's and o's moves in turn, x first.
    const auto game = [](std::initializer_list<const char*> xMoves, std::initializer_list<const char*> oMoves) {
        std::string text = "Piskvorky 20x20, 1:1, 0\n";
        auto o = oMoves.begin();
        for (const char* x : xMoves) {
            text += std::string(x) + ",0\n";
            if (o != oMoves.end()) text += std::string(*o++) + ",0\n";
        }
        return text;
    };
    struct Case {
        std::string name;
        std::string text;
        int fiveAt;
    };
    const std::vector<Case> cases{
        {"row", game({"1,1", "2,1", "3,1", "4,1", "5,1"}, {"20,1", "20,3", "20,5", "20,7"}), 9},
        {"column", game({"7,7", "7,8", "7,9", "7,10", "7,11"}, {"20,1", "20,3", "20,5", "20,7"}), 9},
        {"diagonal filled from both ends",
         game({"1,1", "5,5", "2,2", "4,4", "3,3"}, {"20,1", "20,3", "20,5", "20,7"}), 9},
        {"antidiagonal at the edge",
         game({"20,16", "19,17", "18,18", "17,19", "16,20"}, {"1,1", "1,3", "1,5", "1,7"}), 9},
        {"six made by filling a gap",
         game({"1,1", "2,1", "4,1", "5,1", "6,1", "3,1"}, {"20,2", "20,4", "20,6", "20,8", "20,10"}), 11},
        {"four and a broken line is none", game({"1,1", "2,1", "3,1", "4,1", "6,1"}, {"20,2", "20,4", "20,6", "20,8"}), 0},
        {"o's five", game({"1,10", "3,10", "5,10", "7,10", "9,10", "11,10"}, {"2,2", "3,3", "4,4", "5,5", "6,6"}), 10},
        {"letters alternate: no five of one letter", game({"1,1", "3,1", "5,1"}, {"2,1", "4,1"}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readWell(c.text).fiveAt, c.fiveAt);
    }
}

// The letter to move becomes player 1, exactly as reading the same stones
// from the position files with that letter in "tah.dat" makes it.
TEST_F(GameRecords, PositionAfterKMovesIsThePositionFilesGive) {
    for (std::string_view first : {"0", "1"}) {
        const GameRecord record = readWell(replaceAll(std::string(O_WINS), "7:7, 0", "7:7, " + std::string(first)));
        for (int count : {0, 1, 2, 11, 16}) {
            SCOPED_TRACE(std::string(first) + " after " + std::to_string(count));
            std::string board(400, '-');
            for (int number = 1; number <= count; ++number)
                board[static_cast<std::size_t>(record.moves[number - 1])] = letterOfMove(record, number);
            dir.write("plocha.dat", board);
            dir.write("tah.dat", std::string(1, letterOfMove(record, count + 1)));
            const FilePosition files = readPosition(dir.path());
            ASSERT_TRUE(files.read);
            EXPECT_EQ(stonesAfter(record, count), files.stones);

            const auto position = positionAfter(record, count);
            EXPECT_TRUE(samePosition(*position, *folderPosition(dir.path()).board));
            EXPECT_EQ(position->sideToMove(), PLAYER1);
            EXPECT_EQ(position->stoneCount(), count);
        }
        EXPECT_THROW(positionAfter(record, -1), std::out_of_range);
        EXPECT_THROW(positionAfter(record, 17), std::out_of_range);
    }
}

// The labels a record's position hands to a front end: the letter to move,
// each stone's move number, the last move, the record's first letter; and
// what moves played from it add.
TEST_F(GameRecords, PositionOfARecordLabelsItsStonesByTheirMoves) {
    const GameRecord record = readWell(O_WINS);
    const std::vector<int> squares = oWinsSquares();
    struct Case {
        int count;
        char toMove;
        int lastMove;
    };
    const Case cases[] = {{0, 'x', -1}, {1, 'o', squares[0]}, {5, 'o', squares[4]}, {16, 'x', squares[15]}};
    for (const Case& c : cases) {
        SCOPED_TRACE("after " + std::to_string(c.count));
        const PositionSource source = recordPosition(record, c.count);
        EXPECT_EQ(source.labels.player1Letter, c.toMove);
        EXPECT_EQ(source.labels.lastMove, c.lastMove);
        EXPECT_EQ(source.labels.gameFirstLetter, 'x');
        EXPECT_EQ(source.labels.nextNumber, c.count + 1);
        MoveNumbers numbers{};
        for (int number = 1; number <= c.count; ++number)
            numbers[static_cast<std::size_t>(squares[static_cast<std::size_t>(number - 1)])] =
                static_cast<std::uint16_t>(number);
        EXPECT_TRUE(source.labels.numbers == numbers);
        EXPECT_EQ(source.board->stoneCount(), c.count);

        // Two moves on from there: numbered on, the second one marked last.
        const int a = squareAt(0, 19);
        const int b = squareAt(19, 19);
        const MoveNumbers after = numbersAfter(source.labels, std::vector<int>{a, b});
        EXPECT_EQ(after[static_cast<std::size_t>(a)], c.count + 1);
        EXPECT_EQ(after[static_cast<std::size_t>(b)], c.count + 2);
        EXPECT_EQ(lastMoveAfter(source.labels, std::vector<int>{a, b}), b);
        EXPECT_EQ(lastMoveAfter(source.labels, {}), c.lastMove);
    }
    EXPECT_THROW(recordPosition(record, 17), std::out_of_range);
}

// What a record is written as reads back as the same record: its moves,
// their times, its time levels and the lines after its moves.
TEST_F(GameRecords, WrittenRecordReadsBackTheSame) {
    const GameRecord read = readWell(O_WINS);
    EXPECT_EQ(read.milliseconds.front(), 456);
    EXPECT_EQ(read.timeLevels, "7:7");
    EXPECT_EQ(read.trailer, (std::vector<std::string>{"first.exe", "second.zip", "0"}));
    const std::string text = gameRecordText(read);
    EXPECT_EQ(text, replaceAll(std::string(O_WINS), "\n", "\r\n"));
    const GameRecord again = readWell(text);
    EXPECT_EQ(again.moves, read.moves);
    EXPECT_EQ(again.milliseconds, read.milliseconds);
    EXPECT_EQ(again.fiveAt, read.fiveAt);
    EXPECT_EQ(again.trailer, read.trailer);
    EXPECT_EQ(firstFiveAt(read.moves), read.fiveAt);

    GameRecord played;
    played.firstLetter = 'o';
    played.moves = {squareAt(0, 0), squareAt(19, 19)};
    EXPECT_EQ(gameRecordText(played), "Piskvorky 20x20, 7:7, 1\r\n1,1,0\r\n20,20,0\r\n");
}

// A long trailer is kept no further than its bound.
TEST_F(GameRecords, TheTrailerIsReadNoFurtherThanItsBound) {
    std::string text = "Piskvorky 20x20, 1:2, 0\n10,10,0\n";
    for (std::size_t i = 0; i < MAX_TRAILER_LINES + 10; ++i) text += "name " + std::to_string(i) + "\n";
    const GameRecord record = readWell(text);
    EXPECT_EQ(record.trailer.size(), MAX_TRAILER_LINES);
    EXPECT_EQ(record.timeLevels, "1:2");
}

// The window's messages name a square from 0, the record's text beside it.
TEST_F(GameRecords, BoardNamingCountsSquaresFromZero) {
    dir.write("taken.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n11,11,0\n10,10,0\n");
    const auto taken = readGameRecord(dir / "taken.psq", SquareNaming::Board);
    EXPECT_EQ(std::get<RecordError>(taken).message, "move 3 (9,9; 10,10 in the record) is on the stone of move 1");
    dir.write("off.psq", "Piskvorky 20x20, 7:7, 0\n21,3,0\n");
    const auto off = readGameRecord(dir / "off.psq", SquareNaming::Board);
    EXPECT_EQ(std::get<RecordError>(off).message,
              "move 1 (21,3 in the record) is off the board; columns and rows run from 1 to 20 in a record");
}

}  // namespace
}  // namespace vorek
