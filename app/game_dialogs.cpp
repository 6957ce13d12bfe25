#include "app/game_dialogs.h"

#include <QFileDialog>

#include "app/folder_dialogs.h"

namespace vorek {

QString QtGameDialogs::chooseGame(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Game"), start,
                                        QStringLiteral("Game records (*.psq *.PSQ);;All files (*)"));
}

void QtGameDialogs::showError(QWidget* parent, const QString& text) {
    QtFolderDialogs().showError(parent, text);
}

}  // namespace vorek
