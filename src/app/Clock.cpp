#include "app/Clock.h"

#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/LiveText.h"
#include "platform/LocalTime.h"
#include "resources/Resource.h"

#include <QCoreApplication>
#include <QEvent>

#include <charconv>

QByteArray FormatClock(const QTime& time) {
    // Runs every 10 ms: format into a stack buffer, no locale, no arg() parsing.
    char buffer[32];
    char* p = buffer;
    char* const end = buffer + sizeof buffer;
    const int parts[] = {time.hour(), time.minute(), time.second(), time.msec()};
    for (int i = 0; i < 4; ++i) {
        if (i)
            *p++ = ':';
        p = std::to_chars(p, end, parts[i]).ptr;
    }
    return QByteArray(buffer, p - buffer);
}

namespace {

// A reading this long after the last tick carries the next tick: the program
// wakes once for both, and paints the reading with the clock at once.
constexpr int kTickWithReadingMs = 8;
// While readings come, the timer waits this long after the last tick, so
// that a reading at the clock's own rate comes before it and carries it.
constexpr int kTickLatestMs = 12;

} // namespace

void CSerialDlg::OnTimer(int nIDEvent) {
    if (nIDEvent == TIMER_TEST) {
        OnTestTick();
    } else if (nIDEvent == TIMER_CLOCK) {
        Tick();
        if (m_nClockElapse != kClockMs)
            SetTimer(TIMER_CLOCK, kClockMs);
    }
}

void CSerialDlg::Tick() {
    m_sinceTick.start();
    g_strTime = FormatClock(LocalTimeOfDay());
    // The tick is the window's frame: the clock is painted at once, and
    // with it, in the same pass, what changed since the last tick (the
    // receive box, laid out here at most once a display frame, and the
    // curve, moved on as often).
    m_editRecv->SettleOnFrame();
    m_curve.ScrollOnFrame();
    m_items.Get<LiveText>(IDC_CLOCK)->SetTextNow(QString::fromLatin1(g_strTime));
}

// Qt asks for a paint pass of its own as soon as a control changes, with a
// request posted to the window; the window paints at the tick anyway. The
// request a reading made is taken back: the controls stay marked for repaint,
// and the tick's repaint of the clock paints them all in one pass. A reading
// near the tick's time brings the tick forward. While readings come at the
// clock's rate, one that comes sooner after a tick of the timer puts the
// timer's next tick after the next reading, so that readings and ticks fall
// in step; a reading on its own leaves the clock as it was. A list's popup is
// a window of its own and keeps its own.
void CSerialDlg::PaintAtNextTick() {
    QCoreApplication::removePostedEvents(this, QEvent::UpdateRequest);
    const bool streaming = m_sinceReading.isValid() && m_sinceReading.elapsed() < kTickLatestMs;
    m_sinceReading.start();
    const qint64 since = m_sinceTick.elapsed();
    if (since >= kTickWithReadingMs) {
        Tick();
        SetTimer(TIMER_CLOCK, kTickLatestMs);
    } else if (streaming && m_nClockElapse == kClockMs) {
        SetTimer(TIMER_CLOCK, kTickLatestMs - static_cast<int>(since));
    }
}
