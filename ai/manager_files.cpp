#include "ai/manager_files.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "files/position_files.h"
#include "files/regular_file.h"
#include "files/replace_file.h"

namespace vorek {

namespace {

// A manager's files are a few lines; no more is read of anything larger.
constexpr std::size_t LARGEST_READ = 65536;

// The lines of a regular file, without CR or LF. Anything else (a named pipe,
// which would block the open, a folder) reads as no lines.
std::vector<std::string> linesOf(const std::filesystem::path& path) {
    const ReadFile file = openRegularFile(path);
    if (!file) return {};
    std::string bytes(LARGEST_READ, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    std::vector<std::string> lines;
    std::string line;
    for (std::istringstream in(bytes); std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The first blank-separated item of a line, and the rest after the blanks
// that follow it.
std::pair<std::string, std::string> firstItem(const std::string& line) {
    std::istringstream in(line);
    std::string item;
    in >> item;
    std::string rest;
    std::getline(in >> std::ws, rest);
    return {item, rest};
}

}  // namespace

EngineLimits readManagerFiles(const std::filesystem::path& dir) {
    EngineLimits limits;
    const std::vector<std::string> timeouts = linesOf(findProtocolFile(dir, TIMEOUTS_FILE));
    limits.turn = turnFromTimeoutsLine(timeouts.empty() ? std::nullopt : wholeNumber(firstItem(timeouts[0]).first));
    if (timeouts.size() > 1)
        if (const std::optional<long long> left = wholeNumber(firstItem(timeouts[1]).first); left && *left >= 0)
            applyInfo(limits, "time_left", std::to_string(*left));
    for (const std::string& line : linesOf(findProtocolFile(dir, INFO_FILE))) {
        const auto [key, value] = firstItem(line);
        applyInfo(limits, key, value);
    }
    return limits;
}

bool writeManagerMessage(std::string_view line, const std::filesystem::path& dir) {
    const std::filesystem::path path = findProtocolFile(dir, MESSAGE_FILE);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    return replaceFile(path, std::string(line) + "\r\n");
}

}  // namespace vorek
