// Dialogs of the AI command for tests: the input box answers a fixed command
// line, every message is recorded, and the number of questions is counted.
#pragma once

#include <QStringList>

#include "app/opponent_dialogs.h"

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

}  // namespace vorek::testing
