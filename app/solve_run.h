// One solve started from the window: the solver over the selected node, the
// flag its Cancel button sets, and the progress dialog that follows it slice
// by slice. The slices run on the window's thread, between its events: the
// engine's scratch records allow no second thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "search/solver.h"

class QTreeWidgetItem;
class QWidget;

namespace vorek {

class SolveDialog;

class SolveRun {
public:
    // A solve of the item's node, bounded by memory and the Cancel button
    // only; shows its progress dialog over the window.
    SolveRun(QTreeWidgetItem* startItem, QWidget* window);
    ~SolveRun();
    SolveRun(const SolveRun&) = delete;
    SolveRun& operator=(const SolveRun&) = delete;

    // Runs one slice and shows the progress; true once the solve has ended.
    bool runSlice();
    // Makes the next slice end the solve.
    void cancel() { cancelled_ = true; }

    SolveResult result() const { return solver_.result(); }
    int provingMove() const { return solver_.provingMove(); }
    QTreeWidgetItem* startItem() const { return startItem_; }

private:
    void showProgress();

    QTreeWidgetItem* startItem_;
    StatNode& start_;
    std::atomic<bool> cancelled_{false};
    Solver solver_;  // its budget points at cancelled_
    std::unique_ptr<SolveDialog> dialog_;
};

}  // namespace vorek
