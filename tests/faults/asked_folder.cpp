#include "tests/faults/asked_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/process_check.h"

namespace vorek::testing {

namespace fs = std::filesystem;

void AskedFolder::SetUp() {
    fs::create_directory(base / "F");
    fs::create_directory(base / "outside");
    for (const char* name : {"plocha.dat", "tah.dat"}) fs::copy_file(example("middlegame") / name, base / "F" / name);
    base.write("F/timeouts.dat", "7\r\n");
    base.write("victim", "victim");
    fs::permissions(base / "F" / "plocha.dat", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_hard_link(base / "F" / "plocha.dat", base / "linked");
    const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ::utimensat(AT_FDCWD, (base / "F" / "plocha.dat").c_str(), old, 0);
}

std::string AskedFolder::program(const std::string& name, std::string body) {
    const std::string pids = (tools / "pids").string();
    for (std::size_t at; (at = body.find("PIDS")) != std::string::npos;) body.replace(at, 4, pids);
    tools.write(name, "#!/bin/sh\necho $$ >> " + pids + "\n" + body + "\n");
    fs::permissions(tools / name, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    return (tools / name).string();
}

std::vector<std::string> AskedFolder::askArguments(const std::string& command,
                                                   const std::string& milliseconds) const {
    return {"ask", "--dir", "F", "--ms", milliseconds, "--log", command};
}

ProgramRun AskedFolder::ask(const std::string& command, const std::string& milliseconds, const ChildLimits& limits) {
    return runProgram(CLI_PROGRAM, askArguments(command, milliseconds), base.path(), limits);
}

std::vector<pid_t> AskedFolder::running() const { return runningOf(tools.read("pids")); }

std::vector<pid_t> AskedFolder::runningAfterAWhile() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!running().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return running();
}

}  // namespace vorek::testing
