#include "temperature/ReadingRule.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <system_error>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr long long kExponentLimit = 1'000'000'000'000'000;

// Whether a number out of a double's range is too large rather than too
// small: the power of ten of its first non-zero digit, plus its exponent, is
// positive. digits is the mantissa with its point; exponent is saturated.
bool AboveRange(std::string_view digits, long long exponent) {
    const std::size_t point = std::min(digits.find('.'), digits.size());
    const std::size_t lead = digits.find_first_not_of("0.");
    if (lead == std::string_view::npos)
        return false;
    const long long power = lead < point ? static_cast<long long>(point - lead) - 1
                                         : -static_cast<long long>(lead - point);
    return power + exponent > 0;
}

} // namespace

double ReadCelsius(const QByteArray& text) {
    const char* const s = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && IsSpace(s[i]))
        ++i;
    const bool negative = i < n && s[i] == '-';
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    const qsizetype mantissa = i;
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
    const qsizetype mantissaEnd = i;
    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        qsizetype j = i + 1;
        const bool negativeExponent = j < n && s[j] == '-';
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < n && IsDigit(s[j])) {
            // Held far beyond any mantissa's length, so that its sum with
            // the leading digit's power keeps the right sign.
            for (; j < n && IsDigit(s[j]); ++j)
                exponent = std::min(exponent * 10 + (s[j] - '0'), kExponentLimit);
            if (negativeExponent)
                exponent = -exponent;
            i = j;
        }
    }
    // The grammar is checked above, so from_chars converts exactly the
    // accepted text (never hexadecimal, nan or inf); it takes no '+' sign.
    double value = 0.0;
    const char* const first = negative ? s + mantissa - 1 : s + mantissa;
    if (std::from_chars(first, s + i, value).ec == std::errc::result_out_of_range) {
        const std::string_view mantissaText(s + mantissa, mantissaEnd - mantissa);
        value = AboveRange(mantissaText, exponent) ? HUGE_VAL : 0.0;
        if (negative)
            value = -value;
    }
    return value;
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
