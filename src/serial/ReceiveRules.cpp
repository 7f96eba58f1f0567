#include "serial/ReceiveRules.h"

#include <algorithm>
#include <cstring>

QByteArray CutChunk(const QByteArray& read, int respBytes) {
    const qsizetype limit = std::clamp<qsizetype>(respBytes, 0, read.size());
    const void* zero = std::memchr(read.constData(), 0, static_cast<size_t>(limit));
    const qsizetype length = zero ? static_cast<const char*>(zero) - read.constData() : limit;
    return read.left(length);
}

char NibbleToHexChar(int v) {
    return static_cast<char>(v < 10 ? v + 48 : v + 55);
}
