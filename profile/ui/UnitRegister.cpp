#include "profile/ui/UnitRegister.h"

#include "Tunewell/BuildValues.h"
#include "profile/core/Birthday.h"
#include "profile/ui/ProfileLog.h"
#include "shared/core/MacAddress.h"
#include "shared/core/Registro.h"
#include "shared/ui/ChildWindowLayout.h"
#include "shared/ui/GeneralErrorDisplay.h"
#include "shared/ui/GrowToText.h"
#include "shared/ui/WindowFont.h"

#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

namespace Tunewell {

namespace {

// Keeps an edit's text in one letter case, whatever is typed or pasted.
void KeepCase(QLineEdit *Edit, QString (QString::*Convert)() const &) {
    QObject::connect(Edit, &QLineEdit::textChanged, Edit, [Edit, Convert](const QString &Text) {
        const auto Converted = (Text.*Convert)();
        if (Converted == Text)
            return;
        const auto Cursor = Edit->cursorPosition();
        Edit->setText(Converted);
        Edit->setCursorPosition(Cursor);
    });
}

QLabel *AddLinkLabel(QWidget *Parent, const QString &ObjectName, const QString &Text, const QRect &Geometry) {
    auto *Label = new QLabel(Text, Parent);
    Label->setObjectName(ObjectName);
    Label->setGeometry(Geometry);
    Label->setFont(WindowFont(12, true));
    auto Palette = Label->palette();
    Palette.setColor(QPalette::WindowText, QColor(Qt::darkBlue));
    Label->setPalette(Palette);
    Label->setCursor(Qt::PointingHandCursor);
    GrowToText(*Label);
    return Label;
}

} // namespace

TFormRegister::TFormRegister(const WindowEnvironment &Environment, TCurrentSerie CurrentSerie,
                             QWidget *Parent)
    : QDialog(Parent), AdapterAddress(&getMacAddress), DateFormat(&UserShortDateFormat),
      fDialogs(Environment.Dialogs), fCurrentSerie(std::move(CurrentSerie)) {
    CreateControls();
    fLog = std::make_unique<ProfileLog>(*memRTDB);
    fSteps = std::make_unique<WindowCloudSteps>(*fLog, WindowCloudRole::Other, Environment.CloudClients,
                                                Environment.CloudSettings);
}

TFormRegister::~TFormRegister() = default;

void TFormRegister::CreateControls() {
    using namespace ChildWindowLayout;
    Panel1 = SetUp(*this, QStringLiteral("FormRegister"));
    Label7 = new QLabel(QStringLiteral("Register / Registro"), Panel1);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setFont(WindowFont(12, true));
    Label7->setGeometry(48, 11, 157, 19);
    Label1 = AddLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("Name / Nome"), 48, 48);
    EditNome = AddEdit(Panel1, QStringLiteral("EditNome"), {48, 67, 242, 21});
    Label2 = AddLabel(Panel1, QStringLiteral("Label2"), QStringLiteral("Last Name / Sobrenome"), 296, 48);
    EditSobrenome = AddEdit(Panel1, QStringLiteral("EditSobrenome"), {296, 67, 232, 21});
    Label3 = AddLabel(Panel1, QStringLiteral("Label3"), QStringLiteral("E-mail"), 48, 98);
    EditEmail = AddEdit(Panel1, QStringLiteral("EditEmail"), {48, 117, 353, 21});
    Label4 = AddLabel(Panel1, QStringLiteral("Label4"), QStringLiteral("Birthday / Aniversário"), 424, 98);
    MaskEdit1 = AddEdit(Panel1, QStringLiteral("MaskEdit1"), {424, 117, 104, 21});
    MaskEdit1->installEventFilter(this);
    Label5 = AddLabel(Panel1, QStringLiteral("Label5"), QStringLiteral("Country / País"), 48, 152);
    EditPais = AddEdit(Panel1, QStringLiteral("EditPais"), {48, 171, 193, 21});
    Label6 =
        AddLabel(Panel1, QStringLiteral("Label6"), QStringLiteral("State / Provincy / Estado"), 247, 152);
    EditEstado = AddEdit(Panel1, QStringLiteral("EditEstado"), {247, 171, 281, 21});
    for (auto *Edit : {EditNome, EditSobrenome, EditPais, EditEstado})
        KeepCase(Edit, &QString::toUpper);
    KeepCase(EditEmail, &QString::toLower);

    btSave = AddButton(Panel1, QStringLiteral("btSave"), QStringLiteral("Save"), {603, 61, 75, 25});
    btDelete = AddButton(Panel1, QStringLiteral("btDelete"), QStringLiteral("Delete"), {603, 92, 75, 25});
    memRTDB = new QPlainTextEdit(QStringLiteral("memRTDB"), Panel1);
    memRTDB->setObjectName(QStringLiteral("memRTDB"));
    memRTDB->setGeometry(546, 142, 159, 50);
    memRTDB->setVisible(false);
    Label8 = AddLabel(Panel1, QStringLiteral("Label8"),
                      QStringLiteral("If you have a critical or sugestion, please contat me"), 49, 217);
    Label9 = AddLabel(Panel1, QStringLiteral("Label9"),
                      QStringLiteral("Se você tem uma crítica ou sugestão, por favor contate-me."), 49, 242);
    Label12 = AddLinkLabel(Panel1, QStringLiteral("Label12"), QString::fromLatin1(BuildValues::kMakerSite),
                           {138, 276, 217, 19});
    Label13 = AddLinkLabel(Panel1, QStringLiteral("Label13"), QString::fromLatin1(BuildValues::kMakerContact),
                           {138, 301, 218, 19});
    btSair = AddCloseButton(Panel1, QStringLiteral("btSair"), 546, 271, 132, 49);

    connect(btSave, &QPushButton::clicked, this, [this] { RunHandlerTask(btSaveClick()); });
    connect(btDelete, &QPushButton::clicked, this, [this] { RunHandlerTask(btDeleteClick()); });
    connect(btSair, &QPushButton::clicked, this, [this] { RunHandlerTask(btSairClick()); });

    const std::vector<QWidget *> TabOrder{btSair,   EditNome,   EditSobrenome, EditEmail, MaskEdit1,
                                          EditPais, EditEstado, btSave,        btDelete,  memRTDB};
    for (std::size_t Index = 1; Index < TabOrder.size(); ++Index)
        QWidget::setTabOrder(TabOrder[Index - 1], TabOrder[Index]);
}

void TFormRegister::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous())
        RunHandler([this] { FormShow(); });
}

void TFormRegister::FormShow() {
    fClosing = false;
    fClosed = false;
    // The mask types the separator the check reads: the locale's.
    fDateFormat = DateFormat();
    MaskEdit1->setInputMask(BirthdayInputMask(fDateFormat.Separator));
    fRegistration = LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
    ShowRegistered(!fRegistration.isEmpty());
    btSair->setFocus();
}

void TFormRegister::ShowRegistered(bool Registered) {
    btDelete->setEnabled(Registered);
    btSave->setEnabled(!Registered);
    Label7->setText(Registered ? QStringLiteral("You\u00B4re Registered - Você está Registrado")
                               : QStringLiteral("Register - Registre-se"));
    // The title grows with its text, as a label sized to its caption does.
    Label7->adjustSize();
}

QString TFormRegister::MaskEdit1Text() const {
    auto Text = MaskEdit1->displayText();
    return Text.replace(QLatin1Char('_'), QLatin1Char(' '));
}

bool TFormRegister::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == MaskEdit1 && Event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window leaves the field; switching windows
        // (the message box among them) does not.
        const auto Reason = static_cast<QFocusEvent *>(Event)->reason();
        if (isVisible() && Reason != Qt::ActiveWindowFocusReason && Reason != Qt::PopupFocusReason) {
            // Queued: a message box must not open inside a focus change. A handler that runs
            // first (a click on Save) runs the check itself.
            fBirthdayCheckPending = true;
            QMetaObject::invokeMethod(this, Guarded([this] {
                                          if (fBirthdayCheckPending)
                                              MaskEdit1Exit();
                                      }),
                                      Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TFormRegister::MaskEdit1Exit() {
    CheckBirthday();
}

bool TFormRegister::CheckBirthday() {
    fBirthdayCheckPending = false;
    if (const auto Birthday = ConvertBirthday(MaskEdit1Text(), fDateFormat)) {
        MaskEdit1->setText(*Birthday);
        return true;
    }
    fDialogs.ShowMessage(this, QStringLiteral("Data Inválida"));
    MaskEdit1->clear();
    MaskEdit1->setFocus();
    return false;
}

bool TFormRegister::BirthdayChecked() {
    return !fBirthdayCheckPending || CheckBirthday();
}

} // namespace Tunewell
