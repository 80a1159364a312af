#include "app/desktop/AlarmDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace Tunewell {

namespace {
const std::array<const char *, 7> kDays{"Mon / Seg", "Tue / Ter",      "Wed / Qua", "Thu / Qui",
                                        "Fri / Sex", "Sat / S\u00E1b", "Sun / Dom"};

constexpr int kNameRole = Qt::UserRole + 1;

template <class Field> Field *Named(Field *Widget, const char *Name, const QString &Accessible) {
    Widget->setObjectName(QString::fromLatin1(Name));
    Widget->setAccessibleName(Accessible);
    return Widget;
}
} // namespace

std::optional<AlarmChoice> AlarmDialog::AskWithDialog(QWidget *Parent, const AlarmChoice &Initial,
                                                      const std::vector<AlarmStation> &Stations) {
    AlarmDialog dialog(Initial, Stations, Parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice(dialog.TurnOn_);
}

AlarmDialog::AlarmDialog(const AlarmChoice &Initial, const std::vector<AlarmStation> &Stations,
                         QWidget *Parent)
    : QDialog(Parent) {
    setObjectName(QStringLiteral("AlarmDialog"));
    setWindowTitle(QStringLiteral("Alarm / Despertador"));
    TimeField = Named(new QTimeEdit(Initial.At, this), "EdtAlarmTime", QStringLiteral("Time / Hora"));
    TimeField->setDisplayFormat(QStringLiteral("HH:mm"));

    auto *days = new QHBoxLayout;
    for (int day = 0; day < 7; ++day) {
        const QString caption = QString::fromUtf8(kDays[static_cast<std::size_t>(day)]);
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QStringLiteral("Day%1").arg(day + 1));
        box->setAccessibleName(caption);
        box->setChecked((Initial.Days >> day & 1u) != 0);
        DayBoxes[static_cast<std::size_t>(day)] = box;
        days->addWidget(box);
    }

    StationField = Named(new QComboBox(this), "CbAlarmStation", QStringLiteral("Station / R\u00E1dio"));
    for (const AlarmStation &station : Stations) {
        StationField->addItem(QStringLiteral("%1 (%2)").arg(station.Name, station.Why), station.Serie);
        StationField->setItemData(StationField->count() - 1, station.Name, kNameRole);
    }
    // A station chosen before that is no longer offered is still the one the alarm plays.
    if (!Initial.Serie.isEmpty() && StationField->findData(Initial.Serie) < 0) {
        StationField->addItem(Initial.StationName, Initial.Serie);
        StationField->setItemData(StationField->count() - 1, Initial.StationName, kNameRole);
    }
    StationField->setCurrentIndex(std::max(0, StationField->findData(Initial.Serie)));

    VolumeField = Named(new QSpinBox(this), "EdtAlarmVolume", QStringLiteral("Volume"));
    VolumeField->setRange(0, 100);
    VolumeField->setSuffix(QStringLiteral(" %"));
    VolumeField->setValue(Initial.Volume);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Time / Hora:"), TimeField);
    form->addRow(QStringLiteral("Days / Dias:"), days);
    form->addRow(QStringLiteral("Station / R\u00E1dio:"), StationField);
    form->addRow(QStringLiteral("Volume:"), VolumeField);

    auto *note = new QLabel(
        QStringLiteral("No day ticked: once, at the next time. The alarm rings only while Tunewell runs; it "
                       "does not start the program.\nNenhum dia marcado: uma vez, na pr\u00F3xima hora. O "
                       "despertador s\u00F3 toca com o Tunewell aberto; ele n\u00E3o inicia o programa."),
        this);
    note->setObjectName(QStringLiteral("AlarmNote"));
    note->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *set = buttons->addButton(QStringLiteral("Set / Ativar"), QDialogButtonBox::AcceptRole);
    set->setObjectName(QStringLiteral("BtSetAlarm"));
    QPushButton *off =
        buttons->addButton(QStringLiteral("Turn off / Desligar"), QDialogButtonBox::DestructiveRole);
    off->setObjectName(QStringLiteral("BtAlarmOff"));
    off->setEnabled(Initial.On);
    buttons->addButton(QStringLiteral("Cancel / Cancelar"), QDialogButtonBox::RejectRole);
    connect(set, &QPushButton::clicked, this, [this] {
        TurnOn_ = true;
        accept();
    });
    connect(off, &QPushButton::clicked, this, [this] {
        TurnOn_ = false;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

AlarmChoice AlarmDialog::Choice(bool On) const {
    AlarmChoice choice;
    choice.On = On;
    choice.At = TimeField->time();
    for (int day = 0; day < 7; ++day)
        if (DayBoxes[static_cast<std::size_t>(day)]->isChecked())
            choice.Days |= 1u << day;
    choice.Serie = StationField->currentData().toString();
    choice.StationName = StationField->currentData(kNameRole).toString();
    choice.Volume = VolumeField->value();
    return choice;
}

} // namespace Tunewell
