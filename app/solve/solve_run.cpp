#include "app/solve/solve_run.h"

#include <QTreeWidgetItem>

#include "app/tree/tree_commands.h"
#include "app/solve/solve_dialog.h"
#include "app/tree/tree_disposal.h"
#include "search/solver.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek {

namespace {

// Five refreshes a second at least; the end is noticed as soon.
constexpr int PROGRESS_EVERY_MS = 100;

SolveBudget budgetOf(const SolveSettings& settings, const std::atomic<bool>& cancelled) {
    SolveBudget budget;
    budget.maxNodes = settings.maxNodes;
    budget.maxSeconds = settings.maxSeconds;
    budget.maxMemoryBytes = settings.maxMemoryBytes;
    budget.cancel = &cancelled;
    return budget;
}

}  // namespace

SolveRun::SolveRun(QTreeWidgetItem* startItem, const SolveSettings& settings, QWidget* window,
                   TreeDisposal& disposal)
    : startItem_(startItem),
      disposal_(disposal),
      exact_(settings.exact),
      dialog_(std::make_unique<SolveDialog>(window)) {
    StatNode& start = *TreeCommands::nodeOf(startItem);
    // Everything the solver needs from the window's tree is taken here, on
    // the window's thread.
    const SolveBudget budget = budgetOf(settings, cancelled_);
    if (exact_) {
        job_ = std::make_unique<ThreatSolver>(threatBoardOf(start.ensureBoard()), budget);
    } else {
        job_ = std::make_unique<Solver>(start, budget, handTreeRules());
    }
    QObject::connect(dialog_.get(), &SolveDialog::cancelRequested, this, [this] { cancel(); });
    QObject::connect(&progressTimer_, &QTimer::timeout, this, &SolveRun::showProgress);
    showProgress();
    dialog_->show();
    progressTimer_.start(PROGRESS_EVERY_MS);

    // The solver's thread tells its end through a flag the window's thread
    // looks at with the progress, so that nothing passes between them but
    // through the standard library's own synchronisation.
    worker_ = std::thread([this] {
        report_ = job_->run();
        finished_.store(true, std::memory_order_release);
    });
}

// A threat solver's table and the tree solver's positions can be gigabytes:
// they are freed off the window's thread, and their memory goes back to the
// system.
SolveRun::~SolveRun() {
    cancel();
    wait();
    SolveJob* job = job_.release();
    disposal_.dispose([job] { delete job; });
}

void SolveRun::wait() {
    if (worker_.joinable()) worker_.join();
}

SolveReport SolveRun::report() {
    wait();
    return report_;
}

std::unique_ptr<SolveDialog> SolveRun::takeDialog() {
    progressTimer_.stop();
    showProgress();
    return std::move(dialog_);
}

void SolveRun::showProgress() {
    if (dialog_) dialog_->showProgress(job_->progress());
    if (finished_.load(std::memory_order_acquire) && !endTold_) {
        endTold_ = true;
        emit ended();
    }
}

}  // namespace vorek
