#include "cli/played_position.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>

#include "cli/arguments.h"
#include "files/game_record.h"

namespace vorek::cli {

namespace {

struct GameChoice {
    std::string file;
    std::optional<int> count;  // K; all the moves when not given
};

// FILE.psq[:K]: K is what follows the last colon when that is all digits, so
// that a file name with a colon in it can still be given alone.
std::optional<GameChoice> parseGameOption(std::string_view text) {
    GameChoice choice{std::string(text), std::nullopt};
    const std::size_t colon = text.rfind(':');
    const std::string_view suffix = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    if (!suffix.empty() && std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int count = INT_MAX;  // a K too large to parse is out of range all the same
        std::from_chars(suffix.data(), suffix.data() + suffix.size(), count);
        choice = {std::string(text.substr(0, colon)), count};
    }
    if (choice.file.empty()) return std::nullopt;
    return choice;
}

std::variant<PositionSource, CommandError> positionFromGameOption(std::string_view text) {
    const std::optional<GameChoice> choice = parseGameOption(text);
    if (!choice)
        return Misuse{"bad --game '" + std::string(text) + "': give FILE.psq or FILE.psq:K"};
    auto read = readRecordFile(choice->file);
    if (auto* failed = std::get_if<Failure>(&read)) return std::move(*failed);
    const GameRecord& record = std::get<GameRecord>(read);
    const int moves = static_cast<int>(record.moves.size());
    const int count = choice->count.value_or(moves);
    if (count > moves)
        return Misuse{"--game '" + std::string(text) + "': the game has " + std::to_string(moves) +
                      (moves == 1 ? " move" : " moves") + "; K runs from 0 to " + std::to_string(moves)};
    return recordPosition(record, count);
}

std::variant<PlayedPosition, Misuse> playMoves(PositionSource source, std::span<const std::string> moves) {
    PlayedPosition position;
    position.evaluated = !source.board->listsWhole();
    V2Board& board = *source.board;
    std::vector<int> squares;
    for (const std::string& text : moves) {
        const auto square = parseMove(text);
        if (!square)
            return Misuse{"bad MOVE '" + text +
                          "': give a square index 0..399 or x,y with column and row 0..19"};
        if (!board.isEmpty(*square))
            return Misuse{"MOVE '" + text + "': square " + std::to_string(*square) +
                          " holds a stone"};
        position.moves.push_back({*square, board.play(*square)});
        squares.push_back(*square);
    }
    position.moveNumbers = numbersAfter(source.labels, squares);
    position.source = std::move(source);
    return position;
}

}  // namespace

// Built by appending: g++ 12 warns falsely (-Wrestrict) on chains of string +.
std::optional<std::string> unreadNote(const PositionSource& position) {
    if (position.read) return std::nullopt;
    std::string note = "the position in ";
    if (position.folder.empty()) {
        note += "the working directory";
    } else {
        note += '\'';
        note += position.folder.string();
        note += '\'';
    }
    note += " could not be read in full; squares not read are empty";
    return note;
}

std::variant<GameRecord, Failure> readRecordFile(const std::string& file) {
    auto read = readGameRecord(file);
    if (auto* record = std::get_if<GameRecord>(&read)) return std::move(*record);
    const RecordError& error = std::get<RecordError>(read);
    std::string message = error.line == 0 ? "cannot read the game record '" : "game record '";
    message += file;
    message += '\'';
    if (error.line > 0) {
        message += " line ";
        message += std::to_string(error.line);
    }
    message += ": ";
    message += error.message;
    return Failure{message};
}

std::variant<PositionSource, CommandError> readStartPosition(const CommandArguments& arguments) {
    const auto game = arguments.value(GAME_OPTION);
    if (!game) return folderPosition(folderOption(arguments));
    if (arguments.value(DIR_OPTION)) return Misuse{"give --dir or --game, not both"};
    return positionFromGameOption(*game);
}

std::variant<PlayedPosition, CommandError> playPosition(const CommandArguments& arguments,
                                                        std::span<const std::string> moves) {
    auto start = readStartPosition(arguments);
    if (auto* error = std::get_if<CommandError>(&start)) return std::move(*error);
    auto played = playMoves(std::move(std::get<PositionSource>(start)), moves);
    if (auto* bad = std::get_if<Misuse>(&played)) return CommandError{std::move(*bad)};
    return std::move(std::get<PlayedPosition>(played));
}

}  // namespace vorek::cli
