#include "app/folder/folder_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/application.h"

namespace vorek {

namespace {

const QString GAME_FILTER = QStringLiteral("Game records (*.psq *.PSQ);;All files (*)");

}  // namespace

QString QtFolderDialogs::chooseFolder(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Open Folder"), start);
}

QString QtFolderDialogs::chooseGame(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Game"), start, GAME_FILTER);
}

// A name typed without an extension gets ".psq".
QString QtFolderDialogs::chooseGameToSave(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QStringLiteral("Save Game As"), start, GAME_FILTER);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("psq"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

QString QtFolderDialogs::choosePositionFolder(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Save Position As"), start);
}

UnsavedChoice QtFolderDialogs::askToSave(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QLatin1String(APPLICATION_TITLE), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save: return UnsavedChoice::Save;
        case QMessageBox::Discard: return UnsavedChoice::Discard;
        default: return UnsavedChoice::Cancel;
    }
}

void QtFolderDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QLatin1String(APPLICATION_TITLE), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vorek
