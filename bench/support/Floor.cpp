#include "support/Floor.h"

#include "platform/DisplayFrame.h"

#include <QPainter>

#include <utility>

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
    update(kReadout);
    ++m_nUnshown;
    MoveOnFrame();
}

void Floor::MoveOnFrame() {
    if (m_nUnshown == 0 || (m_sinceMove.isValid() && m_sinceMove.elapsed() < kFrameMs))
        return;
    m_sinceMove.start();
    const int shift = kStep * std::exchange(m_nUnshown, 0);
    scroll(-shift, 0, kCurve);
    m_rcStrip =
        QRect(kCurve.right() + 1 - shift - kStep, kCurve.top(), shift + kStep, kCurve.height());
    update(m_rcStrip);
    update(kLabels);
}

void Floor::timerEvent(QTimerEvent*) {
    ++m_nTicks;
    update(kClock);
    if (m_bCurve)
        MoveOnFrame();
}

void Floor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(kClock, m_nTicks % 2 ? Qt::black : Qt::white);
    const QColor reading = m_nReadings % 2 ? Qt::black : Qt::white;
    p.fillRect(kReading, reading);
    if (!m_bCurve)
        return;
    p.fillRect(m_rcStrip, reading);
    p.fillRect(kLabels, reading);
    p.fillRect(kReadout, reading);
}
