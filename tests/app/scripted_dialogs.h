// Dialogs for tests. Of the AI command: the input box answers a fixed command
// line (a null text: cancelled), every message is recorded, and the number of
// questions and the command lines last offered are kept. Of
// opening a folder or a game: the choosers answer a given path, and the error
// boxes are recorded.
#pragma once

#include <QStringList>

#include "app/folder/folder_dialogs.h"
#include "app/ask/opponent_dialogs.h"
#include "app/game/player_dialogs.h"

namespace vorek::testing {

struct DialogRecord {
    QStringList messages;
    int asked = 0;
    QStringList offered;  // the drop-down of the last question
};

class ScriptedDialogs final : public OpponentDialogs {
public:
    ScriptedDialogs(QString commandLine, DialogRecord& record)
        : commandLine_(std::move(commandLine)), record_(record) {}
    std::optional<QString> askCommandLine(QWidget*, const QStringList& recent) override {
        ++record_.asked;
        record_.offered = recent;
        if (commandLine_.isNull()) return std::nullopt;
        return commandLine_;
    }
    void showMessage(QWidget*, const QString& text) override { record_.messages << text; }

private:
    QString commandLine_;
    DialogRecord& record_;
};

// Every chooser answers `answer` as it is when asked; the question about a
// changed game is answered `unsaved` and recorded in `asked`.
class ScriptedFolderDialogs final : public FolderDialogs {
public:
    ScriptedFolderDialogs(const QString& answer, QStringList& errors) : answer_(answer), errors_(errors) {}
    QString chooseFolder(QWidget*, const QString&) override { return answer_; }
    QString chooseGame(QWidget*, const QString&) override { return answer_; }
    QString chooseGameToSave(QWidget*, const QString&) override { return answer_; }
    QString choosePositionFolder(QWidget*, const QString&) override { return answer_; }
    UnsavedChoice askToSave(QWidget*, const QString& text) override {
        asked << text;
        return unsaved;
    }
    void showError(QWidget*, const QString& message) override { errors_ << message; }

    UnsavedChoice unsaved = UnsavedChoice::Cancel;
    QStringList asked;

private:
    const QString& answer_;
    QStringList& errors_;
};

// "AI Plays x" and "AI Plays o" answered with a fixed choice (nullopt: cancelled).
class ScriptedPlayerDialogs final : public PlayerDialogs {
public:
    explicit ScriptedPlayerDialogs(std::optional<AiChoice> choice) : choice_(std::move(choice)) {}
    std::optional<AiChoice> choosePlayer(QWidget*, char, const QStringList&, int) override { return choice_; }

private:
    std::optional<AiChoice> choice_;
};

}  // namespace vorek::testing
