#include "serial/SerialSettings.h"
#include "serial/LineSettings.h"
#include "support/SettingsPrinter.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace {

using P = QSerialPort;

// Together the rows take every parity letter in both cases, every data and
// stop bit count, and the largest rate.
TEST(SerialSettings, ParsesEveryFieldAndFormatsBack) {
    const struct {
        const char* text;
        SerialSettings expected;
    } rows[] = {
        {"9600,n,8,1", {9600, P::NoParity, P::Data8, P::OneStop}},
        {"19200,O,7,2", {19200, P::OddParity, P::Data7, P::TwoStop}},
        {"100,M,5,1.5", {100, P::MarkParity, P::Data5, P::OneAndHalfStop}},
        {"512000,s,6,2", {512000, P::SpaceParity, P::Data6, P::TwoStop}},
        {"2147483647,e,8,1", {2147483647, P::EvenParity, P::Data8, P::OneStop}},
    };
    for (const auto& row : rows) {
        const auto result = ParseSerialSettings(row.text);
        ASSERT_TRUE(std::holds_alternative<SerialSettings>(result)) << row.text;
        EXPECT_EQ(std::get<SerialSettings>(result), row.expected);
        EXPECT_EQ(FormatSerialSettings(row.expected), QString(row.text).toUpper());
    }
}

TEST(SerialSettings, RefusalSaysWhichFieldIsWrong) {
    const struct {
        const char* text;
        const char* reasonMentions; // the part of the text the reason must point at
    } rows[] = {
        {"9600,n,8", "四项"},
        {"0,n,8,1", "波特率“0”"},
        {"+9600,n,8,1", "波特率“+9600”"},
        {"2147483648,n,8,1", "波特率“2147483648”"},
        {"9600, n,8,1", "校验位“ n”"},
        {"9600,x,8,1", "校验位“x”"},
        {"9600,n,9,1", "数据位“9”"},
        {"9600,n,08,1", "数据位“08”"},
        {"9600,n,8,3", "停止位“3”"},
        {"9600,n,8,1.50", "停止位“1.50”"},
    };
    for (const auto& row : rows) {
        const auto result = ParseSerialSettings(QString::fromUtf8(row.text));
        ASSERT_TRUE(std::holds_alternative<SettingsError>(result)) << row.text;
        const QString reason = std::get<SettingsError>(result).reason;
        EXPECT_TRUE(reason.contains(QString::fromUtf8(row.reasonMentions))) << reason.toStdString();
    }
}

TEST(LineSettings, DecodesTheFramingInForce) {
    // Bits outside the framing (receiver, modem lines, baud code) must not matter.
    const tcflag_t noise = CREAD | CLOCAL | HUPCL | B38400;
    const struct {
        tcflag_t cflag;
        const char* expected;
    } rows[] = {
        {CS8 | PARODD | CMSPAR, "128000,N,8,1"}, // no parity without the enable bit
        {CS7 | PARENB | PARODD, "128000,O,7,1"},
        {CS7 | PARENB | CSTOPB, "128000,E,7,2"},
        {CS6 | PARENB | PARODD | CMSPAR, "128000,M,6,1"},
        {CS5 | PARENB | CMSPAR | CSTOPB, "128000,S,5,2"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatSerialSettings(DecodeLineSettings(row.cflag | noise, 128000)),
                  row.expected);
}

} // namespace
