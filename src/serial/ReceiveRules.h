#pragma once

#include <QByteArray>

// The chunk of one reception: the read up to its first zero byte and at most
// respBytes bytes, never past the read.
QByteArray CutChunk(const QByteArray& read, int respBytes);

// '0'..'9' for 0..9, 'A'..'F' for 10..15.
char NibbleToHexChar(int v);
