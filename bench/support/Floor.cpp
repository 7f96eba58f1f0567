#include "support/Floor.h"

#include <QPainter>

namespace {

constexpr QRect kClock{100, 100, 75, 14};
constexpr QRect kReading{10, 10, 40, 14};

} // namespace

Floor::Floor() {
    resize(300, 200);
    startTimer(10);
}

void Floor::ShowReading() {
    ++m_nReadings;
    update(kReading);
}

void Floor::timerEvent(QTimerEvent*) {
    ++m_nTicks;
    update(kClock);
}

void Floor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(kClock, m_nTicks % 2 ? Qt::black : Qt::white);
    p.fillRect(kReading, m_nReadings % 2 ? Qt::black : Qt::white);
}
