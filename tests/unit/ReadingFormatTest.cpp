#include "boardsim/ReadingFormat.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

struct FormatRow {
    int sixteenths;
    int width;
    const char* expected;
};

class FormatReadingRows : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatReadingRows, NearestThatFits) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(FormatReading(row.sixteenths, row.width), QByteArray(row.expected))
        << row.sixteenths << "/16 in " << row.width;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatReadingRows,
    ::testing::Values(
        // 25.5: a tie in two or three bytes goes toward zero.
        FormatRow{408, 5, "25.50"}, FormatRow{408, 4, "25.5"}, FormatRow{408, 3, " 25"},
        FormatRow{408, 2, "25"}, FormatRow{408, 1, "9"}, FormatRow{408, 15, "25.500000000000"},
        // -5.1875
        FormatRow{-83, 5, "-5.19"}, FormatRow{-83, 4, "-5.2"}, FormatRow{-83, 3, " -5"},
        FormatRow{-83, 2, "-5"}, FormatRow{-83, 1, "0"},
        // 9.9375 rounds up into one more digit.
        FormatRow{159, 2, "10"}, FormatRow{159, 3, "9.9"}, FormatRow{159, 4, "9.94"},
        // The sensor's limits.
        FormatRow{2000, 5, "125.0"}, FormatRow{2000, 4, " 125"}, FormatRow{2000, 2, "99"},
        FormatRow{-880, 5, "-55.0"}, FormatRow{-880, 3, "-55"}, FormatRow{-880, 2, "-9"},
        // -0.0625: a tie at three decimals, and no sign on a rounded zero.
        FormatRow{-1, 7, "-0.0625"}, FormatRow{-1, 6, "-0.062"}, FormatRow{-1, 4, "-0.1"},
        FormatRow{-1, 3, "  0"}, FormatRow{0, 5, "0.000"}));

// Every value the sensor can read, in every width the terminal can take and
// a few more: exactly width bytes, and a number within half a unit of its
// last digit, unless even its whole part does not fit.
TEST(FormatReading, EveryValueInEveryWidth) {
    for (int sixteenths = kSensorMinSixteenths; sixteenths <= kSensorMaxSixteenths; ++sixteenths) {
        const double exact = sixteenths / 16.0;
        // The sign and digits of the whole part with a decimal after it.
        // Rounding a tie away from zero may count a digit too many: that only skips checks.
        const auto wholeDigits =
            (exact < 0 ? 1 : 0) + QByteArray::number(std::abs(std::llround(exact))).size();
        for (int width = 1; width <= 18; ++width) {
            const QByteArray text = FormatReading(sixteenths, width);
            ASSERT_EQ(text.size(), width) << text.toStdString();
            if (wholeDigits > width)
                continue;
            const qsizetype point = text.indexOf('.');
            const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
            EXPECT_LE(std::abs(std::strtod(text.constData(), nullptr) - exact),
                      0.5 * std::pow(10.0, -double(decimals)) + 1e-12)
                << sixteenths << "/16 in " << width << ": " << text.toStdString();
            EXPECT_TRUE(decimals > 0 || width < wholeDigits + 2) << text.toStdString();
        }
    }
}

} // namespace
