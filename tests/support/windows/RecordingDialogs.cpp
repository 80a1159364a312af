#include "RecordingDialogs.h"

namespace Tunewell::Testing {

void RecordingDialogs::ShowMessage(QWidget *, const QString &Text) {
    Entries.push_back({Kind::Message, Text, {}});
}

bool RecordingDialogs::AskYesNo(QWidget *, const QString &Text, const QString &Caption) {
    Entries.push_back({Kind::Question, Text, Caption});
    if (WhileAsking)
        WhileAsking();
    return AnswerYes;
}

void RecordingDialogs::ShowError(QWidget *, const QString &Message) {
    Entries.push_back({Kind::Error, Message, {}});
}

bool RecordingDialogs::OpenAddress(const QString &Address) {
    Entries.push_back({Kind::OpenAddress, Address, {}});
    return true;
}

void RecordingDialogs::StartNewInstance() {
    Entries.push_back({Kind::Restart, {}, {}});
}

std::vector<QString> RecordingDialogs::Texts(Kind What) const {
    std::vector<QString> texts;
    for (const auto &entry : Entries)
        if (entry.What == What)
            texts.push_back(entry.Text);
    return texts;
}

} // namespace Tunewell::Testing
