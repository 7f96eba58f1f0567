#include "temperature/ReadingRule.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The C locale, so the decimal point is '.' whatever LC_NUMERIC says.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

} // namespace

double ReadCelsius(const QByteArray& text) {
    const char* const s = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && IsSpace(s[i]))
        ++i;
    const qsizetype start = i;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    qsizetype digits = 0;
    for (; i < n && IsDigit(s[i]); ++i)
        ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        for (; i < n && IsDigit(s[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < n && IsDigit(s[j])) {
            while (j < n && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    // The grammar is checked above; strtod only converts the accepted text,
    // which is neither hexadecimal nor nan/inf. It gives HUGE_VAL on overflow.
    const QByteArray number(s + start, i - start);
    return strtod_l(number.constData(), nullptr, CLocale());
}

float ToSinglePrecision(double value) {
    if (value > FLT_MAX)
        return INFINITY;
    if (value < -FLT_MAX)
        return -INFINITY;
    return static_cast<float>(value);
}

int CurveValue(float temperature) {
    const double shifted = std::trunc(static_cast<double>(temperature) + 2.0);
    if (shifted >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (shifted <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(shifted);
}

QString FormatReadout(double value) {
    return QStringLiteral("摄氏") + QString::number(value, 'f', 2) + QStringLiteral("℃");
}
