// The dialogs of opening a position folder or a game record: choosing the
// folder or the file, and the message that it cannot be opened. Behind an
// interface so that tests can answer the ones and record the other without a
// modal loop.
#pragma once

#include <QString>

class QWidget;

namespace vorek {

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
    // A warning with one OK button and the application's title.
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The modal Qt dialogs.
class QtFolderDialogs final : public FolderDialogs {
public:
    QString chooseFolder(QWidget* parent, const QString& start) override;
    QString chooseGame(QWidget* parent, const QString& start) override;
    void showError(QWidget* parent, const QString& text) override;
};

}  // namespace vorek
