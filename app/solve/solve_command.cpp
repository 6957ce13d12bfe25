// "Solve": the solver works on the selected node's position on a thread of
// its own while the window goes on; afterwards the dialog says how it ended
// and the tree view shows what the solver found.
#include <QAction>
#include <QCloseEvent>
#include <QListWidget>
#include <QTreeWidgetItem>

#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/form1.h"
#include "app/game/game_page.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_outcome.h"
#include "app/solve/solve_run.h"
#include "app/solve/solve_settings_dialog.h"

namespace vorek {

void TForm1::SolveSelectedNode() {
    if (solving()) return;
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    solveDialog_.reset();
    solve_ = std::make_unique<SolveRun>(item, solveSettings_, this);
    connect(solve_.get(), &SolveRun::ended, this, &TForm1::finishSolve);
    enableCommandsBesideSolve(false);
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
    if (!solving()) return;
    solve_->cancel();
    finishSolve();
}

void TForm1::closeEvent(QCloseEvent* event) {
    stopSolve();
    QMainWindow::closeEvent(event);
}

void TForm1::finishSolve() {
    if (!solving()) return;
    const std::unique_ptr<SolveRun> run = std::move(solve_);
    const SolveReport report = run->report();  // waits for the solve's thread
    QTreeWidgetItem* start = run->startItem();
    solveDialog_ = run->takeDialog();
    solveDialog_->showOutcome(solveOutcomeText(report));
    enableCommandsBesideSolve(true);

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

// While the solver works, opening a folder or a game, the game's positions,
// "File Input", editing and "Solve" rest; the tree view stays at hand for
// moving through its items.
void TForm1::enableCommandsBesideSolve(bool enabled) {
    FileMenu->setOpeningEnabled(enabled);
    Game->GameList->setEnabled(enabled);
    EditCommands->EditPosition1->setEnabled(enabled);
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
