#include "ProgramLoop.h"

#include <QCoreApplication>
#include <QTimer>

namespace Tunewell::Testing {

void RunAsTheProgram(const std::function<void()> &Action) {
    QTimer::singleShot(0, QCoreApplication::instance(), [&Action] {
        Action();
        QCoreApplication::exit(0);
    });
    // exec() also clears the end request again when it returns.
    QCoreApplication::exec();
}

} // namespace Tunewell::Testing
