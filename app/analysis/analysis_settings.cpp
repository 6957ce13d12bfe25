#include "app/analysis/analysis_settings.h"

#include <QSettings>
#include <climits>

namespace vorek {

namespace {

constexpr const char* ENGINE_KEY = "analysis/engine";
constexpr const char* MILLISECONDS_KEY = "analysis/milliseconds";
constexpr const char* LINES_KEY = "analysis/lines";

}  // namespace

int AnalysisSettings::thinkMilliseconds() const { return milliseconds > 0 ? milliseconds : INT_MAX; }

AnalysisSettings AnalysisSettings::load() {
    const QSettings stored;
    AnalysisSettings settings;
    settings.commandLine = stored.value(QLatin1String(ENGINE_KEY)).toString();
    bool ok = false;
    const int milliseconds = stored.value(QLatin1String(MILLISECONDS_KEY)).toInt(&ok);
    if (ok && milliseconds >= 0 && milliseconds <= MOST_ANALYSIS_MILLISECONDS) settings.milliseconds = milliseconds;
    const int lines = stored.value(QLatin1String(LINES_KEY)).toInt(&ok);
    if (ok && lines >= 1 && lines <= MOST_ANALYSIS_LINES) settings.lines = lines;
    return settings;
}

void AnalysisSettings::save() const {
    QSettings stored;
    stored.setValue(QLatin1String(ENGINE_KEY), commandLine);
    stored.setValue(QLatin1String(MILLISECONDS_KEY), milliseconds);
    stored.setValue(QLatin1String(LINES_KEY), lines);
}

}  // namespace vorek
