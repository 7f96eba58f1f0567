#pragma once

#include <QByteArray>
#include <QString>

// The interface's multibyte code page (GBK, code page 936) over iconv.

// Text to GBK bytes; a character GBK cannot hold becomes '?', as the code
// page conversion does.
QByteArray GbkFromUnicode(const QString& text);

// GBK bytes to text; bytes that form no character become U+FFFD.
QString GbkToUnicode(const QByteArray& bytes);

// A decoder for a byte stream cut into chunks: the first byte of a two-byte
// character at the end of one chunk waits for the next, so it shows whole.
class GbkDecoder {
public:
    GbkDecoder();
    ~GbkDecoder();
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    QString Decode(const QByteArray& chunk);
    void Reset();

private:
    void* m_cd; // iconv_t
    QByteArray m_pending;
};
