// The reading rule on any reply: never NaN, and where the C library's strtod
// cannot see hexadecimal, infinity or NaN, exactly what strtod reads.
#include "temperature/ReadingRule.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const double value = ReadCelsius(text);
    if (std::isnan(value))
        __builtin_trap();
    // The curve value is the single-precision reading plus 2 toward zero,
    // held to the range of an int.
    const float single = ToSinglePrecision(value);
    const double shifted = std::trunc(double(single) + 2.0);
    if (CurveValue(single) != int(std::clamp(shifted, double(INT_MIN), double(INT_MAX))))
        __builtin_trap();
    if (FormatReadout(value).isEmpty())
        __builtin_trap();

    // strtod stops at the first zero byte, as the rule does.
    const std::string prefix(text.constData());
    if (prefix.find_first_of("xXiInN") == std::string::npos) {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        if (strtod_l(prefix.c_str(), nullptr, c) != value)
            __builtin_trap();
    }
    return 0;
}
