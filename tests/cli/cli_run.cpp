#include "tests/cli/cli_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>

#include "tests/temp_dir.h"

namespace vorek::testing {

namespace {

// In the child: send a standard stream to a file, or give up.
void redirect(int stream, const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::dup2(fd, stream) < 0) ::_exit(127);
    ::close(fd);
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& arguments, const std::filesystem::path& cwd,
              const std::filesystem::path& stdoutFile) {
    const TempDir capture;
    const std::filesystem::path outFile = stdoutFile.empty() ? capture / "out" : stdoutFile;
    const std::filesystem::path errFile = capture / "err";

    std::vector<char*> argv{const_cast<char*>(VOREK_CLI_BINARY)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(127);
        redirect(STDOUT_FILENO, outFile);
        redirect(STDERR_FILENO, errFile);
        ::execv(VOREK_CLI_BINARY, argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) throw std::runtime_error("waitpid failed");
    return CliRun{exitCodeOf(status), stdoutFile.empty() ? capture.read("out") : std::string(),
                  capture.read("err")};
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::filesystem::path example(const std::string& name) {
    return std::filesystem::path(VOREK_EXAMPLES_DIR) / name;
}

}  // namespace vorek::testing
