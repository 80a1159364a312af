#pragma once

#include "shared/ui/Dialogs.h"

namespace Tunewell {

// The desktop's own message boxes and shell actions.
class MessageDialogs : public IDialogs {
public:
    void ShowMessage(QWidget *Parent, const QString &Text) override;
    bool AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) override;
    void ShowError(QWidget *Parent, const QString &Message) override;
    bool OpenAddress(const QString &Address) override;
    void StartNewInstance() override;
};

} // namespace Tunewell
