#include "app/solve/solve_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>

namespace vorek {

namespace {

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

SolveDialog::SolveDialog(QWidget* window) : QDialog(window) {
    setObjectName(QStringLiteral("SolveDialog"));
    setWindowTitle(QStringLiteral("Solve"));
    setWindowModality(Qt::NonModal);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);  // room for the title and the outcome

    auto* rows = new QFormLayout(this);
    nodes_ = valueLabel("SolveNodes", this);
    rate_ = valueLabel("SolveRate", this);
    numbers_ = valueLabel("SolveNumbers", this);
    elapsed_ = valueLabel("SolveElapsed", this);
    rows->addRow(QStringLiteral("Nodes"), nodes_);
    rows->addRow(QStringLiteral("Nodes per second"), rate_);
    rows->addRow(QStringLiteral("Start node"), numbers_);
    rows->addRow(QStringLiteral("Time"), elapsed_);

    // No end is known in advance: the bar only shows that work goes on.
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy_ = busy;
    rows->addRow(busy);
    outcome_ = valueLabel("SolveOutcome", this);
    outcome_->setWordWrap(true);
    outcome_->hide();
    rows->addRow(outcome_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::rejected, this, &SolveDialog::reject);
    rows->addRow(buttons_);
}

void SolveDialog::showOutcome(const QString& text) {
    ended_ = true;
    busy_->hide();
    outcome_->setText(text);
    outcome_->show();
    buttons_->setStandardButtons(QDialogButtonBox::Close);
}

void SolveDialog::showProgress(const SolveProgress& progress, double elapsedSeconds) {
    const double rate = progress.seconds > 0 ? static_cast<double>(progress.nodes) / progress.seconds : 0;
    nodes_->setText(QString::number(progress.nodes));
    rate_->setText(QString::number(static_cast<qint64>(rate)));
    numbers_->setText(QString::number(progress.pn) + QLatin1Char('/') + QString::number(progress.dn));
    elapsed_->setText(QString::number(elapsedSeconds, 'f', 1) + QStringLiteral(" s"));
}

void SolveDialog::reject() {
    if (!ended_) {
        emit cancelRequested();
        return;  // the dialog stays to show how the solve ended
    }
    QDialog::reject();
}

}  // namespace vorek
