#pragma once

#include <QByteArray>
#include <QString>

// A reply read as a Celsius value, whatever the user's locale: white space,
// an optional sign, digits with an optional point and fraction, an optional
// exponent; the rest is ignored, and text with no number reads 0. A value
// too large for a double reads as plus or minus infinity, one too small as 0.
double ReadCelsius(const QByteArray& text);

// The reading rounded to single precision; out of its range, infinity.
float ToSinglePrecision(double value);

// The curve value of a reading: the single-precision reading plus 2,
// truncated toward zero, held to the 32-bit range.
int CurveValue(float temperature);

// "摄氏%.2f℃", with a point as the decimal separator.
QString FormatReadout(double value);
