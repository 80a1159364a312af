#pragma once

#include "shared/ui/Dialogs.h"

#include <functional>

namespace Tunewell {

// The desktop's own message boxes and shell actions.
class MessageDialogs : public IDialogs {
public:
    void ShowMessage(QWidget *Parent, const QString &Text) override;
    bool AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) override;
    void ShowError(QWidget *Parent, const QString &Message) override;
    bool OpenAddress(const QString &Address) override;
    void StartNewInstance() override;
    // Runs before a new instance starts: this one gives up what only one instance may hold.
    void BeforeNewInstance(std::function<void()> Step) { BeforeNewInstance_ = std::move(Step); }

private:
    std::function<void()> BeforeNewInstance_;
};

} // namespace Tunewell
