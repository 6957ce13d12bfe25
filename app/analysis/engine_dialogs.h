// "Engine Settings...": the engine the window analyses with, the time of
// each think (or "infinite") and the number of best lines. Behind an
// interface so that tests can answer it without a modal loop.
#pragma once

#include <QStringList>
#include <optional>

#include "app/analysis/analysis_settings.h"

class QWidget;

namespace vorek {

class EngineDialogs {
public:
    virtual ~EngineDialogs() = default;
    // Asks for the engine's settings, showing `now`, with the command lines
    // asked last (most recent first) in the program's drop-down; nullopt
    // when the user cancels or names no program.
    virtual std::optional<AnalysisSettings> chooseEngine(QWidget* parent, const AnalysisSettings& now,
                                                         const QStringList& recent) = 0;
};

// The modal Qt dialog.
class QtEngineDialogs final : public EngineDialogs {
public:
    std::optional<AnalysisSettings> chooseEngine(QWidget* parent, const AnalysisSettings& now,
                                                 const QStringList& recent) override;
};

}  // namespace vorek
