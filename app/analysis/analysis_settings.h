// The engine the window analyses with, kept between runs: its command line,
// the time of each think and the number of best lines it reports.
#pragma once

#include <QString>

namespace vorek {

// The longest think that can be chosen, and the most lines.
inline constexpr int MOST_ANALYSIS_MILLISECONDS = 3'600'000;
inline constexpr int MOST_ANALYSIS_LINES = 20;

struct AnalysisSettings {
    QString commandLine;   // the program and its arguments; empty: none chosen yet
    int milliseconds = 0;  // each think's time; 0: infinite, until the position changes
    int lines = 3;         // the best lines reported, 1..MOST_ANALYSIS_LINES

    // The time the engine is given (INFO timeout_turn): infinite is the
    // protocol's "no limit", as time_left has it.
    int thinkMilliseconds() const;

    // The settings saved last, with defaults for whatever is missing or bad.
    static AnalysisSettings load();
    void save() const;
};

}  // namespace vorek
