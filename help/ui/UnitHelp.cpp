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
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));

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
    connect(BtListaRadios, &QPushButton::clicked, this, Guarded([this] { BtListaRadiosClick(); }));
    connect(btAlterar, &QPushButton::clicked, this, Guarded([this] { btAlterarClick(); }));

    fLog = std::make_unique<MemoLog>(*memRTDB);
    fCloud = std::make_unique<WindowCloud>(*fLog, WindowCloudRole::Other, Environment.CloudClients,
                                           Environment.CloudSettings);
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::BitBtn1Click() {
    close();
}

void TFormHelp::btAlterarClick() {
    const auto SignIn = fCloud->SignInIfNeeded();
    if (SignIn.Ran && !SignIn.Succeeded) {
        fDialogs.ShowMessage(this, QStringLiteral("Algo deu errado!"));
        return;
    }
    PublishVersion(*fCloud, EditVersao->text().toStdString(), EditUrl->text().toStdString());
}

void TFormHelp::BtListaRadiosClick() {
    std::optional<PublishCatalogue> Catalogue;
    try {
        Catalogue.emplace(PublishCatalogue::FromFile(QString::fromLatin1(kStationListFile), fKeys));
    } catch (const std::exception &Error) {
        fDialogs.ShowError(this, QString::fromStdString(Error.what()));
        return;
    }
    if (fCloud->Authenticated())
        fDialogs.ShowMessage(this, QStringLiteral("esta conectado"));
    else
        fCloud->SignIn();
    if (!fCloud->CheckAndCreateRealTimeDBClass())
        return;
    fLog->Clear();
    Catalogue->Write(*fCloud);
}

} // namespace Tunewell
