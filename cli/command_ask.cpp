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
#include "cli/test_pause.h"
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
    "found them, never writing through a link the program made: the files found\n"
    "wait as NAME.saved meanwhile and are renamed back, the very same files. ask is\n"
    "the only command that writes into DIR; it refuses to run the program when one\n"
    "of the files is no file it could put back (a named pipe, a folder, ...).\n"
    "\n"
    "The program runs in a process group of its own, and in a cgroup of its own\n"
    "where the system allows one; when the ask ends (its answer, its time, Ctrl-C,\n"
    "Ctrl-\\, SIGTERM or SIGHUP to vorek-cli, however many), whatever of it still\n"
    "runs gets SIGTERM, and SIGKILL a second later, before the files are put back;\n"
    "what had to be ended is said on stderr. Killed outright, vorek-cli takes the\n"
    "program with it.\n"
    "\n"
    "Exits 0 with the move. Exits 1 with \"AI Error\" (a failing program, or an\n"
    "answer that is no move on an empty square), \"Timeout\" or \"File not found\",\n"
    "and when a file could not be put back (each is named with where its bytes\n"
    "are) or something of the program still runs.\n"
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
    "  COMMAND    the program, looked up on PATH as a shell does unless it holds\n"
    "             a slash (a relative path, or PATH entry, is taken from the\n"
    "             working directory), with its arguments, which it gets as they\n"
    "             are; options after it are its own\n";

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

    // A log that cannot be written (stderr a pipe whose reader has gone)
    // ends there; the ask goes on.
    void line(std::string_view text, std::chrono::milliseconds sinceStart) override {
        if (!show_) return;
        std::cerr << formatLogLine(text, sinceStart) << std::endl;
        if (!std::cerr) show_ = false;
    }

private:
    bool show_;
    ProgressLine waiting_;
};

// How an ask ended, beyond its outcome.
struct AskEnd {
    bool stoppedAsking = false;          // a signal came before the program's end
    bool stopped = false;                // one came at any time up to the end of the put-back
    std::vector<std::string> processes;  // what had to be ended (endingLines)
    bool survived = false;               // something of it still ran at the bound
    std::vector<std::string> putBack;    // the files not put back
};

// Waits for the end of a stdin/stdout engine, then ends what the program
// left running outside its group and cgroup, which this process adopted.
// What had to be ended, the program's own first, goes into `end`, and into
// the log unless the ask logged it already (a file-protocol program's own).
void endProgram(AskOutcome& outcome, const AskTimeline& log, AskEnd& end) {
    const bool engine = outcome.engineEnded.valid();
    if (engine) outcome.engineEnded.wait();
    const auto note = [&](const GroupEnd& ending, bool logIt) {
        end.survived = end.survived || !ending.survivors.empty();
        for (const std::string& line : endingLines(ending)) {
            if (logIt) log(line);
            end.processes.push_back(line);
        }
    };
    if (outcome.processesEnded) note(*outcome.processesEnded, engine);
    note(endAdoptedProcesses(), true);
}

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
    const bool logged = arguments.flag(LOG_OPTION);
    AskOutcome outcome;
    AskEnd end;
    {
        // From here to the end of the put-back, Ctrl-C, SIGTERM, SIGHUP and
        // SIGQUIT only stop the ask, and a closed pipe only stops the log: the
        // program is ended and the files are put back before the tool goes.
        const InterruptStopsSolve interrupt(StopOn::EveryEndRequest);
        StderrLog log(logged, commandLine, std::get<int>(milliseconds));
        const AskTimeline timeline(log);
        outcome = askOpponent(commandLine, board, dir, std::get<int>(milliseconds), log, interrupt.flag());
        end.stoppedAsking = interrupt.flag()->load();
        endProgram(outcome, timeline, end);
        if (outcome.found) {
            const auto pause = [](std::string_view name) { pauseForTest("put-back " + std::string(name)); };
            end.putBack = outcome.found->restore(FileSnapshot::Blocked::WriteBeside, pause);
        }
        pauseForTest("put-back done");
        end.stopped = interrupt.flag()->load();
        if (!logged) notes.insert(notes.end(), end.processes.begin(), end.processes.end());
    }
    notes.insert(notes.end(), end.putBack.begin(), end.putBack.end());
    if (!end.putBack.empty()) return Failure{"the files found could not all be put back"};
    if (end.survived) return Failure{"processes of the program still run"};
    if (end.stoppedAsking) return Failure{"interrupted; the program was ended"};
    if (end.stopped) return Failure{"interrupted; the files were put back"};
    if (outcome.result != RUN_OK) {
        if (outcome.result == RUN_FAILED && !outcome.programEnd.empty() && !logged)
            notes.push_back("the program " + outcome.programEnd);
        return Failure{outcomeMessage(outcome)};
    }
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
