// "Solve": the solver works on the selected node's position on a thread of
// its own while the window goes on; afterwards the dialog says how it ended,
// the tree view shows what the solver found, and the line found can be
// stepped through on the board.
#include <QCloseEvent>
#include <QTreeWidgetItem>

#include "app/board_view/board_image.h"
#include "app/form1.h"
#include "app/solve/line_stepper.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_run.h"
#include "app/solve/solve_settings_dialog.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "board/square_text.h"

namespace vorek {

void TForm1::SolveSelectedNode() {
    if (!allows(Command::SOLVE)) return;
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    dropSolveDialog();
    solve_ = std::make_unique<SolveRun>(item, solveSettings_, this, controller_.disposal());
    solve_->dialog()->keepClearOf(QRect(ImgBoard->mapToGlobal(QPoint(0, 0)), ImgBoard->size()));
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
    offerSolveLine(start, report);
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

// A decided solve's line, from the start node's position, goes to the
// dialog's stepper; an undecided one's moves prove nothing and are not offered.
void TForm1::offerSolveLine(QTreeWidgetItem* start, const SolveReport& report) {
    LineStepper* stepper = solveDialog_->line();
    connect(stepper, &LineStepper::stepRequested, this, &TForm1::StepSolveLine);
    connect(solveDialog_.get(), &QDialog::finished, this, &TForm1::forgetSolveLine);
    if (report.result == SolveResult::Unknown || report.line.empty()) return;
    StatNode& node = *nodeOf(start);
    auto line = std::make_unique<SolveLine>(node.ensureBoard(), rootLabels(), movesFromRoot(node), report.line);
    QStringList moves;
    for (int i = 0; i < line->length(); ++i) {
        const int square = line->moves()[static_cast<std::size_t>(i)];
        moves << QStringLiteral("%1 %2").arg(QLatin1Char(line->letterOf(i)))
                     .arg(QString::fromStdString(squareText(columnOf(square), rowOf(square))));
    }
    controller_.keepLine(std::move(line));
    stepper->setMoves(moves);
    applyMode();
}

void TForm1::StepSolveLine(int step) {
    if (solveDialog_ == nullptr || !controller_.stepLine(step)) return;
    solveDialog_->line()->showStep(controller_.line()->step());
    applyMode();
    showPosition();
}

// A line shown gives the board back to the selected node.
void TForm1::forgetSolveLine() {
    const bool shown = controller_.shownLine() != nullptr;
    controller_.dropLine();
    if (!shown) return;
    applyMode();
    showPosition();
}

void TForm1::dropSolveDialog() {
    if (solveDialog_ == nullptr) return;
    solveDialog_->disconnect(this);
    solveDialog_->line()->disconnect(this);
    forgetSolveLine();
    solveDialog_.reset();
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
