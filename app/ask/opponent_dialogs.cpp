#include "app/ask/opponent_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

#include "app/application.h"

namespace vorek {

QString QtOpponentDialogs::askCommandLine(QWidget* parent) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        parent, QStringLiteral("Opponent"),
        QStringLiteral("Input AI filename using protocol via files"), QLineEdit::Normal,
        QString(), &accepted);
    return accepted ? text : QString();
}

void QtOpponentDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QLatin1String(APPLICATION_TITLE), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vorek
