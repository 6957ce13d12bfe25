// vorek-cli ask: an AI program's move in a position, asked through the same
// code as the window's digit keys, in either protocol.

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <string>
#include <variant>

#include "board/square_text.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/interrupt.h"
#include "cli/played_position.h"
#include "cli/progress_line.h"
#include "files/file_snapshot.h"
#include "files/position_files.h"
#include "opponent/ask_opponent.h"
#include "opponent/process_group.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli ask [--dir DIR | --game FILE.psq[:K]] [--ms T] [--log] COMMAND\n"
    "                     [ARGUMENT ...]\n"
    "\n"
    "Asks the AI program COMMAND for its move in the position in DIR (default: the\n"
    "working directory), or in the position after K moves of a game record, as\n"
    "the window's digit keys ask, and prints the move as x,y (column, row, each\n"
    "0..19).\n"
    "\n"
    "A program whose file name begins with \"pbrain-\" speaks the stdin/stdout\n"
    "protocol: it is started in DIR, sent START 20, the INFO lines and BEGIN or\n"
    "BOARD ... DONE, and its lines are read up to its move; then it is sent END\n"
    "and ended. Any other program speaks the file protocol: ask writes\n"
    "\"plocha.dat\", \"tah.dat\" and \"timeouts.dat\" into DIR, runs the program there,\n"
    "reads its move from \"tah.dat\", and then puts back the three files as it\n"
    "found them, never writing through a link the program made. ask is the only\n"
    "command that writes into DIR; it refuses to run the program when one of the\n"
    "files is no file it could put back (a named pipe, a folder, ...).\n"
    "\n"
    "The program runs in a process group of its own; when the ask ends (its\n"
    "answer, its time, Ctrl-C, SIGTERM or SIGHUP to vorek-cli), whatever of it\n"
    "still runs gets SIGTERM, and SIGKILL a second later, before the files are\n"
    "put back.\n"
    "\n"
    "Exits 0 with the move. Exits 1 with \"AI Error\" (a failing program, or an\n"
    "answer that is no move on an empty square), \"Timeout\" or \"File not found\".\n"
    "\n"
    "  --dir DIR  the folder of the position files, in which the program runs\n"
    "  --game FILE.psq[:K]\n"
    "             the position after K moves (default: all) of a game record; the\n"
    "             program runs in the working directory\n"
    "  --ms T     the program's time for its move in milliseconds, 1..3600000\n"
    "             (default 5500). A stdin/stdout engine is told T (INFO\n"
    "             timeout_turn) and gets T + 1000 ms after BEGIN or DONE. A\n"
    "             file-protocol program gets the digit T / 1100 rounded down, at\n"
    "             least 1 and at most 9, in \"timeouts.dat\", and T ms to end.\n"
    "  --log      print the exchange to stderr as it happens: the milliseconds\n"
    "             since the start, then a line sent (>) or received (<), a file\n"
    "             written, how the program ended\n"
    "  COMMAND    the program, looked up on PATH unless it holds a slash (a\n"
    "             relative path is taken from the working directory), with its\n"
    "             arguments, which it gets as they are; options after it are its\n"
    "             own\n";

constexpr std::string_view MS_OPTION = "--ms";
constexpr std::string_view LOG_OPTION = "--log";

constexpr std::array<std::string_view, 3> OPTIONS{DIR_OPTION, GAME_OPTION, MS_OPTION};
constexpr std::array<std::string_view, 1> FLAGS{LOG_OPTION};

constexpr int DEFAULT_MILLISECONDS = 5500;
constexpr int LARGEST_MILLISECONDS = 3'600'000;

std::variant<int, Misuse> millisecondsOption(const CommandArguments& arguments) {
    const auto text = arguments.value(MS_OPTION);
    if (!text) return DEFAULT_MILLISECONDS;
    const std::optional<int> value = boundedNumber(*text, LARGEST_MILLISECONDS);
    if (!value || *value < 1)
        return Misuse{"bad --ms '" + std::string(*text) + "': give a whole number of milliseconds, 1..3600000"};
    return *value;
}

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_-+=./,:@%").find(c) != std::string_view::npos;
}

// The operands as one command line that splitCommandLine splits back into
// them: a word with anything but plain characters in single quotes. A
// program named by a relative path with a slash is taken from the working
// directory, where the user named it, not from the folder it runs in.
std::string commandLineOf(std::vector<std::string> words) {
    std::string& program = words.front();
    if (program.find('/') != std::string::npos && !program.starts_with('/'))
        program = std::filesystem::absolute(program).lexically_normal().string();
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        if (!word.empty() && std::all_of(word.begin(), word.end(), isPlain)) {
            line += word;
            continue;
        }
        line += '\'';
        for (const char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

// The exchange on stderr as it happens, with --log; otherwise a line saying
// what is awaited while stderr is a terminal, taken away at the end.
class StderrLog final : public AskLog {
public:
    StderrLog(bool show, const std::string& commandLine, int milliseconds) : show_(show) {
        if (!show_)
            waiting_.show("vorek-cli: ask: waiting for " + commandLine + " (" + std::to_string(milliseconds) + " ms)");
    }

    void line(std::string_view text, std::chrono::milliseconds sinceStart) override {
        if (show_) std::cerr << formatLogLine(text, sinceStart) << std::endl;
    }

private:
    bool show_;
    ProgressLine waiting_;
};

// What is wrong with the answer for the board, or nothing.
std::string answerFault(const std::optional<MoveReply>& move, const V2Board& board) {
    if (!move) return "the program left no move in \"tah.dat\"";
    if (!onBoard(move->x, move->y))
        return "the answer " + squareText(move->x, move->y) + " is off the board";
    if (!board.isEmpty(squareAt(move->x, move->y)))
        return "the answer " + squareText(move->x, move->y) + " is on a stone";
    return {};
}

std::optional<CommandError> runAsk(const CommandArguments& arguments, std::ostream& out,
                                   std::vector<std::string>& notes) {
    const auto milliseconds = millisecondsOption(arguments);
    if (const auto* bad = std::get_if<Misuse>(&milliseconds)) return *bad;
    if (arguments.operands.empty()) return Misuse{"needs the COMMAND of the AI program"};
    const std::string commandLine = commandLineOf(arguments.operands);
    const std::filesystem::path dir = folderOption(arguments);
    auto start = readStartPosition(arguments);
    if (auto* error = std::get_if<CommandError>(&start)) return std::move(*error);
    const PositionSource& position = std::get<PositionSource>(start);
    if (const auto note = unreadNote(position)) notes.push_back(*note);
    const V2Board& board = *position.board;

    // Whatever the program leaves running, even outside its process group,
    // becomes this tool's child once its parents are gone, to be ended here.
    adoptOrphans();
    AskOutcome outcome;
    bool interrupted = false;
    {
        // A closed terminal or a kill ends the ask as Ctrl-C does: the program
        // is ended and the files are put back before the tool goes.
        const InterruptStopsSolve interrupt(StopOn::CtrlCAndEndRequests);
        StderrLog log(arguments.flag(LOG_OPTION), commandLine, std::get<int>(milliseconds));
        outcome = askOpponent(commandLine, board, dir, std::get<int>(milliseconds), log, interrupt.flag());
        // The tool does not end before the engine it started, nor before
        // anything the program left behind.
        if (outcome.engineEnded.valid()) outcome.engineEnded.wait();
        endAdoptedProcesses();
        interrupted = interrupt.flag()->load();
    }
    if (outcome.found) {
        const std::vector<std::string> problems = outcome.found->restore(FileSnapshot::Blocked::WriteBeside);
        notes.insert(notes.end(), problems.begin(), problems.end());
    }

    if (interrupted) return Failure{"interrupted; the program was ended"};
    if (outcome.result != RUN_OK) return Failure{outcomeMessage(outcome)};
    if (const std::string fault = answerFault(outcome.move, board); !fault.empty()) {
        notes.push_back(fault);
        return Failure{"AI Error"};
    }
    out << squareText(outcome.move->x, outcome.move->y) << '\n';
    return std::nullopt;
}

}  // namespace

extern const Command ASK_COMMAND{
    .name = "ask",
    .summary = "ask an AI program for its move, through either protocol",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .optionsEndAtFirstOperand = true,
    .run = runAsk,
};

}  // namespace vorek::cli
