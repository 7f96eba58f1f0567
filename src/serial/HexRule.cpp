#include "serial/HexRule.h"

#include <QTextBoundaryFinder>

namespace {

// The character the user sees at UTF-16 index i of text, and its place.
HexSendError CharacterAt(const QString& text, qsizetype i) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype position = 0;
    qsizetype start = 0;
    qsizetype end = graphemes.toNextBoundary();
    while (end <= i) {
        ++position;
        start = end;
        end = graphemes.toNextBoundary();
    }
    return {position, text.sliced(start, end - start)};
}

} // namespace

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
            return CharacterAt(text, i);
        if (high)
            bytes.append(static_cast<char>(v << 4));
        else
            bytes.back() = static_cast<char>(bytes.back() | v);
        high = !high;
    }
    return bytes;
}
