#include "boardsim/LineFaults.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct FaultRow {
    const char* name;
    LineFaults faults;
    int width;
    long long index;
    QByteArray expected;
    friend void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }
};

class Faults : public ::testing::TestWithParam<FaultRow> {};

// 25.5 °C as reading number index on a line with the row's faults.
TEST_P(Faults, ShapeTheReading) {
    const FaultRow& row = GetParam();
    EXPECT_EQ(ReadingOnLine(408, row.width, row.index, row.faults), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Faults,
    ::testing::Values(
        FaultRow{"Clean", {}, 5, 1, "25.50"},
        FaultRow{"ZeroOnTheThird",
                 {.zeroEvery = 3},
                 5,
                 3,
                 QByteArray("25\0"
                            "50",
                            5)},
        FaultRow{"ZeroNotOnTheFourth", {.zeroEvery = 3}, 5, 4, "25.50"},
        FaultRow{"BadGbkLastByte", {.badGbkEvery = 2}, 4, 2, "25.\xFF"},
        FaultRow{"Overlong", {.overlongEvery = 1}, 5, 1, "25.50000"},
        // The fault bytes stay within the width, where the terminal's cut keeps them.
        FaultRow{"AllOnAnOverlong",
                 {.zeroEvery = 1, .badGbkEvery = 1, .overlongEvery = 1},
                 5,
                 1,
                 QByteArray("25\0"
                            "5\xFF"
                            "000",
                            8)},
        FaultRow{
            "ZeroWinsInOneByte", {.zeroEvery = 1, .badGbkEvery = 1}, 1, 1, QByteArray(1, '\0')}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
