// A fresh temporary folder that is the working directory while the object lives.
#pragma once

#include <filesystem>

#include "tests/temp_dir.h"

namespace vorek::testing {

class ScratchWorkingDirectory {
public:
    ScratchWorkingDirectory() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path());
    }
    ~ScratchWorkingDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    ScratchWorkingDirectory(const ScratchWorkingDirectory&) = delete;
    ScratchWorkingDirectory& operator=(const ScratchWorkingDirectory&) = delete;

    const TempDir& dir() const { return dir_; }

private:
    std::filesystem::path previous_;
    TempDir dir_;
};

}  // namespace vorek::testing
