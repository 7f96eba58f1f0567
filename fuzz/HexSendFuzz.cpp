// The hexadecimal send rule on any text, given as UTF-16 or as GBK bytes
// decoded the way the send box's text would be: either the first character
// that is neither a digit nor a separator, whole, or the digits paired up.
#include "platform/GbkCodec.h"
#include "serial/HexRule.h"

#include <cstdint>

namespace {

bool IsSeparator(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

void Check(const QString& text) {
    const auto parsed = ParseHexSend(text);
    if (const auto* error = std::get_if<HexSendError>(&parsed)) {
        qsizetype bad = 0;
        while (bad < text.size() && (IsSeparator(text[bad]) || IsHexDigit(text[bad])))
            ++bad;
        // The quoted character is a piece of the text that covers the first bad code,
        // and it is counted among no more characters than there are codes before it.
        const qsizetype start = text.lastIndexOf(error->character, bad);
        if (bad == text.size() || error->character.isEmpty() || start < 0 ||
            start + error->character.size() <= bad || error->position < 0 ||
            error->position > start)
            __builtin_trap();
        return;
    }
    QString digits;
    for (QChar c : text)
        if (IsHexDigit(c))
            digits += c.toUpper();
    if (digits.size() % 2)
        digits += u'0';
    if (QString::fromLatin1(std::get<QByteArray>(parsed).toHex().toUpper()) != digits)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const auto n = qsizetype(size - 1);
    if (data[0] & 1)
        Check(QString(reinterpret_cast<const QChar*>(bytes), n / 2));
    else
        Check(GbkToUnicode(QByteArray(bytes, n)));
    return 0;
}
