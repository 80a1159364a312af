#include "DialogsSeen.h"

#include "RecordingDialogs.h"

namespace Tunewell::Testing {

QStringList Seen(const RecordingDialogs &Dialogs) {
    QStringList Texts;
    for (const auto &Entry : Dialogs.Entries) {
        switch (Entry.What) {
        case RecordingDialogs::Kind::Message:
            Texts << QStringLiteral("message: ") + Entry.Text;
            break;
        case RecordingDialogs::Kind::Question:
            Texts << QStringLiteral("ask: ") + Entry.Text;
            break;
        case RecordingDialogs::Kind::Error:
            Texts << QStringLiteral("error: ") + Entry.Text;
            break;
        case RecordingDialogs::Kind::OpenAddress:
            Texts << QStringLiteral("open: ") + Entry.Text;
            break;
        case RecordingDialogs::Kind::Restart:
            Texts << QStringLiteral("restart");
            break;
        }
    }
    return Texts;
}

} // namespace Tunewell::Testing
