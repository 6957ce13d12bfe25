#include "files/game_record.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "files/ascii_text.h"
#include "files/regular_file.h"

namespace vorek {

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr int FIVE = 5;

// Column and row steps of the four lines through a square.
constexpr std::array<std::array<int, 2>, 4> LINE_STEPS{{{1, 0}, {0, 1}, {1, 1}, {1, -1}}};

// One line of a file at a time, up to MAX_RECORD_LINE characters. LF, CR LF
// and a lone CR each end a line.
class LineReader {
public:
    explicit LineReader(std::FILE* file) : file_(file) {}

    // The next line without its end, or nothing past the end of the file. A
    // line cut at MAX_RECORD_LINE characters is not complete; its rest is not
    // read, so the caller reads no further line after it.
    std::optional<std::string> next(bool& complete) {
        int c = std::getc(file_);
        if (c == EOF) return std::nullopt;
        ++number_;
        std::string line;
        complete = true;
        for (; c != EOF && c != '\n' && c != '\r'; c = std::getc(file_)) {
            if (line.size() == MAX_RECORD_LINE) {
                complete = false;
                return line;
            }
            line.push_back(static_cast<char>(c));
        }
        if (c == '\r') {
            const int after = std::getc(file_);
            if (after != '\n' && after != EOF) std::ungetc(after, file_);
        }
        return line;
    }

    // The number of the line last returned, from 1.
    int number() const { return number_; }

private:
    std::FILE* file_;
    int number_ = 0;
};

// Digits of a number shown in a message; a longer one is cut with "...".
constexpr std::size_t SHOWN_DIGITS = 12;

std::string shownNumber(std::string_view written) {
    if (written.size() <= SHOWN_DIGITS) return std::string(written);
    return std::string(written.substr(0, SHOWN_DIGITS)) + "...";
}

// A number of a line: its value, and its text for messages, as written.
struct Number {
    long value;
    std::string text;
};

// Reads the fields of one line from the left, blanks allowed around each.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : rest_(text) {}

    // Takes the literal text if it comes next, after any blanks.
    bool take(std::string_view literal) {
        skipBlanks();
        if (!rest_.starts_with(literal)) return false;
        rest_.remove_prefix(literal.size());
        return true;
    }

    // A decimal integer with an optional sign (when allowed), after any
    // blanks; values beyond a billion read as a billion, which is off any board.
    std::optional<Number> integer(bool signAllowed) {
        skipBlanks();
        const std::string_view start = rest_;
        bool negative = false;
        if (signAllowed && !rest_.empty() && (rest_.front() == '-' || rest_.front() == '+')) {
            negative = rest_.front() == '-';
            rest_.remove_prefix(1);
        }
        if (rest_.empty() || !isAsciiDigit(rest_.front())) return std::nullopt;
        long value = 0;
        for (; !rest_.empty() && isAsciiDigit(rest_.front()); rest_.remove_prefix(1))
            value = std::min(value * 10 + (rest_.front() - '0'), LARGEST);
        return Number{negative ? -value : value, shownNumber(start.substr(0, start.size() - rest_.size()))};
    }

    // Whether only blanks are left.
    bool atEnd() {
        skipBlanks();
        return rest_.empty();
    }

private:
    static constexpr long LARGEST = 1'000'000'000;
    void skipBlanks() {
        while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) rest_.remove_prefix(1);
    }

    std::string_view rest_;
};

struct Header {
    Number width;
    Number height;
    Number levelA;
    Number levelB;
    Number firstMover;  // H
};

std::optional<Header> parseHeader(std::string_view text) {
    FieldCursor cursor(text);
    std::optional<Number> width, height, levelA, levelB, firstMover;
    if (!cursor.take("Piskvorky") || !(width = cursor.integer(false)) || !cursor.take("x") ||
        !(height = cursor.integer(false)) || !cursor.take(",") || !(levelA = cursor.integer(false)) ||
        !cursor.take(":") || !(levelB = cursor.integer(false)) || !cursor.take(",") ||
        !(firstMover = cursor.integer(false)) || !cursor.atEnd())
        return std::nullopt;
    return Header{*width, *height, *levelA, *levelB, *firstMover};
}

// What the header says: the letter of move 1 and the time levels.
struct HeaderFacts {
    char firstLetter;
    std::string timeLevels;
};

// The first line's verdict: what it says, or what is wrong.
std::variant<HeaderFacts, std::string> readHeader(std::optional<std::string> line, bool complete) {
    if (!line) return std::string("the file is empty; a game record starts with \"") +
                      RECORD_HEADER_FORM + "\"";
    std::string_view text = *line;
    if (text.starts_with(BYTE_ORDER_MARK)) text.remove_prefix(BYTE_ORDER_MARK.size());
    const std::optional<Header> header = complete ? parseHeader(text) : std::nullopt;
    if (!header) return std::string("not a game record header \"") + RECORD_HEADER_FORM + "\"";
    if (header->width.value != BOARD_SIDE || header->height.value != BOARD_SIDE)
        return "the game is played on " + header->width.text + "x" + header->height.text +
               "; only 20x20 games can be read";
    if (header->firstMover.value != 0 && header->firstMover.value != 1)
        return "the first mover H is " + header->firstMover.text +
               "; it must be 0 (x moved first) or 1 (o moved first)";
    return HeaderFacts{header->firstMover.value == 0 ? 'x' : 'o',
                       std::to_string(header->levelA.value) + ":" + std::to_string(header->levelB.value)};
}

struct MoveLine {
    Number column;  // from 1, as written
    Number row;
    Number time;
};

// A move line: three comma-separated integers.
std::optional<MoveLine> parseMoveLine(std::string_view text) {
    FieldCursor cursor(text);
    std::optional<Number> column, row, time;
    if (!(column = cursor.integer(true)) || !cursor.take(",") || !(row = cursor.integer(true)) ||
        !cursor.take(",") || !(time = cursor.integer(true)) || !cursor.atEnd())
        return std::nullopt;
    return MoveLine{*column, *row, *time};
}

bool onBoard(long coordinate) { return coordinate >= 1 && coordinate <= BOARD_SIDE; }

// The stones of a record being read, by the number of the move that put each.
class RecordBoard {
public:
    // The number of the move on the square; 0 when it is empty.
    int moveOn(int square) const { return moveNumbers_[static_cast<std::size_t>(square)]; }

    // Puts move `number` on an empty square; true when it makes five or more
    // stones of its letter in a row.
    bool place(int square, int number) {
        moveNumbers_[static_cast<std::size_t>(square)] = number;
        for (const auto& [dx, dy] : LINE_STEPS)
            if (1 + runFrom(square, dx, dy) + runFrom(square, -dx, -dy) >= FIVE) return true;
        return false;
    }

private:
    // The stones of the same letter next to the square, one way along a line.
    int runFrom(int square, int dx, int dy) const {
        const int parity = moveOn(square) % 2;
        int run = 0;
        for (int x = columnOf(square) + dx, y = rowOf(square) + dy;
             x >= 0 && x < BOARD_SIDE && y >= 0 && y < BOARD_SIDE; x += dx, y += dy) {
            const int number = moveOn(squareAt(x, y));
            if (number == 0 || number % 2 != parity) break;
            ++run;
        }
        return run;
    }

    std::array<int, BOARD_SQUARES> moveNumbers_{};
};

// "move 3 (10,10)" as written, or, naming the board's squares, "move 3
// (9,9; 10,10 in the record)", where the square is on the board.
std::string moveText(int number, const MoveLine& move, SquareNaming naming) {
    const std::string written = move.column.text + "," + move.row.text;
    std::string text = "move " + std::to_string(number) + " (";
    if (naming == SquareNaming::Record) return text + written + ")";
    if (onBoard(move.column.value) && onBoard(move.row.value))
        text += std::to_string(move.column.value - 1) + "," + std::to_string(move.row.value - 1) + "; ";
    return text + written + " in the record)";
}

}  // namespace

std::variant<GameRecord, RecordError> readGameRecord(const std::filesystem::path& file, SquareNaming naming) {
    const ReadFile opened = openRegularFile(file);
    if (!opened) return RecordError{0, "cannot be opened as a file"};
    LineReader lines(opened.get());
    bool complete = true;
    std::optional<std::string> line = lines.next(complete);
    auto header = readHeader(line, complete);
    if (auto* wrong = std::get_if<std::string>(&header)) return RecordError{1, std::move(*wrong)};

    GameRecord record;
    record.firstLetter = std::get<HeaderFacts>(header).firstLetter;
    record.timeLevels = std::get<HeaderFacts>(header).timeLevels;
    RecordBoard board;
    while ((line = lines.next(complete)) && complete) {
        const std::optional<MoveLine> move = parseMoveLine(*line);
        if (!move) break;
        const int number = static_cast<int>(record.moves.size()) + 1;
        if (!onBoard(move->column.value) || !onBoard(move->row.value))
            return RecordError{lines.number(), moveText(number, *move, naming) +
                                                   " is off the board; columns and rows run from 1 to 20" +
                                                   (naming == SquareNaming::Board ? " in a record" : "")};
        const int square = squareAt(static_cast<int>(move->column.value) - 1, static_cast<int>(move->row.value) - 1);
        if (const int earlier = board.moveOn(square))
            return RecordError{lines.number(), moveText(number, *move, naming) + " is on the stone of move " +
                                                   std::to_string(earlier)};
        if (board.place(square, number) && record.fiveAt == 0) record.fiveAt = number;
        record.moves.push_back(square);
        record.milliseconds.push_back(static_cast<int>(move->time.value));
    }
    if (record.moves.empty())
        return RecordError{2, "no moves; each move is a line x,y,t with column and row from 1 to 20"};
    // What follows the moves, whole lines only, no further than the kept number.
    for (; line && complete && record.trailer.size() < MAX_TRAILER_LINES; line = lines.next(complete))
        record.trailer.push_back(*line);
    return record;
}

std::string gameRecordText(const GameRecord& record) {
    std::string text = "Piskvorky 20x20, " + record.timeLevels + ", " + (record.firstLetter == 'x' ? "0" : "1") +
                       "\r\n";
    for (std::size_t i = 0; i < record.moves.size(); ++i) {
        const int time = i < record.milliseconds.size() ? record.milliseconds[i] : 0;
        text += recordSquareText(record.moves[i]) + "," + std::to_string(time) + "\r\n";
    }
    for (const std::string& line : record.trailer) text += line + "\r\n";
    return text;
}

int firstFiveAt(std::span<const int> moves) {
    RecordBoard board;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        assert(isSquare(moves[i]) && board.moveOn(moves[i]) == 0);
        if (board.place(moves[i], number)) return number;
    }
    return 0;
}

char letterOfMove(const GameRecord& record, int number) {
    assert(number >= 1 && static_cast<std::size_t>(number) <= record.moves.size() + 1);
    const char other = record.firstLetter == 'x' ? 'o' : 'x';
    return number % 2 == 1 ? record.firstLetter : other;
}

Stones stonesAfter(const GameRecord& record, int count) {
    if (count < 0 || static_cast<std::size_t>(count) > record.moves.size())
        throw std::out_of_range("the record has no position after " + std::to_string(count) + " moves");
    Stones stones;
    for (int number = 1; number <= count; ++number) {
        // Moves of the same parity as the move to come are the mover's: player 1.
        const bool mover = number % 2 == (count + 1) % 2;
        stones.put(record.moves[static_cast<std::size_t>(number - 1)], mover ? PLAYER1 : PLAYER0);
    }
    return stones;
}

std::unique_ptr<V2Board> positionAfter(const GameRecord& record, int count) {
    return V2Board::fromStones(stonesAfter(record, count), PLAYER1);
}

std::string recordSquareText(int square) {
    assert(isSquare(square));
    return std::to_string(columnOf(square) + 1) + "," + std::to_string(rowOf(square) + 1);
}

}  // namespace vorek
