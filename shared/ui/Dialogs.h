#pragma once

class QString;
class QWidget;

namespace Tunewell {

// The messages, questions and shell actions of every window. The program binds the desktop's
// own (MessageDialogs); window tests bind a recorder that answers.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // An information message with an OK button; returns when it is dismissed.
    virtual void ShowMessage(QWidget *Parent, const QString &Text) = 0;
    // A Yes/No box with a question icon; true when the answer is Yes.
    virtual bool AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) = 0;
    // The report of an error that left a handler (the message of the error).
    virtual void ShowError(QWidget *Parent, const QString &Message) = 0;
    // Opens a document or web address with the desktop's default application; false when none did.
    virtual bool OpenAddress(const QString &Address) = 0;
    // Starts a new instance of the program's own executable; the caller then ends this one.
    virtual void StartNewInstance() = 0;
};

} // namespace Tunewell
