#include "help/ui/UnitHelp.h"

#include "Tunewell/BuildValues.h"
#include "help/core/HelpText.h"
#include "help/publish/PublishCatalogue.h"
#include "help/publish/PublishVersion.h"
#include "shared/core/SettingsFile.h"
#include "shared/ui/ChildWindowLayout.h"
#include "shared/ui/GeneralErrorDisplay.h"
#include "shared/ui/MemoLog.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

namespace Tunewell {

namespace {

QString HelpText() {
    QFile File(QStringLiteral(":/help/help-text.txt"));
    File.open(QIODevice::ReadOnly);
    return FillHelpText(QString::fromUtf8(File.readAll()), {SettingsStoreLocation(QStringLiteral("Firebase")),
                                                            QString::fromLatin1(BuildValues::kMakerSite),
                                                            QString::fromLatin1(BuildValues::kMakerContact)});
}

} // namespace

TFormHelp::TFormHelp(const WindowEnvironment &Environment, QWidget *Parent)
    : QDialog(Parent), fDialogs(Environment.Dialogs) {
    using namespace ChildWindowLayout;
    Panel1 = SetUp(*this, QStringLiteral("FormHelp"));

    Memo1 = new QPlainTextEdit(HelpText(), Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(2, 0, 717, 288);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn1 = AddCloseButton(Panel1, QStringLiteral("BitBtn1"), 594, 295, 118, 40);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunHandlerTask(BitBtn1Click()); });

    // The maintainer's panel: created hidden, and nothing in the program shows it.
    PanelPublish = new QFrame(Panel1);
    PanelPublish->setObjectName(QStringLiteral("PanelPublish"));
    PanelPublish->setFrameShape(QFrame::StyledPanel);
    PanelPublish->setGeometry(138, 16, 463, 273);
    PanelPublish->setVisible(false);
    BtListaRadios = AddButton(PanelPublish, QStringLiteral("BtListaRadios"),
                              QStringLiteral("Envia Lista de Rádios "), {16, 15, 129, 25});
    Label1 = AddLabel(PanelPublish, QStringLiteral("Label1"), QStringLiteral("Versão"), 16, 61);
    EditVersao = AddEdit(PanelPublish, QStringLiteral("EditVersao"), {16, 80, 49, 21});
    Label2 = AddLabel(PanelPublish, QStringLiteral("Label2"), QStringLiteral("URL"), 71, 61);
    EditUrl = AddEdit(PanelPublish, QStringLiteral("EditUrl"), {71, 80, 378, 21});
    btAlterar =
        AddButton(PanelPublish, QStringLiteral("btAlterar"), QStringLiteral("Versao"), {16, 107, 129, 25});
    memRTDB = new QPlainTextEdit(QStringLiteral("memRTDB"), PanelPublish);
    memRTDB->setObjectName(QStringLiteral("memRTDB"));
    memRTDB->setGeometry(16, 146, 281, 111);
    memRTDB->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(BtListaRadios, &QPushButton::clicked, this, [this] { RunHandlerTask(BtListaRadiosClick()); });
    connect(btAlterar, &QPushButton::clicked, this, [this] { RunHandlerTask(btAlterarClick()); });

    fLog = std::make_unique<MemoLog>(*memRTDB);
    fSteps = std::make_unique<WindowCloudSteps>(*fLog, WindowCloudRole::Other, Environment.CloudClients,
                                                Environment.CloudSettings);
}

TFormHelp::~TFormHelp() = default;

QCoro::Task<> TFormHelp::BitBtn1Click() {
    if (fClosing)
        co_return;
    fClosing = true;
    // A publishing under way ends first: the window's steps never outlive it.
    const CloudTurn Turn = co_await fSteps->Sequencer().LastTurn();
    fClosed = true;
    close();
}

void TFormHelp::reject() {
    if (fClosed)
        QDialog::reject();
    else
        RunHandlerTask(BitBtn1Click());
}

QCoro::Task<> TFormHelp::btAlterarClick() {
    const CloudTurn Turn = co_await fSteps->Sequencer().NextTurn();
    Turn.CheckMayGoOn();
    const auto SignIn = co_await fSteps->Run(Turn, [](WindowCloud &Cloud) { return Cloud.SignInIfNeeded(); });
    if (SignIn.Ran && !SignIn.Succeeded) {
        fDialogs.ShowMessage(this, QStringLiteral("Algo deu errado!"));
        co_return;
    }
    const std::string Software = EditVersao->text().toStdString();
    const std::string Url = EditUrl->text().toStdString();
    co_await fSteps->Run(Turn,
                         [&Software, &Url](WindowCloud &Cloud) { PublishVersion(Cloud, Software, Url); });
}

QCoro::Task<> TFormHelp::BtListaRadiosClick() {
    std::optional<PublishCatalogue> Catalogue;
    try {
        Catalogue.emplace(PublishCatalogue::FromFile(QString::fromLatin1(kStationListFile), fKeys));
    } catch (const std::exception &Error) {
        fDialogs.ShowError(this, QString::fromStdString(Error.what()));
        co_return;
    }
    const CloudTurn Turn = co_await fSteps->Sequencer().NextTurn();
    Turn.CheckMayGoOn();
    if (Cloud().Authenticated())
        fDialogs.ShowMessage(this, QStringLiteral("esta conectado"));
    else
        co_await fSteps->Run(Turn, [](WindowCloud &Cloud) { Cloud.SignIn(); });
    if (!Cloud().CheckAndCreateRealTimeDBClass())
        co_return;
    fLog->Clear();
    // Every station is one write: the whole list goes in one step off the UI thread.
    co_await fSteps->Run(Turn, [&Catalogue](WindowCloud &Cloud) { Catalogue->Write(Cloud); });
}

} // namespace Tunewell
