#include "platform/LocalTime.h"

#include <algorithm>
#include <ctime>

namespace {

time_t g_zoneCheckedMinute = -1;
// The hours, minutes and seconds of the last second asked for: a hundred
// calls a second convert the time once.
time_t g_convertedSecond = -1;
tm g_local{};

} // namespace

QTime LocalTimeOfDay() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec != g_convertedSecond) {
        if (now.tv_sec / 60 != g_zoneCheckedMinute) {
            tzset();
            g_zoneCheckedMinute = now.tv_sec / 60;
        }
        localtime_r(&now.tv_sec, &g_local);
        g_convertedSecond = now.tv_sec;
    }
    // A leap second shows as the last second of its minute.
    return QTime(g_local.tm_hour, g_local.tm_min, std::min(g_local.tm_sec, 59),
                 static_cast<int>(now.tv_nsec / 1'000'000));
}
