// Dialogs for tests. Of the AI command: the input box answers a fixed command
// line, every message is recorded, and the number of questions is counted. Of
// opening a folder or a game: the choosers answer a given path, and the error
// boxes are recorded.
#pragma once

#include <QStringList>

#include "app/folder/folder_dialogs.h"
#include "app/ask/opponent_dialogs.h"

namespace vorek::testing {

struct DialogRecord {
    QStringList messages;
    int asked = 0;
};

class ScriptedDialogs final : public OpponentDialogs {
public:
    ScriptedDialogs(QString commandLine, DialogRecord& record)
        : commandLine_(std::move(commandLine)), record_(record) {}
    QString askCommandLine(QWidget*) override {
        ++record_.asked;
        return commandLine_;
    }
    void showMessage(QWidget*, const QString& text) override { record_.messages << text; }

private:
    QString commandLine_;
    DialogRecord& record_;
};

// Both choosers answer `answer` as it is when asked.
class ScriptedFolderDialogs final : public FolderDialogs {
public:
    ScriptedFolderDialogs(const QString& answer, QStringList& errors) : answer_(answer), errors_(errors) {}
    QString chooseFolder(QWidget*, const QString&) override { return answer_; }
    QString chooseGame(QWidget*, const QString&) override { return answer_; }
    void showError(QWidget*, const QString& message) override { errors_ << message; }

private:
    const QString& answer_;
    QStringList& errors_;
};

}  // namespace vorek::testing
