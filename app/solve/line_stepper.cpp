#include "app/solve/line_stepper.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/menu_action.h"

namespace vorek {

LineStepper::LineStepper(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SolveLine"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    column->addLayout(buttons);
    shown_ = named(new QLabel(this), "SolveLineStep");
    column->addWidget(shown_);

    Back = addStep("Back", "SolveLineBack", Qt::Key_Home, [] { return 0; });
    Previous = addStep("Previous", "SolveLinePrevious", Qt::Key_Left, [this] { return step_ - 1; });
    Next = addStep("Next", "SolveLineNext", Qt::Key_Right, [this] { return step_ + 1; });
    End = addStep("End", "SolveLineEnd", Qt::Key_End, [this] { return length(); });
    for (QAction* action : {Back, Previous, Next, End}) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    Back->setToolTip(QStringLiteral("Back to the position solved (Home)"));
    Previous->setToolTip(QStringLiteral("The move before (Left)"));
    Next->setToolTip(QStringLiteral("The next move of the line (Right)"));
    End->setToolTip(QStringLiteral("The line's last move (End)"));
    hide();
}

// The key works anywhere in the dialog.
QAction* LineStepper::addStep(const char* text, const char* name, Qt::Key key, std::function<int()> target) {
    auto* action = named(new QAction(QLatin1String(text), this), name);
    action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, target = std::move(target)] { emit stepRequested(target()); });
    return action;
}

void LineStepper::setMoves(QStringList moves, int shown) {
    moves_ = std::move(moves);
    setVisible(!moves_.isEmpty());
    showStep(shown);
}

void LineStepper::showStep(int step) {
    step_ = step;
    shown_->setText(lineStepText(moves_, step));
    Back->setEnabled(step > 0);
    Previous->setEnabled(step > 0);
    Next->setEnabled(step < length());
    End->setEnabled(step < length());
}

QString lineStepText(const QStringList& moves, int step) {
    if (step <= 0) return QStringLiteral("Move 0 of %1: the position solved").arg(moves.size());
    return QStringLiteral("Move %1 of %2: %3").arg(step).arg(moves.size()).arg(moves.value(step - 1));
}

}  // namespace vorek
