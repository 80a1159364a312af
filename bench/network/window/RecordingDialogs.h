#pragma once

#include "shared/ui/Dialogs.h"

namespace TunewellBench {

class BenchFigures;

// The program's dialogs as a listener would meet them, without waiting for one: each message,
// question and error report is counted and the first one's text kept as figures ("boxes",
// "first box"); questions are answered No, and nothing is opened or started.
class RecordingDialogs : public Tunewell::IDialogs {
public:
    explicit RecordingDialogs(BenchFigures &Figures) : Figures_(Figures) {}

    void ShowMessage(QWidget *Parent, const QString &Text) override;
    bool AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) override;
    void ShowError(QWidget *Parent, const QString &Message) override;
    bool OpenAddress(const QString &Address) override;
    void StartNewInstance() override;

private:
    void Record(const char *Kind, const QString &Text);

    BenchFigures &Figures_;
    long long Boxes_ = 0;
};

} // namespace TunewellBench
