#include "support/Floor.h"

#include <QPainter>

namespace {

constexpr QRect kClock{100, 100, 75, 14};
constexpr QRect kReading{10, 10, 40, 14};
// As large as the program's chart, its labels and its readout.
constexpr QRect kCurve{8, 220, 485, 190};
constexpr QRect kLabels{8, 220, 21, 190};
constexpr QRect kReadout{310, 180, 75, 21};
constexpr int kStep = 8;

} // namespace

Floor::Floor(bool curve) : m_bCurve(curve) {
    resize(curve ? QSize(500, 420) : QSize(300, 200));
    startTimer(10);
}

void Floor::ShowReading() {
    ++m_nReadings;
    update(kReading);
    if (!m_bCurve)
        return;
    scroll(-kStep, 0, kCurve);
    update(QRect(kCurve.right() + 1 - 2 * kStep, kCurve.top(), 2 * kStep, kCurve.height()));
    update(kLabels);
    update(kReadout);
}

void Floor::timerEvent(QTimerEvent*) {
    ++m_nTicks;
    update(kClock);
}

void Floor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(kClock, m_nTicks % 2 ? Qt::black : Qt::white);
    const QColor reading = m_nReadings % 2 ? Qt::black : Qt::white;
    p.fillRect(kReading, reading);
    if (!m_bCurve)
        return;
    p.fillRect(QRect(kCurve.right() + 1 - 2 * kStep, kCurve.top(), 2 * kStep, kCurve.height()),
               reading);
    p.fillRect(kLabels, reading);
    p.fillRect(kReadout, reading);
}
