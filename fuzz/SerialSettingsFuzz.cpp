// The settings string parser on any text: a refusal always says why, and
// what it accepts formats to a string that reads back the same.
#include "serial/SerialSettings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto parsed = ParseSerialSettings(text);
    if (const auto* refused = std::get_if<SettingsError>(&parsed)) {
        if (refused->reason.isEmpty())
            __builtin_trap();
        return 0;
    }
    const SerialSettings& settings = std::get<SerialSettings>(parsed);
    if (text.count(u',') != 3 || settings.baudRate <= 0)
        __builtin_trap();
    const auto again = ParseSerialSettings(FormatSerialSettings(settings));
    const auto* same = std::get_if<SerialSettings>(&again);
    if (!same || !(*same == settings))
        __builtin_trap();
    return 0;
}
