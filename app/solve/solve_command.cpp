// "Solve": the solver works on the selected node's position on a thread of
// its own while the window goes on; afterwards the dialog says how it ended
// and the tree view shows what the solver found.
#include <QCloseEvent>
#include <QTreeWidgetItem>

#include "app/form1.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_run.h"
#include "app/solve/solve_settings_dialog.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"

namespace vorek {

void TForm1::SolveSelectedNode() {
    if (!allows(Command::SOLVE)) return;
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    solveDialog_.reset();
    solve_ = std::make_unique<SolveRun>(item, solveSettings_, this, controller_.disposal());
    connect(solve_.get(), &SolveRun::ended, this, &TForm1::finishSolve);
    controller_.begin(WindowMode::SOLVING);
    applyMode();
}

void TForm1::SolveSettings1Click() {
    SolveSettingsDialog dialog(solveSettings_, this);
    if (dialog.exec() == QDialog::Accepted) setSolveSettings(dialog.settings());
}

void TForm1::setSolveSettings(const SolveSettings& settings) {
    solveSettings_ = settings;
    solveSettings_.save();
}

void TForm1::stopSolve() {
    if (solve_ == nullptr) return;
    solve_->cancel();
    finishSolve();
}

void TForm1::closeEvent(QCloseEvent* event) {
    stopSolve();
    QMainWindow::closeEvent(event);
}

// The run is taken first: its end, told again while it goes, finds none.
void TForm1::finishSolve() {
    if (solve_ == nullptr) return;
    const std::unique_ptr<SolveRun> run = std::move(solve_);
    const SolveReport report = run->report();  // waits for the solve's thread
    QTreeWidgetItem* start = run->startItem();
    solveDialog_ = run->takeDialog();
    solveDialog_->showOutcome(report);
    controller_.end();
    applyMode();
    Tree->setFocus();

    // The tree's rules grew the window's tree: its items follow it.
    if (!run->exact()) {
        showSolvedItems(start);
        relabelPath(start);
        if (report.move >= 0) selectChildByMove(start, report.move);
    } else if (report.move >= 0) {
        selectChildItemByMove(start, report.move);
    }
    ShowSelectedNode();
}

// Items that existed before the solve and whose nodes it grew: each lay on the
// path of the solver's expansions, so it gets the path label, and an item
// whose node now has children but no items for them shows that it can be opened.
void TForm1::showSolvedItems(QTreeWidgetItem* item) {
    const StatNode& node = *nodeOf(item);
    const QString text = item->text(NodeItem::LABEL_COLUMN);
    if (text != NodeLabel(node) && text != pathLabel(node)) {
        item->setText(NodeItem::LABEL_COLUMN, pathLabel(node));
        Tree->fitLabels(*item);
    }
    if (item->childCount() == 0 && node.childCount > 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    for (int i = 0; i < item->childCount(); ++i) showSolvedItems(item->child(i));
}

// Selects the child item reached by the move, if the item has one already.
void TForm1::selectChildItemByMove(QTreeWidgetItem* item, int move) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (nodeOf(item->child(i))->move != move) continue;
        item->setExpanded(true);
        Tree->setCurrentItem(item->child(i));
        return;
    }
}

// Opens the item and selects the child item reached by the move, if there is one.
void TForm1::selectChildByMove(QTreeWidgetItem* item, int move) {
    addGrownChildItems(item);
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
        if (nodeOf(item->child(i))->move != move) continue;
        Tree->setCurrentItem(item->child(i));
        return;
    }
}

}  // namespace vorek
