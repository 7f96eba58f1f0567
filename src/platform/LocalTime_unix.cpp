#include "platform/LocalTime.h"

#include <algorithm>
#include <ctime>

namespace {

time_t g_zoneCheckedMinute = -1;

} // namespace

QTime LocalTimeOfDay() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec / 60 != g_zoneCheckedMinute) {
        tzset();
        g_zoneCheckedMinute = now.tv_sec / 60;
    }
    tm local{};
    localtime_r(&now.tv_sec, &local);
    // A leap second shows as the last second of its minute.
    return QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                 static_cast<int>(now.tv_nsec / 1'000'000));
}
