#include "RecordingDialogs.h"

#include "BenchFigures.h"

#include <QString>

namespace TunewellBench {

void RecordingDialogs::ShowMessage(QWidget *, const QString &Text) {
    Record("message", Text);
}

bool RecordingDialogs::AskYesNo(QWidget *, const QString &Text, const QString &) {
    Record("question", Text);
    return false;
}

void RecordingDialogs::ShowError(QWidget *, const QString &Message) {
    Record("error", Message);
}

bool RecordingDialogs::OpenAddress(const QString &) {
    return false;
}

void RecordingDialogs::StartNewInstance() {}

void RecordingDialogs::Record(const char *Kind, const QString &Text) {
    Figures_.Set("boxes", ++Boxes_);
    if (Boxes_ == 1)
        Figures_.Set("first box", std::string(Kind) + ": " + Text.toStdString());
}

} // namespace TunewellBench
