#include "app/solve/solve_settings_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/menu_action.h"

namespace vorek {

namespace {

constexpr std::uint64_t THOUSAND = 1000;
constexpr std::size_t MEGABYTE = std::size_t{1} << 20;
constexpr int MOST_THOUSANDS = 2'000'000;   // two billion nodes
constexpr double MOST_SECONDS = 864000;     // ten days
constexpr int LEAST_MEGABYTES = 64;

}  // namespace

SolveSettingsDialog::SolveSettingsDialog(const SolveSettings& settings, QWidget* window) : QDialog(window) {
    setObjectName(QStringLiteral("SolveSettingsDialog"));
    setWindowTitle(QStringLiteral("Solve Settings"));
    auto* rows = new QFormLayout(this);

    nodes_ = named(new QSpinBox(this), "SolveNodesBudget");
    nodes_->setRange(0, MOST_THOUSANDS);
    nodes_->setSpecialValueText(QStringLiteral("no limit"));
    nodes_->setSuffix(QStringLiteral(" thousand"));
    nodes_->setValue(static_cast<int>(std::min<std::uint64_t>(settings.maxNodes / THOUSAND, MOST_THOUSANDS)));
    rows->addRow(QStringLiteral("Nodes"), nodes_);

    seconds_ = named(new QDoubleSpinBox(this), "SolveSecondsBudget");
    seconds_->setRange(0, MOST_SECONDS);
    seconds_->setDecimals(1);
    seconds_->setSpecialValueText(QStringLiteral("no limit"));
    seconds_->setSuffix(QStringLiteral(" s"));
    seconds_->setValue(settings.maxSeconds);
    rows->addRow(QStringLiteral("Time"), seconds_);

    memory_ = named(new QSpinBox(this), "SolveMemoryBudget");
    const int machine = static_cast<int>(std::min<std::size_t>(defaultSolveMemory() * 4 / MEGABYTE, 1 << 30));
    memory_->setRange(LEAST_MEGABYTES, std::max(machine, LEAST_MEGABYTES));
    memory_->setSuffix(QStringLiteral(" MB"));
    memory_->setValue(static_cast<int>(settings.maxMemoryBytes / MEGABYTE));
    rows->addRow(QStringLiteral("Memory"), memory_);
    auto* defaults = named(new QLabel(QStringLiteral("By default a solve stops after %1 s and within %2 MB, a quarter "
                                                     "of this machine's memory and at most 2048 MB. \"no limit\" "
                                                     "lifts the limit on nodes or time.")
                                          .arg(DEFAULT_SOLVE_SECONDS)
                                          .arg(defaultSolveMemory() / MEGABYTE),
                                      this),
                           "SolveBudgetDefaults");
    defaults->setWordWrap(true);
    rows->addRow(defaults);

    exact_ = named(new QRadioButton(QStringLiteral("Exact: proved only by a forced win"), this), "SolveExact");
    window_ = named(new QRadioButton(QStringLiteral("The tree's rules: estimates, in the tree view"), this),
                    "SolveWindowRules");
    (settings.exact ? exact_ : window_)->setChecked(true);
    auto* rules = new QVBoxLayout;
    rules->addWidget(exact_);
    rules->addWidget(window_);
    rows->addRow(QStringLiteral("Rules"), rules);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    rows->addRow(buttons);
}

SolveSettings SolveSettingsDialog::settings() const {
    SolveSettings settings;
    settings.maxNodes = static_cast<std::uint64_t>(nodes_->value()) * THOUSAND;
    settings.maxSeconds = seconds_->value();
    settings.maxMemoryBytes = static_cast<std::size_t>(memory_->value()) * MEGABYTE;
    settings.exact = exact_->isChecked();
    return settings;
}

}  // namespace vorek
