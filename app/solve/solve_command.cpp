// "Solve": the solver works on the selected node's position on a thread of
// its own while the window goes on; afterwards the dialog says how it ended,
// the tree view shows what the solver found, and the line found can be
// stepped through on the board.
#include <QGuiApplication>
#include <QTreeWidget>
#include <QMainWindow>
#include <QScreen>
#include <QTabWidget>
#include <QTreeWidgetItem>

#include "app/board_view/board_image.h"
#include "app/board_view/position_view.h"
#include "app/game/game_page.h"
#include "app/solve/line_stepper.h"
#include "app/solve/solve_commands.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_outcome.h"
#include "app/solve/solve_run.h"
#include "app/solve/solve_settings_dialog.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "board/five_in_row.h"
#include "board/square_text.h"

namespace vorek {

namespace {

// The letter of the player who has five on the board, or 0 where none has.
char fiveWinner(const V2Board& board, char player1Letter) {
    const std::optional<FiveInRow> five = fiveInRow(board);
    if (!five) return 0;
    return five->owner == PLAYER1 ? player1Letter : otherLetter(player1Letter);
}

// The step of the solve's line whose position the selected item holds: 0 at
// the start item, 1 at its child of the line's first move (where the solve
// selected the proving move), -1 for any other item (selected meanwhile).
int restingStepOf(const QTreeWidgetItem* selected, const QTreeWidgetItem* start, const SolveReport& report) {
    if (selected == start) return 0;
    const bool firstMove = selected != nullptr && selected->parent() == start && !report.line.empty() &&
                           TreeCommands::nodeOf(selected)->move == report.line.front();
    return firstMove ? 1 : -1;
}

QRect globalRect(const QWidget& widget, const QRect& local) {
    return QRect(widget.mapToGlobal(local.topLeft()), local.size());
}

}  // namespace

SolveCommands::SolveCommands(WindowFeatures& window) : window_(window), settings_(SolveSettings::load()) {}

SolveCommands::~SolveCommands() { endAll(); }

// The solve goes first: it works on the tree. The last solve's dialog goes
// before the tree, so that its closing finds one.
void SolveCommands::endAll() {
    run_.reset();
    dropSolveDialog();
}

SolveDialog* SolveCommands::dialog() const { return run_ ? run_->dialog() : dialog_.get(); }

void SolveCommands::SolveSelectedNode() {
    if (!window_.allows(Command::SOLVE)) return;
    TreeCommands& tree = window_.tree();
    QTreeWidgetItem* item = tree.selectedItem();
    if (item == nullptr) return;
    dropSolveDialog();
    const char player1Letter = window_.controller().rootLabels().player1Letter;
    if (const char winner = fiveWinner(TreeCommands::nodeOf(item)->ensureBoard(), player1Letter)) {
        showGameOver(QString(QLatin1Char(winner)));
        return;
    }
    run_ = std::make_unique<SolveRun>(item, settings_, &window_.widgets().window, window_.controller().disposal());
    placeDialog(*run_->dialog());
    connect(run_.get(), &SolveRun::ended, this, &SolveCommands::finishSolve);
    window_.controller().begin(WindowMode::SOLVING);
    window_.applyMode();
}

// A position with a five is decided already: nothing is searched, and the
// dialog says so at once.
void SolveCommands::showGameOver(const QString& winner) {
    dialog_ = std::make_unique<SolveDialog>(&window_.widgets().window);
    dialog_->showGameOver(QStringLiteral("The game is over: %1 has five in a row.").arg(winner));
    placeDialog(*dialog_);
    dialog_->show();
}

// Beside the board, and clear of the selected line of the "Game" page while
// that page is shown, as far as the screen allows.
void SolveCommands::placeDialog(SolveDialog& dialog) {
    const WindowWidgets& widgets = window_.widgets();
    QList<QRect> keepVisible{globalRect(widgets.board, widgets.board.rect())};
    QTreeWidget& list = *widgets.gamePage.GameList;
    if (widgets.pages.currentWidget() == &widgets.gamePage && list.currentItem() != nullptr)
        keepVisible << globalRect(*list.viewport(), list.visualItemRect(list.currentItem()));
    dialog.keepClearOf(widgets.window.frameGeometry(), globalRect(widgets.pages, widgets.pages.rect()), keepVisible);
}

void SolveCommands::SolveSettings1Click() {
    SolveSettingsDialog settingsDialog(settings_, &window_.widgets().window);
    if (settingsDialog.exec() == QDialog::Accepted) setSolveSettings(settingsDialog.settings());
}

void SolveCommands::setSolveSettings(const SolveSettings& settings) {
    settings_ = settings;
    settings_.save();
}

void SolveCommands::stop() {
    if (run_ == nullptr) return;
    run_->cancel();
    finishSolve();
}

// The run is taken first: its end, told again while it goes, finds none.
void SolveCommands::finishSolve() {
    if (run_ == nullptr) return;
    const std::unique_ptr<SolveRun> run = std::move(run_);
    const SolveReport report = run->report();  // waits for the solve's thread
    QTreeWidgetItem* start = run->startItem();
    const char player1Letter = window_.controller().rootLabels().player1Letter;
    dialog_ = run->takeDialog();
    dialog_->showOutcome(report, player1Letter);
    window_.controller().end();
    TreeCommands& tree = window_.tree();
    tree.showSolved(start, !run->exact(), report.move, solveVerdictText(report, player1Letter),
                    solveOutcomeText(report, player1Letter));
    offerSolveLine(start, report, restingStepOf(tree.selectedItem(), start, report));
    window_.applyMode();
    tree.view().setFocus();
    tree.ShowSelectedNode();
}

// A decided solve's line, from the start node's position, goes to the
// dialog's stepper; an undecided one's moves prove nothing and are not offered.
void SolveCommands::offerSolveLine(QTreeWidgetItem* start, const SolveReport& report, int restingStep) {
    LineStepper* stepper = dialog_->line();
    connect(stepper, &LineStepper::stepRequested, this, &SolveCommands::StepSolveLine);
    connect(dialog_.get(), &QDialog::finished, this, &SolveCommands::forgetSolveLine);
    if (report.result == SolveResult::Unknown || report.line.empty()) return;
    WindowController& controller = window_.controller();
    StatNode& node = *TreeCommands::nodeOf(start);
    auto line = std::make_unique<SolveLine>(node.ensureBoard(), controller.rootLabels(), movesFromRoot(node),
                                            report.line, restingStep);
    QStringList moves;
    for (int i = 0; i < line->length(); ++i) {
        const int square = line->moves()[static_cast<std::size_t>(i)];
        moves << QStringLiteral("%1 %2").arg(QLatin1Char(line->letterOf(i)))
                     .arg(QString::fromStdString(squareText(columnOf(square), rowOf(square))));
    }
    const int shownStep = line->step();
    controller.keepLine(std::move(line));
    stepper->setMoves(moves, shownStep);
    window_.applyMode();
}

void SolveCommands::StepSolveLine(int step) {
    WindowController& controller = window_.controller();
    if (dialog_ == nullptr || !controller.stepLine(step)) return;
    dialog_->line()->showStep(controller.line()->step());
    window_.applyMode();
    window_.view().show();
    window_.showModeMessage();
}

// A line shown gives the board back to the selected node.
void SolveCommands::forgetSolveLine() {
    WindowController& controller = window_.controller();
    const bool shown = controller.shownLine() != nullptr;
    controller.dropLine();
    if (!shown) return;
    window_.applyMode();
    window_.view().show();
    window_.showModeMessage();
}

void SolveCommands::dropSolveDialog() {
    if (dialog_ == nullptr) return;
    dialog_->disconnect(this);
    dialog_->line()->disconnect(this);
    forgetSolveLine();
    dialog_.reset();
}

}  // namespace vorek
