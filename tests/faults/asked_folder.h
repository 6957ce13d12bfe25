// A position folder "F" that the built vorek-cli asks hostile programs about,
// with what lies beside it, and the programs: shell scripts that note the ids
// of the processes they start, so that a test can see that none remains.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {

class AskedFolder : public ::testing::Test {
protected:
    TempDir base;   // the position folder "F", and what lies beside it
    TempDir tools;  // the programs, and the ids of the processes they start

    // F holds the middlegame's "plocha.dat" (permissions 600, a second link
    // to it beside F, "linked", an old time) and "tah.dat", and
    // "timeouts.dat"; beside F lie "outside" and "victim".
    void SetUp() override;

    // A shell script that notes its process id first; "PIDS" in its body
    // names the file of ids, so that "cmd & echo $! >> PIDS" notes a child.
    std::string program(const std::string& name, std::string body);

    // vorek-cli ask --dir F --ms T --log COMMAND, in base.
    ProgramRun ask(const std::string& command, const std::string& milliseconds = "1100",
                   const ChildLimits& limits = {});
    std::vector<std::string> askArguments(const std::string& command, const std::string& milliseconds) const;

    // The processes the programs noted that still run.
    std::vector<pid_t> running() const;
    // The same once they have had up to a few seconds to end: for processes
    // that something other than the ask ends.
    std::vector<pid_t> runningAfterAWhile() const;
};

}  // namespace vorek::testing
