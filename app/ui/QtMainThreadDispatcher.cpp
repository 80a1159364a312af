#include "app/ui/QtMainThreadDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace Tunewell {

void QtMainThreadDispatcher::Post(std::function<void()> Procedure) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(Procedure), Qt::QueuedConnection);
}

void QtMainThreadDispatcher::ProcessPending() {
    QCoreApplication::processEvents();
}

} // namespace Tunewell
