#include "serial/LineSettings.h"
#include "support/SettingsPrinter.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace {

struct CflagRow {
    const char* name;
    tcflag_t cflag;
    const char* expected;
    friend void PrintTo(const CflagRow& row, std::ostream* os) { *os << row.name; }
};

class DecodeCflag : public ::testing::TestWithParam<CflagRow> {};

TEST_P(DecodeCflag, ReadsWhatTheDriverHasInForce) {
    // Bits outside the framing (receiver, modem lines, baud code) must not matter.
    const tcflag_t noise = CREAD | CLOCAL | HUPCL | B38400;
    const SerialSettings decoded = DecodeLineSettings(GetParam().cflag | noise, 128000);
    EXPECT_EQ(FormatSerialSettings(decoded), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeCflag,
    ::testing::Values(CflagRow{"Plain", CS8, "128000,N,8,1"},
                      CflagRow{"OddWithoutEnableIsNone", CS8 | PARODD, "128000,N,8,1"},
                      CflagRow{"MarkWithoutEnableIsNone", CS8 | PARODD | CMSPAR, "128000,N,8,1"},
                      CflagRow{"Odd", CS7 | PARENB | PARODD, "128000,O,7,1"},
                      CflagRow{"Even", CS7 | PARENB | CSTOPB, "128000,E,7,2"},
                      CflagRow{"Mark", CS6 | PARENB | PARODD | CMSPAR, "128000,M,6,1"},
                      CflagRow{"Space", CS5 | PARENB | CMSPAR | CSTOPB, "128000,S,5,2"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
