#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

// The value of a hexadecimal digit (either case), 42 for any other byte.
int HexDigitValue(char c);

// Where a hexadecimal send text holds something that is neither a digit nor
// a separator: the 0-based character index and the character.
struct HexSendError {
    qsizetype position;
    QChar character;
};

// Blanks, tabs, CR and LF separate; the digits pair up from the start, high
// half first, and an odd last digit becomes the high half of the last byte.
std::variant<QByteArray, HexSendError> ParseHexSend(const QString& text);
