// "Solve": the selected node's position solved on a thread of its own by
// the solve settings, with a progress dialog beside the board; afterwards
// the dialog says how it ended, the tree shows the verdict (and, under the
// tree's rules, what the solver grew), and the line found can be stepped
// through on the board. A position with a five on it is not solved: the
// dialog says the game is over.
#pragma once

#include <QObject>
#include <memory>

#include "app/solve/solve_settings.h"
#include "search/solver.h"

class QTreeWidgetItem;

namespace vorek {

class SolveDialog;
class SolveRun;
class WindowFeatures;

class SolveCommands final : public QObject {
    Q_OBJECT

public:
    explicit SolveCommands(WindowFeatures& window);
    ~SolveCommands() override;

    // Ends a running solve and closes the last solve's dialog, giving the
    // board back to the selected node; before the window goes.
    void endAll();

    // Solves the selected node's position on a thread of its own, by the
    // solve settings, with a progress dialog. The board, the threat lists and
    // moving through the items keep working; commands that change the tree
    // (expansion, digit keys, "File Input", opening, a second solve) do
    // nothing while it runs. Afterwards the dialog says how it ended; under
    // the tree's rules the path is relabelled, and the proving move, if any,
    // is selected where the tree has it.
    void SolveSelectedNode();
    bool solving() const { return run_ != nullptr; }
    // Stops a running solve at once and shows how it ended.
    void stop();

    // Shows the position after `step` moves of the line the last solve found
    // (held to the line), with the line's moves numbered and the last one
    // marked; away from the step the selected node holds, the tree and the
    // commands that would change it or start other work rest. Closing the
    // dialog shows the selected node again. Nothing happens without a line
    // or where the mode does not allow stepping.
    void StepSolveLine(int step);

    // "Solve Settings...": asks for the budgets and rules of later solves.
    void SolveSettings1Click();
    void setSolveSettings(const SolveSettings& settings);
    const SolveSettings& settings() const { return settings_; }

    // The dialog of the running or the last solve; null before the first.
    SolveDialog* dialog() const;

private:
    void finishSolve();
    void showGameOver(const QString& winner);
    void offerSolveLine(QTreeWidgetItem* start, const SolveReport& report, int restingStep);
    void forgetSolveLine();
    void dropSolveDialog();
    void placeDialog(SolveDialog& dialog);

    WindowFeatures& window_;
    SolveSettings settings_;
    std::unique_ptr<SolveRun> run_;
    std::unique_ptr<SolveDialog> dialog_;  // how the last solve ended
};

}  // namespace vorek
