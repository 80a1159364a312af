#include "app/ui/OwnStationDialog.h"

#include "app/core/OwnStationInput.h"
#include "app/stationtrial/StationTrial.h"
#include "app/stationtrial/StationTrialText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace Tunewell {

namespace {
const QString kSave = QStringLiteral("Save / Salvar");
const QString kSaveAnyway = QStringLiteral("Save anyway / Salvar assim mesmo");
const QString kTrying = QStringLiteral("Trying the address\u2026 / Testando o endere\u00E7o\u2026");

QLineEdit *Field(QWidget *Parent, const char *Name, const std::string &Text, int Limit,
                 const QString &Accessible) {
    auto *field = new QLineEdit(QString::fromStdString(Text), Parent);
    field->setObjectName(QString::fromLatin1(Name));
    field->setMaxLength(Limit);
    field->setAccessibleName(Accessible);
    return field;
}

std::string Typed(const QLineEdit *Field) {
    return Field->text().toStdString();
}
} // namespace

std::optional<TOwnStation> OwnStationDialog::AskWithDialog(QWidget *Parent, const TOwnStation &Initial) {
    OwnStationDialog dialog(
        Initial, [](const std::string &Url) { return TryStationAddress(Url); }, Parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Station();
}

OwnStationDialog::OwnStationDialog(const TOwnStation &Initial, Trial Try, QWidget *Parent)
    : QDialog(Parent), Initial_(Initial), Try_(std::move(Try)) {
    setObjectName(QStringLiteral("OwnStationDialog"));
    setWindowTitle(Initial.Key.empty() ? QStringLiteral("Add own station / Adicionar esta\u00E7\u00E3o sua")
                                       : QStringLiteral("Edit own station / Editar esta\u00E7\u00E3o sua"));
    // The cloud's limits, in characters.
    NameField = Field(this, "EdtOwnName", Initial.Nome, 150, QStringLiteral("Name / Nome"));
    AddressField = Field(this, "EdtOwnAddress", Initial.Url, 200, QStringLiteral("Address / Endere\u00E7o"));
    AddressField->setPlaceholderText(QStringLiteral("https://"));
    StyleField = Field(this, "EdtOwnStyle", Initial.Estilo, 30, QStringLiteral("Style / Estilo"));
    LocationField = Field(this, "EdtOwnLocation", Initial.Localizacao, 30,
                          QStringLiteral("Location / Localiza\u00E7\u00E3o"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Name / Nome:"), NameField);
    form->addRow(QStringLiteral("Address / Endere\u00E7o:"), AddressField);
    form->addRow(QStringLiteral("Style / Estilo:"), StyleField);
    form->addRow(QStringLiteral("Location / Localiza\u00E7\u00E3o:"), LocationField);

    ResultLabel = new QLabel(this);
    ResultLabel->setObjectName(QStringLiteral("LblOwnResult"));
    ResultLabel->setWordWrap(true);
    ResultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(this);
    TryButton = buttons->addButton(QStringLiteral("Try / Testar"), QDialogButtonBox::ActionRole);
    TryButton->setObjectName(QStringLiteral("BtnOwnTry"));
    SaveButton = buttons->addButton(kSave, QDialogButtonBox::AcceptRole);
    SaveButton->setObjectName(QStringLiteral("BtnOwnSave"));
    SaveButton->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Cancel / Cancelar"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BtnOwnCancel"));
    // Enter always saves, whichever button has the focus: a focused Cancel taking it (as it has
    // the focus while a trial disables the others) would lose what was typed. Space presses them.
    TryButton->setAutoDefault(false);
    cancel->setAutoDefault(false);
    // Save decides itself when the dialog closes.
    disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr);
    connect(SaveButton, &QPushButton::clicked, this, [this] { Save(); });
    connect(TryButton, &QPushButton::clicked, this, [this] { StartTrial(false); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A new address has not been tried.
    connect(AddressField, &QLineEdit::textChanged, this, [this] {
        TriedUrl_.clear();
        SaveButton->setText(kSave);
    });

    auto *rows = new QVBoxLayout(this);
    rows->addLayout(form);
    rows->addWidget(ResultLabel);
    rows->addWidget(buttons);
    setMinimumWidth(460);
}

TOwnStation OwnStationDialog::Station() const {
    TOwnStation station =
        OwnStationFromInput(Typed(NameField), Typed(AddressField), Typed(StyleField), Typed(LocationField));
    station.Key = Initial_.Key;
    station.Serie = Initial_.Serie;
    return station;
}

void OwnStationDialog::ShowProblem(const QString &Text) {
    ResultLabel->setText(Text);
}

void OwnStationDialog::Save() {
    if (Trying_)
        return;
    const TOwnStation station = Station();
    if (const std::string problem = OwnStationInputProblem(station); !problem.empty()) {
        ShowProblem(QString::fromStdString(problem));
        return;
    }
    // Tried already, whatever it answered: the listener saves it knowing that.
    if (station.Url == TriedUrl_) {
        accept();
        return;
    }
    StartTrial(true);
}

bool OwnStationDialog::StartTrial(bool ThenSave) {
    if (Trying_)
        return false;
    const std::string url = Station().Url;
    if (const std::string problem = StreamAddressProblem(url); !problem.empty()) {
        ShowProblem(QString::fromStdString(problem));
        return false;
    }
    Trying_ = true;
    FocusBeforeTrial_ = focusWidget();
    TryButton->setEnabled(false);
    SaveButton->setEnabled(false);
    AddressField->setReadOnly(true);
    ResultLabel->setText(kTrying);
    auto *watcher = new QFutureWatcher<TStationTrialResult>(this);
    connect(watcher, &QFutureWatcher<TStationTrialResult>::finished, this, [this, watcher, url, ThenSave] {
        watcher->deleteLater();
        TrialEnded(url, watcher->result(), ThenSave);
    });
    watcher->setFuture(QtConcurrent::run([Try = Try_, url] { return Try(url); }));
    return true;
}

void OwnStationDialog::TrialEnded(const std::string &Url, const TStationTrialResult &Result, bool ThenSave) {
    Trying_ = false;
    TryButton->setEnabled(true);
    SaveButton->setEnabled(true);
    AddressField->setReadOnly(false);
    // Disabling the focused button moved the focus on; it goes back.
    if (FocusBeforeTrial_)
        FocusBeforeTrial_->setFocus();
    TriedUrl_ = Url;
    ResultLabel->setText(QString::fromStdString(StationTrialText(Result, kStationTrialBound)));
    const bool answers = Result.Outcome == TStationTrialResult::TOutcome::Answers;
    SaveButton->setText(answers ? kSave : kSaveAnyway);
    emit Tried();
    if (ThenSave && answers)
        accept();
}

} // namespace Tunewell
