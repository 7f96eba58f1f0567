#include "app/Clock.h"

#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/LiveText.h"
#include "platform/LocalTime.h"
#include "resources/Resource.h"

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

void CSerialDlg::OnTimer(int nIDEvent) {
    if (nIDEvent == TIMER_TEST) {
        OnTestTick();
    } else if (nIDEvent == TIMER_CLOCK) {
        g_strTime = FormatClock(LocalTimeOfDay());
        // The clock changes alone at a tick: painting it now saves a paint
        // request and a second pass of the event loop, 100 times a second.
        m_items.Get<LiveText>(IDC_CLOCK)->SetTextNow(QString::fromLatin1(g_strTime));
    }
}
