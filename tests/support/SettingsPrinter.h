#pragma once

#include "serial/SerialSettings.h"

#include <ostream>

// Lets test failures show line settings as their string.
inline void PrintTo(const SerialSettings& settings, std::ostream* os) {
    *os << FormatSerialSettings(settings).toStdString();
}
