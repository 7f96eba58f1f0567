// The GBK codec. Bytes cut into any chunks decode as the whole does at once;
// decoded text encodes back to bytes that decode to it again; and text
// encodes character for character, each one to itself or to one '?'.
#include "platform/GbkCodec.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

namespace {

void CheckChunks(FuzzedDataProvider& input) {
    QByteArray whole;
    QString streamed;
    GbkDecoder decoder;
    while (input.remaining_bytes() > 0) {
        const std::vector<char> chunk =
            input.ConsumeBytes<char>(input.ConsumeIntegralInRange<size_t>(0, 16));
        const QByteArray bytes(chunk.data(), qsizetype(chunk.size()));
        whole += bytes;
        streamed += decoder.Decode(bytes);
    }
    // A line feed ends any character left open, in both.
    streamed += decoder.Decode("\n");
    const QString atOnce = GbkToUnicode(whole + '\n');
    if (streamed != atOnce)
        __builtin_trap();

    QString expected = atOnce;
    expected.replace(QChar::ReplacementCharacter, u'?');
    if (GbkToUnicode(GbkFromUnicode(atOnce)) != expected)
        __builtin_trap();
}

void CheckText(const uint8_t* data, size_t size) {
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QString back = GbkToUnicode(GbkFromUnicode(text));
    qsizetype at = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++at) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (at >= back.size())
            __builtin_trap();
        if (back[at] != u'?' && (pair || back[at] != text[i]))
            __builtin_trap();
        if (pair)
            ++i;
    }
    if (at != back.size())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1) {
        CheckText(data + 1, size - 1);
    } else {
        FuzzedDataProvider input(data + 1, size - 1);
        CheckChunks(input);
    }
    return 0;
}
