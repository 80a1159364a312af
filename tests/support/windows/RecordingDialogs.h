#pragma once

#include "shared/ui/Dialogs.h"

#include <QString>
#include <functional>
#include <vector>

namespace Tunewell::Testing {

// Stands in for the desktop's dialogs in window tests: records what the windows showed and
// asked, and answers the Yes/No box as told.
class RecordingDialogs : public IDialogs {
public:
    enum class Kind { Message, Question, Error, OpenAddress, Restart };
    struct Entry {
        Kind What;
        QString Text;
        QString Caption;
    };

    void ShowMessage(QWidget *Parent, const QString &Text) override;
    bool AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) override;
    void ShowError(QWidget *Parent, const QString &Message) override;
    bool OpenAddress(const QString &Address) override;
    void StartNewInstance() override;

    // The texts of the entries of one kind, in order.
    std::vector<QString> Texts(Kind What) const;

    std::vector<Entry> Entries;
    // The answer to every Yes/No box.
    bool AnswerYes = false;
    // Runs while a Yes/No box is open, as other events may.
    std::function<void()> WhileAsking;
};

} // namespace Tunewell::Testing
