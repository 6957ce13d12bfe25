#include "app/game/player_dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>

#include "app/menu_action.h"

namespace vorek {

namespace {

constexpr int MIN_WIDTH_IN_CHARACTERS = 60;
constexpr double LEAST_SECONDS = 0.1;
constexpr double MOST_SECONDS = 3600;

}  // namespace

std::optional<AiChoice> QtPlayerDialogs::choosePlayer(QWidget* parent, char letter, const QStringList& recent,
                                                      int milliseconds) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("AiPlayerDialog"));
    dialog.setWindowTitle(QStringLiteral("AI Plays %1").arg(QLatin1Char(letter)));
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * MIN_WIDTH_IN_CHARACTERS);
    auto* rows = new QFormLayout(&dialog);
    auto* prompt = new QLabel(QStringLiteral("The AI program that plays %1, with its arguments: a name beginning with "
                                             "\"pbrain-\" speaks the stdin/stdout protocol and keeps running between "
                                             "moves, any other the protocol via files.")
                                  .arg(QLatin1Char(letter)),
                              &dialog);
    prompt->setWordWrap(true);
    rows->addRow(prompt);
    auto* program = named(new QComboBox(&dialog), "AiProgram");
    program->setEditable(true);
    program->addItems(recent);
    program->setCurrentText(recent.isEmpty() ? QString() : recent.front());
    rows->addRow(QStringLiteral("&Program"), program);
    auto* seconds = named(new QDoubleSpinBox(&dialog), "AiSeconds");
    seconds->setRange(LEAST_SECONDS, MOST_SECONDS);
    seconds->setDecimals(1);
    seconds->setSuffix(QStringLiteral(" s"));
    seconds->setValue(milliseconds / 1000.0);
    rows->addRow(QStringLiteral("&Time for each move"), seconds);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    rows->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || program->currentText().trimmed().isEmpty()) return std::nullopt;
    return AiChoice{program->currentText(), static_cast<int>(seconds->value() * 1000 + 0.5)};
}

}  // namespace vorek
