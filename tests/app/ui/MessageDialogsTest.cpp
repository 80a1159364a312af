// The desktop's own message boxes: what their buttons say.
#include "app/ui/MessageDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace Tunewell::Testing {
namespace {

TEST(MessageDialogsTest, AYesNoQuestionIsAnsweredInBothLanguages) {
    for (const bool yes : {true, false}) {
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        MessageDialogs desktop;
        EXPECT_EQ(desktop.AskYesNo(nullptr,
                                   QStringLiteral("Remove your station? / Remover a sua esta\u00E7\u00E3o?"),
                                   QStringLiteral("Stations")),
                  yes);
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("No / N\u00E3o"), QStringLiteral("Yes / Sim")}));
    }
}

} // namespace
} // namespace Tunewell::Testing
