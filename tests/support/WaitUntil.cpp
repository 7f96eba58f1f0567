#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const QDeadlineTimer timer(deadline);
    while (!condition()) {
        if (timer.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void DrainEvents() {
    const QDeadlineTimer timer(std::chrono::milliseconds(100));
    while (!timer.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}
