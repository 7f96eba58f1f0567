#include "serial/SerialSettings.h"
#include "support/SettingsPrinter.h"

#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* name;
    const char* text;
    SerialSettings expected;
    friend void PrintTo(const Accepted& row, std::ostream* os) { *os << row.name; }
};

class SettingsAccepted : public ::testing::TestWithParam<Accepted> {};

TEST_P(SettingsAccepted, ParsesEveryField) {
    const auto result = ParseSerialSettings(QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(std::holds_alternative<SerialSettings>(result))
        << std::get<SettingsError>(result).reason.toStdString();
    EXPECT_EQ(std::get<SerialSettings>(result), GetParam().expected);
}

TEST_P(SettingsAccepted, FormatsBackToWhatItParses) {
    const QString text = FormatSerialSettings(GetParam().expected);
    EXPECT_EQ(text, QString::fromUtf8(GetParam().text).toUpper());
    EXPECT_EQ(std::get<SerialSettings>(ParseSerialSettings(text)), GetParam().expected);
}

using P = QSerialPort;

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsAccepted,
    ::testing::Values(
        Accepted{"StartValueLowerCase", "9600,n,8,1", {9600, P::NoParity, P::Data8, P::OneStop}},
        Accepted{"OddSevenTwo", "19200,O,7,2", {19200, P::OddParity, P::Data7, P::TwoStop}},
        Accepted{"EvenLower", "115200,e,8,1", {115200, P::EvenParity, P::Data8, P::OneStop}},
        Accepted{"MarkUpper", "100,M,5,1.5", {100, P::MarkParity, P::Data5, P::OneAndHalfStop}},
        Accepted{"SpaceLower", "512000,s,6,2", {512000, P::SpaceParity, P::Data6, P::TwoStop}},
        Accepted{
            "LargestRate", "2147483647,N,8,1", {2147483647, P::NoParity, P::Data8, P::OneStop}}),
    [](const auto& row) { return std::string(row.param.name); });

struct Refused {
    const char* name;
    const char* text;
    const char* reasonMentions; // the part of the text the reason must point at
    friend void PrintTo(const Refused& row, std::ostream* os) { *os << row.name; }
};

class SettingsRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(SettingsRefused, SaysWhichFieldIsWrong) {
    const auto result = ParseSerialSettings(QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(std::holds_alternative<SettingsError>(result));
    EXPECT_TRUE(std::get<SettingsError>(result).reason.contains(
        QString::fromUtf8(GetParam().reasonMentions)))
        << std::get<SettingsError>(result).reason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsRefused,
    ::testing::Values(Refused{"Empty", "", "四项"}, Refused{"ThreeFields", "9600,n,8", "四项"},
                      Refused{"FiveFields", "9600,n,8,1,1", "四项"},
                      Refused{"ZeroBaud", "0,n,8,1", "波特率“0”"},
                      Refused{"NegativeBaud", "-9600,n,8,1", "波特率“-9600”"},
                      Refused{"SignedBaud", "+9600,n,8,1", "波特率“+9600”"},
                      Refused{"FractionalBaud", "9600.5,n,8,1", "波特率“9600.5”"},
                      Refused{"OverflowingBaud", "2147483648,n,8,1", "波特率“2147483648”"},
                      Refused{"BlankBeforeParity", "9600, n,8,1", "校验位“ n”"},
                      Refused{"UnknownParity", "9600,x,8,1", "校验位“x”"},
                      Refused{"NineDataBits", "9600,n,9,1", "数据位“9”"},
                      Refused{"PaddedDataBits", "9600,n,08,1", "数据位“08”"},
                      Refused{"ThreeStopBits", "9600,n,8,3", "停止位“3”"},
                      Refused{"SpelledHalfStop", "9600,n,8,1.50", "停止位“1.50”"},
                      Refused{"TrailingBlank", "9600,n,8,1 ", "停止位“1 ”"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
