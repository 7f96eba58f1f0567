#pragma once

#include <QByteArray>

// The DS18B20 reports in sixteenths of a degree Celsius over -55 to 125 °C.
inline constexpr int kSensorMinSixteenths = -55 * 16;
inline constexpr int kSensorMaxSixteenths = 125 * 16;

// A sensor value as the board's decimal text of exactly width bytes (width
// at least 1): the nearest decimal with as many decimals as fit, a tie going
// toward zero (25.5 in two bytes is "25"); blanks in front when the whole
// number is shorter than the width; when not even that fits, the widest
// number of the same sign that does ("9", "-9", "0" for a negative in one byte).
QByteArray FormatReading(int sixteenths, int width);
