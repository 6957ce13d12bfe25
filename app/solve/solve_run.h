// One solve started from the window: the solver over the selected node's
// position, run on a thread of its own while the window goes on, the flag its
// Cancel button sets, and the progress dialog that follows it.
//
// While it runs under the window's rules, the solver owns the tree below its
// start node: the window may read the boards, moves and parents of the nodes
// it shows, which the solver never changes, but not their numbers or
// children. Under the exact rules it solves by threat-space search on a copy
// of the start node's position and leaves the tree alone.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "app/solve/solve_settings.h"
#include "search/solve_job.h"

class QTreeWidgetItem;
class QWidget;

namespace vorek {

class SolveDialog;
class TreeDisposal;

class SolveRun final : public QObject {
    Q_OBJECT

public:
    // Starts a solve of the item's node's position by the settings, and shows
    // its progress dialog over the window. The solver (and its table or
    // positions) is deleted by `disposal` in the end.
    SolveRun(QTreeWidgetItem* startItem, const SolveSettings& settings, QWidget* window, TreeDisposal& disposal);
    // Stops the solve if it still runs, waits for its thread, and hands the
    // solver's memory to the disposal.
    ~SolveRun() override;
    SolveRun(const SolveRun&) = delete;
    SolveRun& operator=(const SolveRun&) = delete;

    // Asks the solve to stop; it does within a few milliseconds.
    void cancel() { cancelled_ = true; }
    // Waits for the solve's thread; after ended(), at once.
    void wait();

    bool exact() const { return exact_; }
    QTreeWidgetItem* startItem() const { return startItem_; }
    // The whole report: only once the solve has ended.
    SolveReport report();
    // The progress dialog, shown from the start.
    SolveDialog* dialog() const { return dialog_.get(); }
    // The progress dialog, for showing how the solve ended after the run is gone.
    std::unique_ptr<SolveDialog> takeDialog();

signals:
    // The solve has ended, by itself or cancelled; sent on the window's
    // thread, with the progress, within a tenth of a second.
    void ended();

private:
    void showProgress();

    QTreeWidgetItem* startItem_;
    TreeDisposal& disposal_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};  // set by the solver's thread at its end
    bool endTold_ = false;
    bool exact_;  // by threat-space search; else by the window's rules in its tree
    std::unique_ptr<SolveJob> job_;  // its budget pointing at cancelled_
    SolveReport report_;             // once it has ended
    std::unique_ptr<SolveDialog> dialog_;
    QTimer progressTimer_;
    std::thread worker_;
};

}  // namespace vorek
