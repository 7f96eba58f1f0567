#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <functional>

// Processes Qt events until the condition holds or the deadline passes;
// returns whether it held. Tests wait on conditions, never on the clock.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    const QDeadlineTimer timer(deadline);
    while (!condition()) {
        if (timer.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Processes the events that are due now, and those they post in turn, for
// a short while: enough for anything already under way to have happened.
inline void DrainEvents() {
    WaitUntil([] { return false; }, std::chrono::milliseconds(100));
}
