#include "boardsim/ReadingFormat.h"

#include <QtGlobal>

namespace {

// A sixteenth is exactly 0.0625: four decimals hold every value.
constexpr int kExactDecimals = 4;

qint64 PowerOfTen(int exponent) {
    qint64 power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

// The value with the given number of decimals, rounded to nearest, ties toward zero.
QByteArray Decimal(int sixteenths, int decimals) {
    const int exact = qMin(decimals, kExactDecimals);
    const qint64 tenThousandths = qAbs(qint64(sixteenths)) * 625;
    const qint64 unit = PowerOfTen(kExactDecimals - exact);
    qint64 scaled = tenThousandths / unit;
    if (2 * (tenThousandths % unit) > unit)
        ++scaled;

    QByteArray digits = QByteArray::number(scaled).rightJustified(exact + 1, '0');
    if (exact > 0)
        digits.insert(digits.size() - exact, '.');
    digits.append(QByteArray(decimals - exact, '0'));
    if (sixteenths < 0 && scaled != 0)
        digits.prepend('-');
    return digits;
}

} // namespace

QByteArray FormatReading(int sixteenths, int width) {
    // "0.0" is the shortest text with a decimal, so no more than width - 2 decimals fit.
    for (int decimals = qMax(width - 2, 0); decimals >= 0; --decimals) {
        const QByteArray text = Decimal(sixteenths, decimals);
        if (text.size() <= width)
            return text.rightJustified(width, ' ');
    }
    if (sixteenths < 0)
        return width == 1 ? QByteArray("0") : '-' + QByteArray(width - 1, '9');
    return QByteArray(width, '9');
}
