#include "app/solve/solve_settings.h"

#include <QSettings>
#include <algorithm>

#include "search/process_memory.h"

namespace vorek {

namespace {

constexpr std::size_t LARGEST_DEFAULT = std::size_t{2} << 30;

constexpr const char* NODES_KEY = "solve/nodes";
constexpr const char* SECONDS_KEY = "solve/seconds";
constexpr const char* MEMORY_KEY = "solve/memory";
constexpr const char* RULES_KEY = "solve/rules";

}  // namespace

std::size_t defaultSolveMemory() { return std::min(physicalMemory() / 4, LARGEST_DEFAULT); }

SolveSettings SolveSettings::load() {
    const QSettings stored;
    SolveSettings settings;
    bool ok = false;
    const qulonglong nodes = stored.value(QLatin1String(NODES_KEY)).toULongLong(&ok);
    if (ok) settings.maxNodes = nodes;
    const double seconds = stored.value(QLatin1String(SECONDS_KEY)).toDouble(&ok);
    if (ok && seconds >= 0) settings.maxSeconds = seconds;
    const qulonglong memory = stored.value(QLatin1String(MEMORY_KEY)).toULongLong(&ok);
    if (ok && memory > 0) settings.maxMemoryBytes = memory;
    settings.exact = stored.value(QLatin1String(RULES_KEY)).toString() != QLatin1String("window");
    return settings;
}

void SolveSettings::save() const {
    QSettings stored;
    stored.setValue(QLatin1String(NODES_KEY), static_cast<qulonglong>(maxNodes));
    stored.setValue(QLatin1String(SECONDS_KEY), maxSeconds);
    stored.setValue(QLatin1String(MEMORY_KEY), static_cast<qulonglong>(maxMemoryBytes));
    stored.setValue(QLatin1String(RULES_KEY), exact ? QStringLiteral("exact") : QStringLiteral("window"));
}

}  // namespace vorek
