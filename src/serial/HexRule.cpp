#include "serial/HexRule.h"

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 42;
}

std::variant<QByteArray, HexSendError> ParseHexSend(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() / 2 + 1);
    bool high = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')
            continue;
        const int v = c.unicode() < 0x80 ? HexDigitValue(static_cast<char>(c.unicode())) : 42;
        if (v > 15)
            return HexSendError{i, c};
        if (high)
            bytes.append(static_cast<char>(v << 4));
        else
            bytes.back() = static_cast<char>(bytes.back() | v);
        high = !high;
    }
    return bytes;
}
