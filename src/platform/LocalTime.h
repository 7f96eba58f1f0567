#pragma once

#include <QTime>

// The local time of day with milliseconds, as the clock shows it 100 times a
// second. QTime::currentTime() has the C library look for a new time zone at
// every call, a file system check each time; this looks once a minute,
// and converts the time once a second.
QTime LocalTimeOfDay();
