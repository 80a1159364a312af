#pragma once

#include "app/ui/Dialogs.h"

#include <QString>
#include <QStringList>

namespace Tunewell::Testing {

// Answers every dialog at once and keeps what was asked: "message: TEXT", "error: TEXT",
// "open: ADDRESS", "restart".
class RecordingDialogs : public IDialogs {
public:
    void ShowMessage(QWidget *, const QString &Text) override { Seen << "message: " + Text; }
    bool AskYesNo(QWidget *, const QString &Text, const QString &) override {
        Seen << "ask: " + Text;
        return YesAnswer;
    }
    void ShowError(QWidget *, const QString &Message) override { Seen << "error: " + Message; }
    bool OpenAddress(const QString &Address) override {
        Seen << "open: " + Address;
        return AddressOpens;
    }
    void RestartProgram() override { Seen << QStringLiteral("restart"); }

    QStringList Seen;
    bool YesAnswer = false;
    bool AddressOpens = true;
};

} // namespace Tunewell::Testing
