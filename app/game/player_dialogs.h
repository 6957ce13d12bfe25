// The dialog of "AI Plays x" and "AI Plays o": the program that is to play
// the letter and its time for each move. Behind an interface so that tests
// can answer it without a modal loop.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace vorek {

struct AiChoice {
    QString commandLine;  // as typed: the program and its arguments
    int milliseconds;     // for each move
};

class PlayerDialogs {
public:
    virtual ~PlayerDialogs() = default;
    // Asks which program plays `letter` and with how much time a move,
    // offering the command lines asked last (most recent first, the first
    // in its text) and `milliseconds`; nullopt when the user cancels.
    virtual std::optional<AiChoice> choosePlayer(QWidget* parent, char letter, const QStringList& recent,
                                                 int milliseconds) = 0;
};

// The modal Qt dialog.
class QtPlayerDialogs final : public PlayerDialogs {
public:
    std::optional<AiChoice> choosePlayer(QWidget* parent, char letter, const QStringList& recent,
                                         int milliseconds) override;
};

}  // namespace vorek
