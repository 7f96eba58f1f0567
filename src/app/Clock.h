#pragma once

#include <QByteArray>
#include <QTime>

// The clock text: hour, minute, second and millisecond as "%d:%d:%d:%d".
QByteArray FormatClock(const QTime& time);
