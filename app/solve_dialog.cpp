#include "app/solve_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>

#include "app/node_label.h"

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

    auto* rows = new QFormLayout(this);
    nodes_ = valueLabel("SolveNodes", this);
    rate_ = valueLabel("SolveRate", this);
    numbers_ = valueLabel("SolveNumbers", this);
    rows->addRow(QStringLiteral("Nodes"), nodes_);
    rows->addRow(QStringLiteral("Nodes per second"), rate_);
    rows->addRow(QStringLiteral("Start node"), numbers_);

    // No end is known in advance: the bar only shows that work goes on.
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    rows->addRow(busy);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &SolveDialog::reject);
    rows->addRow(buttons);
}

void SolveDialog::showProgress(std::uint64_t nodes, double rate, const StatNode& start) {
    nodes_->setText(QString::number(nodes));
    rate_->setText(QString::number(static_cast<qint64>(rate)));
    numbers_->setText(NodeLabel(start));
}

void SolveDialog::reject() {
    emit cancelRequested();
    QDialog::reject();
}

}  // namespace vorek
