#pragma once

#include <QByteArray>

// Faults of a bad line, asked for on the command line. "Every k-th" counts
// readings from 1; 0 means never.
struct LineFaults {
    int burst = 1;         // readings written at once, at each interval
    int zeroEvery = 0;     // a zero byte in the middle of the reading
    int badGbkEvery = 0;   // the reading's last byte is 0xFF, which no GBK text holds
    int overlongEvery = 0; // the reading is 3 bytes longer than the width
};

// Reading number index (from 1) as the line carries it. A fault byte always
// lies within the first width bytes; where both fall on the same byte, the
// zero byte wins.
QByteArray ReadingOnLine(int sixteenths, int width, long long index, const LineFaults& faults);
