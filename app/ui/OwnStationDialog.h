#pragma once

#include "app/core/OwnStation.h"
#include "app/stationtrial/StationTrialResult.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Tunewell {

// Stations → Add own station… and Edit own station…: name, address, style and location, within
// what the cloud keeps. Save tries the address first, off the UI thread, and shows what answered:
// a station that answers with audio is saved at once; after any other answer the listener may
// still save it ("Save anyway"), a station being down today.
class OwnStationDialog : public QDialog {
    Q_OBJECT
public:
    // Tries an address (blocking; run off the UI thread).
    using Trial = std::function<TStationTrialResult(const std::string &Url)>;
    // The station as typed when saved (its key and serie those of Initial); none when cancelled.
    using Ask = std::function<std::optional<TOwnStation>(QWidget *Parent, const TOwnStation &Initial)>;
    static std::optional<TOwnStation> AskWithDialog(QWidget *Parent, const TOwnStation &Initial);

    // Editing when Initial has a key; adding otherwise.
    OwnStationDialog(const TOwnStation &Initial, Trial Try, QWidget *Parent);

    // What the fields hold, trimmed and cut; the key and serie of Initial.
    TOwnStation Station() const;

    QLineEdit *NameField = nullptr;
    QLineEdit *AddressField = nullptr;
    QLineEdit *StyleField = nullptr;
    QLineEdit *LocationField = nullptr;
    // What is wrong with the fields, or what the address answered.
    QLabel *ResultLabel = nullptr;
    QPushButton *TryButton = nullptr;
    QPushButton *SaveButton = nullptr;

signals:
    // A trial ended and its result is shown.
    void Tried();

private:
    // Starts the trial of the address in the field; false (and why, shown) when it is no address.
    bool StartTrial(bool ThenSave);
    void TrialEnded(const std::string &Url, const TStationTrialResult &Result, bool ThenSave);
    void Save();
    void ShowProblem(const QString &Text);

    TOwnStation Initial_;
    Trial Try_;
    // The address last tried; saving it again needs no second trial.
    std::string TriedUrl_;
    bool Trying_ = false;
    // Where the focus was when the trial began.
    QPointer<QWidget> FocusBeforeTrial_;
};

} // namespace Tunewell
