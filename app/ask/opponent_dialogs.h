// The two dialogs of asking an AI for a move: the input box for its command
// line and the message box for a failure. Behind an interface so that tests
// can answer the one and record the other without a modal loop.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace vorek {

class OpponentDialogs {
public:
    virtual ~OpponentDialogs() = default;
    // The input box: caption "Opponent", a prompt naming both protocols,
    // the command lines asked last (most recent first) in its drop-down and
    // the most recent one in its text, selected. Nullopt when the user cancels.
    virtual std::optional<QString> askCommandLine(QWidget* parent, const QStringList& recent) = 0;
    // A plain message: no icon, one OK button, the application's title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
};

// The modal Qt dialogs.
class QtOpponentDialogs final : public OpponentDialogs {
public:
    std::optional<QString> askCommandLine(QWidget* parent, const QStringList& recent) override;
    void showMessage(QWidget* parent, const QString& text) override;
};

}  // namespace vorek
