#include "app/folder/folder_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/application.h"

namespace vorek {

QString QtFolderDialogs::chooseFolder(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Open Folder"), start);
}

QString QtFolderDialogs::chooseGame(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Game"), start,
                                        QStringLiteral("Game records (*.psq *.PSQ);;All files (*)"));
}

void QtFolderDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QLatin1String(APPLICATION_TITLE), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vorek
