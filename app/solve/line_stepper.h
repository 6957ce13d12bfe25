// The row of the Solve dialog that steps through the line a solve found:
// "Back" to the position solved, "Previous" and "Next" a move, "End" to the
// last move, with the keys Home, Left, Right and End anywhere in the dialog,
// and a label saying which move is shown: "Move 3 of 9: o 9,12". It asks for
// steps; the window decides whether to show them and tells it what it shows.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;

namespace vorek {

class LineStepper final : public QWidget {
    Q_OBJECT

public:
    explicit LineStepper(QWidget* parent);

    // The moves of the line, each as its side's letter and its square,
    // "x 6,12"; the position after `shown` of them is on the board. No moves
    // hide the stepper.
    void setMoves(QStringList moves, int shown = 0);
    // The position after `step` moves is shown: the label says which, and
    // the buttons that would lead nowhere rest.
    void showStep(int step);
    int step() const { return step_; }
    int length() const { return static_cast<int>(moves_.size()); }

    QAction* Back = nullptr;
    QAction* Previous = nullptr;
    QAction* Next = nullptr;
    QAction* End = nullptr;

signals:
    // The user asks for the position after `step` moves.
    void stepRequested(int step);

private:
    // An action for the key that asks for the step `target` gives.
    QAction* addStep(const char* text, const char* name, Qt::Key key, std::function<int()> target);

    QStringList moves_;
    QLabel* shown_ = nullptr;
    int step_ = 0;
};

// What the stepper's label says after `step` of the moves: "Move 3 of 9:
// o 9,12", or "Move 0 of 9: the position solved".
QString lineStepText(const QStringList& moves, int step);

}  // namespace vorek
