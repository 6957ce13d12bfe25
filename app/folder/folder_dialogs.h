// The window's file dialogs: choosing a position folder or a game record to
// open, a file to save a game into or a folder to save a position into,
// whether to save a changed game, and the message that something cannot be
// done. Behind an interface so that tests can answer the ones and record the
// others without a modal loop.
#pragma once

#include <QString>

class QWidget;

namespace vorek {

// The answer to a changed game that is about to be left.
enum class UnsavedChoice { Save, Discard, Cancel };

class FolderDialogs {
public:
    virtual ~FolderDialogs() = default;
    // The folder dialog, caption "Open Folder", starting in `start`; the
    // chosen folder, or the empty text when the user cancels.
    virtual QString chooseFolder(QWidget* parent, const QString& start) = 0;
    // The file dialog, caption "Open Game", starting in the folder `start`
    // and showing ".psq" files in either case; the chosen file, or the empty
    // text when the user cancels.
    virtual QString chooseGame(QWidget* parent, const QString& start) = 0;
    // The file dialog, caption "Save Game As", starting at `start` (a folder,
    // or a file to replace); the chosen file, or the empty text when the
    // user cancels.
    virtual QString chooseGameToSave(QWidget* parent, const QString& start) = 0;
    // The folder dialog, caption "Save Position As", starting in `start`;
    // the chosen folder, or the empty text when the user cancels.
    virtual QString choosePositionFolder(QWidget* parent, const QString& start) = 0;
    // Asks whether to save the changed game before it is left; the text says
    // what is about to happen.
    virtual UnsavedChoice askToSave(QWidget* parent, const QString& text) = 0;
    // A warning with one OK button and the application's title.
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The modal Qt dialogs.
class QtFolderDialogs final : public FolderDialogs {
public:
    QString chooseFolder(QWidget* parent, const QString& start) override;
    QString chooseGame(QWidget* parent, const QString& start) override;
    QString chooseGameToSave(QWidget* parent, const QString& start) override;
    QString choosePositionFolder(QWidget* parent, const QString& start) override;
    UnsavedChoice askToSave(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
};

}  // namespace vorek
