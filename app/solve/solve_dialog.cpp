#include "app/solve/solve_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/menu_action.h"
#include "app/solve/line_stepper.h"
#include "app/solve/solve_outcome.h"
#include "search/stat_node.h"

namespace vorek {

namespace {

// Wide enough for the title and a verdict on two lines at most.
constexpr int TEXT_WIDTH_IN_CHARACTERS = 44;
// Between the dialog and the area it keeps clear of, for the window frame.
constexpr int CLEARANCE = 16;

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = named(new QLabel(parent), name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QString numberText(std::int32_t number) {
    return number == INFINITE_NUMBER ? QStringLiteral("infinite") : QString::number(number);
}

SolveDialog::SolveDialog(QWidget* window) : QDialog(window) {
    setObjectName(QStringLiteral("SolveDialog"));
    setWindowTitle(QStringLiteral("Solve"));
    setWindowModality(Qt::NonModal);

    auto* page = new QVBoxLayout(this);
    // The dialog takes the size its text needs, and grows with the verdict.
    page->setSizeConstraint(QLayout::SetFixedSize);
    auto* rows = new QFormLayout;
    nodes_ = valueLabel("SolveNodes", this);
    rate_ = valueLabel("SolveRate", this);
    proof_ = valueLabel("SolveProof", this);
    disproof_ = valueLabel("SolveDisproof", this);
    elapsed_ = valueLabel("SolveElapsed", this);
    rows->addRow(QStringLiteral("Nodes"), nodes_);
    rows->addRow(QStringLiteral("Nodes per second"), rate_);
    rows->addRow(QStringLiteral("Proof number"), proof_);
    rows->addRow(QStringLiteral("Disproof number"), disproof_);
    rows->addRow(QStringLiteral("Time"), elapsed_);
    proof_->setToolTip(QStringLiteral("How many more leaves must be proved won for the side to move at the "
                                      "start; 0: proved"));
    disproof_->setToolTip(QStringLiteral("How many more leaves must be proved lost for the side to move at "
                                         "the start; 0: disproved"));
    page->addLayout(rows);

    // No end is known in advance: the bar only shows that work goes on.
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy_ = busy;
    page->addWidget(busy);

    outcomeRows_ = new QFormLayout;
    outcome_ = valueLabel("SolveOutcome", this);
    outcome_->setWordWrap(true);
    // Its width is taken from the start, so that the dialog does not widen
    // when the verdict comes.
    outcome_->setFixedWidth(fontMetrics().averageCharWidth() * TEXT_WIDTH_IN_CHARACTERS);
    outcomeRows_->addRow(outcome_);
    line_ = new LineStepper(this);
    outcomeRows_->addRow(line_);
    page->addLayout(outcomeRows_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::rejected, this, &SolveDialog::reject);
    page->addWidget(buttons_);
}

void SolveDialog::showCounts(std::uint64_t nodes, double seconds, std::int32_t pn, std::int32_t dn) {
    const double rate = seconds > 0 ? static_cast<double>(nodes) / seconds : 0;
    nodes_->setText(QString::number(nodes));
    rate_->setText(QString::number(static_cast<qint64>(rate)));
    proof_->setText(numberText(pn));
    disproof_->setText(numberText(dn));
    // Tenths of a second, or milliseconds for a solve that takes less than one.
    elapsed_->setText(QString::number(seconds, 'f', seconds < 1 ? 3 : 1) + QStringLiteral(" s"));
}

void SolveDialog::showProgress(const SolveProgress& progress) {
    if (!ended_) showCounts(progress.nodes, progress.seconds, progress.pn, progress.dn);
}

void SolveDialog::showOutcome(const SolveReport& report, char player1Letter) {
    showCounts(report.nodes, report.seconds, report.pn, report.dn);
    showEnd(solveOutcomeText(report, player1Letter));
}

void SolveDialog::showGameOver(const QString& text) { showEnd(text); }

void SolveDialog::showEnd(const QString& verdict) {
    ended_ = true;
    busy_->hide();
    outcome_->setText(verdict);
    buttons_->setStandardButtons(QDialogButtonBox::Close);
}

void SolveDialog::keepClearOf(const QRect& window, const QRect& pages, const QList<QRect>& keepVisible) {
    adjustSize();
    const QSize size = frameGeometry().size();
    const QList<QPoint> places{
        {window.right() + CLEARANCE, window.top()},
        {window.left() - CLEARANCE - size.width(), window.top()},
        {pages.left(), pages.bottom() - size.height()},
        {pages.left(), pages.top()},
    };
    const QScreen* shown = screen();
    const QRect room = shown != nullptr ? shown->availableGeometry() : QRect();
    for (const QPoint& place : places) {
        const QRect placed(place, size);
        if (room.isValid() && !room.contains(placed)) continue;
        if (std::any_of(keepVisible.begin(), keepVisible.end(),
                        [&placed](const QRect& area) { return placed.intersects(area); }))
            continue;
        move(place);
        return;
    }
}

void SolveDialog::reject() {
    if (!ended_) {
        emit cancelRequested();
        return;  // the dialog stays to show how the solve ended
    }
    QDialog::reject();
}

}  // namespace vorek
