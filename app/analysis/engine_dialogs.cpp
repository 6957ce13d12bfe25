#include "app/analysis/engine_dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

#include "app/menu_action.h"

namespace vorek {

namespace {

constexpr int MIN_WIDTH_IN_CHARACTERS = 60;
constexpr double LEAST_SECONDS = 0.1;

// The program chosen now first, then the others asked last.
QStringList programs(const AnalysisSettings& now, const QStringList& recent) {
    QStringList list = recent;
    if (!now.commandLine.isEmpty()) {
        list.removeAll(now.commandLine);
        list.prepend(now.commandLine);
    }
    return list;
}

}  // namespace

std::optional<AnalysisSettings> QtEngineDialogs::chooseEngine(QWidget* parent, const AnalysisSettings& now,
                                                               const QStringList& recent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("EngineDialog"));
    dialog.setWindowTitle(QStringLiteral("Engine Settings"));
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * MIN_WIDTH_IN_CHARACTERS);
    auto* rows = new QFormLayout(&dialog);
    auto* prompt = new QLabel(QStringLiteral("The engine that analyses the position shown, with its arguments: a "
                                             "program that speaks the stdin/stdout protocol. It is started in the "
                                             "window's folder and kept running while F5 is on."),
                              &dialog);
    prompt->setWordWrap(true);
    rows->addRow(prompt);
    auto* program = named(new QComboBox(&dialog), "EngineProgram");
    program->setEditable(true);
    const QStringList offered = programs(now, recent);
    program->addItems(offered);
    program->setCurrentText(offered.isEmpty() ? QString() : offered.front());
    rows->addRow(QStringLiteral("&Program"), program);
    auto* seconds = named(new QDoubleSpinBox(&dialog), "EngineSeconds");
    // The least value stands for an infinite think.
    seconds->setRange(0, MOST_ANALYSIS_MILLISECONDS / 1000.0);
    seconds->setDecimals(1);
    seconds->setSpecialValueText(QStringLiteral("infinite"));
    seconds->setSuffix(QStringLiteral(" s"));
    seconds->setValue(now.milliseconds / 1000.0);
    rows->addRow(QStringLiteral("&Time for each position"), seconds);
    auto* lines = named(new QSpinBox(&dialog), "EngineLines");
    lines->setRange(1, MOST_ANALYSIS_LINES);
    lines->setValue(now.lines);
    rows->addRow(QStringLiteral("Best &lines"), lines);
    auto* note = new QLabel(QStringLiteral("\"infinite\": the engine thinks until the position shown changes or the "
                                           "analysis stops (F5 or Escape)."),
                            &dialog);
    note->setWordWrap(true);
    rows->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    rows->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || program->currentText().trimmed().isEmpty()) return std::nullopt;
    AnalysisSettings chosen;
    chosen.commandLine = program->currentText().trimmed();
    // Below a tenth of a second, but not zero: the least think there is.
    const double value = seconds->value();
    chosen.milliseconds = value <= 0 ? 0 : static_cast<int>(std::max(value, LEAST_SECONDS) * 1000 + 0.5);
    chosen.lines = lines->value();
    return chosen;
}

}  // namespace vorek
