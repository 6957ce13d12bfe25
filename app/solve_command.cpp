// "Solve": the solver grows the tree from the selected node while the window
// goes on handling its events; afterwards the tree view shows the result.
#include <QAction>
#include <QCloseEvent>
#include <QTreeWidgetItem>

#include "app/folder_menu.h"
#include "app/form1.h"
#include "app/node_label.h"
#include "app/node_tree.h"
#include "app/solve_run.h"

namespace vorek {

void TForm1::SolveSelectedNode() {
    if (solving()) return;
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    solve_ = std::make_unique<SolveRun>(item, this);
    enableCommandsBesideSolve(false);
    solveTimer_.start();  // interval 0: one slice each time the event queue is empty
}

void TForm1::solveSlice() {
    if (solve_ && solve_->runSlice()) finishSolve();
}

void TForm1::stopSolve() {
    if (!solving()) return;
    solve_->cancel();
    finishSolve();
}

void TForm1::closeEvent(QCloseEvent* event) {
    stopSolve();
    QMainWindow::closeEvent(event);
}

void TForm1::finishSolve() {
    solveTimer_.stop();
    const std::unique_ptr<SolveRun> run = std::move(solve_);  // closes the dialog on return
    const int provingMove = run->provingMove();
    QTreeWidgetItem* start = run->startItem();
    enableCommandsBesideSolve(true);

    showSolvedItems(start);
    relabelPath(start);
    if (provingMove >= 0) selectChildByMove(start, provingMove);
    ShowSelectedNode();
}

// The tree view, opening a folder, "File Input" and "Solve" rest while the
// solver works; the board, the threat lists and "File Output" stay at hand.
void TForm1::enableCommandsBesideSolve(bool enabled) {
    Tree->setEnabled(enabled);
    FileMenu->setOpeningEnabled(enabled);
    FileInput1->setEnabled(enabled);
    Solve1->setEnabled(enabled);
    if (enabled) Tree->setFocus();
}

// Items that existed before the solve and whose nodes it grew: each lay on the
// path of the solver's expansions, so it gets the path label, and an item
// whose node now has children but no items for them shows that it can be opened.
void TForm1::showSolvedItems(QTreeWidgetItem* item) {
    const StatNode& node = *nodeOf(item);
    const QString text = item->text(0);
    if (text != NodeLabel(node) && text != pathLabel(node)) item->setText(0, pathLabel(node));
    if (item->childCount() == 0 && node.childCount > 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    for (int i = 0; i < item->childCount(); ++i) showSolvedItems(item->child(i));
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
