// The two dialogs of opening a game record: choosing the file and the message
// that it cannot be read. Behind an interface so that tests can answer the
// one and record the other without a modal loop.
#pragma once

#include <QString>

class QWidget;

namespace vorek {

class GameDialogs {
public:
    virtual ~GameDialogs() = default;
    // The file dialog, caption "Open Game", starting in the folder `start`
    // and showing ".psq" files in any case; the chosen file, or the empty
    // text when the user cancels.
    virtual QString chooseGame(QWidget* parent, const QString& start) = 0;
    // A warning with one OK button and the application's title.
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The modal Qt dialogs.
class QtGameDialogs final : public GameDialogs {
public:
    QString chooseGame(QWidget* parent, const QString& start) override;
    void showError(QWidget* parent, const QString& text) override;
};

}  // namespace vorek
