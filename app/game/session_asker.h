// The moves of an engine of the stdin/stdout protocol that keeps running
// between them: started at the first move, given each position in turn,
// started again should it die, ended when it no longer plays.
#pragma once

#include <memory>

#include "app/game/move_asker.h"

namespace vorek {

class WindowFeatures;

// The asker of the command line's engine, kept running by an engine session
// in the window's folder; its exchange goes to the "Log" page, move by move.
std::unique_ptr<MoveAsker> askRunningEngine(WindowFeatures& window, const QString& commandLine);

}  // namespace vorek
