#include "app/ask/opponent_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

#include "app/application.h"

namespace vorek {

namespace {

constexpr int MIN_WIDTH_IN_CHARACTERS = 60;

}  // namespace

// An editable drop-down: a command line asked before is picked, a new one
// typed, and the text starts empty either way.
std::optional<QString> QtOpponentDialogs::askCommandLine(QWidget* parent, const QStringList& recent) {
    QInputDialog box(parent);
    box.setWindowTitle(QStringLiteral("Opponent"));
    box.setLabelText(QStringLiteral("Input AI filename using protocol via files"));
    box.setInputMode(QInputDialog::TextInput);
    box.setComboBoxEditable(true);
    box.setComboBoxItems(recent);
    box.setTextValue(QString());
    // Room for a full path, and for the title.
    box.setMinimumWidth(box.fontMetrics().averageCharWidth() * MIN_WIDTH_IN_CHARACTERS);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

void QtOpponentDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QLatin1String(APPLICATION_TITLE), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vorek
