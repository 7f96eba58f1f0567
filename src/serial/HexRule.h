#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

// The value of a hexadecimal digit (either case), 42 for any other byte.
int HexDigitValue(char c);

// Where a hexadecimal send text holds something that is neither a digit nor
// a separator, counted as the user sees the text: position is the 0-based
// index among its characters (grapheme clusters, so an emoji or a letter with
// its accents is one), character the whole of that character.
struct HexSendError {
    qsizetype position;
    QString character;
};

// Blanks, tabs, CR and LF separate; the digits pair up from the start, high
// half first, and an odd last digit becomes the high half of the last byte.
// text is the send box's text as shown, one LF per line break.
std::variant<QByteArray, HexSendError> ParseHexSend(const QString& text);
