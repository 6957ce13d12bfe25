#include "app/solve_run.h"

#include "app/form1.h"
#include "app/solve_dialog.h"

namespace vorek {

namespace {

// Long enough to make slicing cheap, short enough for smooth repainting.
constexpr std::chrono::milliseconds SLICE{30};

SolveBudget cancelOnly(const std::atomic<bool>& cancelled) {
    SolveBudget budget;  // no node or time limit; half of the machine's memory
    budget.cancel = &cancelled;
    return budget;
}

}  // namespace

SolveRun::SolveRun(QTreeWidgetItem* startItem, QWidget* window)
    : startItem_(startItem),
      start_(*TForm1::nodeOf(startItem)),
      solver_(start_, cancelOnly(cancelled_)),
      dialog_(std::make_unique<SolveDialog>(window)) {
    QObject::connect(dialog_.get(), &SolveDialog::cancelRequested, dialog_.get(),
                     [this] { cancel(); });
    showProgress();
    dialog_->show();
}

SolveRun::~SolveRun() = default;

bool SolveRun::runSlice() {
    const bool ended = solver_.runSlice(SLICE);
    showProgress();
    return ended;
}

void SolveRun::showProgress() { dialog_->showProgress(solver_.nodes(), solver_.rate(), start_); }

}  // namespace vorek
