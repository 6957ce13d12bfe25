#include "app/ask/opponent_dialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "app/application.h"

namespace vorek {

namespace {

constexpr int MIN_WIDTH_IN_CHARACTERS = 60;

}  // namespace

// An editable drop-down: a command line asked before is picked, a new one
// typed; the last one asked stands in the text, ready to be asked again or
// typed over.
std::optional<QString> QtOpponentDialogs::askCommandLine(QWidget* parent, const QStringList& recent) {
    QInputDialog box(parent);
    box.setWindowTitle(QStringLiteral("Opponent"));
    box.setLabelText(QStringLiteral("AI program to ask, with its arguments: a name beginning with \"pbrain-\" "
                                    "speaks the stdin/stdout protocol, any other the protocol via files"));
    box.setInputMode(QInputDialog::TextInput);
    box.setComboBoxEditable(true);
    box.setComboBoxItems(recent);
    box.setTextValue(recent.isEmpty() ? QString() : recent.front());
    // Room for a full path, and for the title; the prompt wraps.
    box.setMinimumWidth(box.fontMetrics().averageCharWidth() * MIN_WIDTH_IN_CHARACTERS);
    if (auto* prompt = box.findChild<QLabel*>()) prompt->setWordWrap(true);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

void QtOpponentDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QLatin1String(APPLICATION_TITLE), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vorek
