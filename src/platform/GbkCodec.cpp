#include "platform/GbkCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

iconv_t Open(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no GBK converter");
    return cd;
}

// Converts as much of [in, in + len) as forms whole characters; returns the
// number of bytes used. Invalid bytes become U+FFFD one at a time; a
// character cut off at the end is left unused when keepTail is set.
qsizetype DecodeInto(iconv_t cd, const char* in, qsizetype len, bool keepTail, QString& out) {
    qsizetype used = 0;
    char16_t buffer[256];
    while (used < len) {
        char* src = const_cast<char*>(in + used);
        size_t srcLeft = static_cast<size_t>(len - used);
        char* dst = reinterpret_cast<char*>(buffer);
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        const int err = errno;
        out.append(QStringView(buffer, static_cast<qsizetype>((sizeof buffer - dstLeft) / 2)));
        used = len - static_cast<qsizetype>(srcLeft);
        if (rc != static_cast<size_t>(-1))
            break;
        if (err == E2BIG)
            continue;
        if (err == EINVAL && keepTail)
            break;
        out.append(QChar::ReplacementCharacter);
        ++used;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return used;
}

} // namespace

QByteArray GbkFromUnicode(const QString& text) {
    iconv_t cd = Open("GBK", "UTF-16LE");
    QByteArray out;
    out.reserve(text.size() * 2);
    char buffer[256];
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    qsizetype pos = 0;
    while (pos < text.size()) {
        // One character at a time, so an unmappable one becomes exactly one
        // '?'. A surrogate that is not half of a pair is a character of its own.
        const bool pair = QChar::isHighSurrogate(units[pos]) && pos + 1 < text.size() &&
                          QChar::isLowSurrogate(units[pos + 1]);
        const qsizetype n = pair ? 2 : 1;
        char* src = reinterpret_cast<char*>(const_cast<char16_t*>(units + pos));
        size_t srcLeft = static_cast<size_t>(n) * 2;
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out.append('?');
        } else {
            out.append(buffer, static_cast<qsizetype>(sizeof buffer - dstLeft));
        }
        pos += n;
    }
    iconv_close(cd);
    return out;
}

QString GbkToUnicode(const QByteArray& bytes) {
    iconv_t cd = Open("UTF-16LE", "GBK");
    QString out;
    DecodeInto(cd, bytes.constData(), bytes.size(), false, out);
    iconv_close(cd);
    return out;
}

GbkDecoder::GbkDecoder() : m_cd(Open("UTF-16LE", "GBK")) {}

GbkDecoder::~GbkDecoder() {
    iconv_close(static_cast<iconv_t>(m_cd));
}

QString GbkDecoder::Decode(const QByteArray& chunk) {
    // Readings are mostly ASCII, which GBK keeps as it is.
    if (m_pending.isEmpty() && std::ranges::all_of(chunk, [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(chunk);
    QByteArray bytes = m_pending + chunk;
    QString out;
    const qsizetype used =
        DecodeInto(static_cast<iconv_t>(m_cd), bytes.constData(), bytes.size(), true, out);
    m_pending = bytes.mid(used);
    return out;
}

void GbkDecoder::Reset() {
    m_pending.clear();
    iconv(static_cast<iconv_t>(m_cd), nullptr, nullptr, nullptr, nullptr);
}
