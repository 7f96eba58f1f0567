#pragma once

#include <QByteArray>
#include <QTime>

// The clock shows the time this often.
constexpr int kClockMs = 10;

// The clock text: hour, minute, second and millisecond as "%d:%d:%d:%d".
QByteArray FormatClock(const QTime& time);
