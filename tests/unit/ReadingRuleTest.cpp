#include "temperature/ReadingRule.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <span>

namespace {

struct Reading {
    const char* text;
    double value;
};

const Reading kReadings[] = {
    {"25.5", 25.5},      {"25.50", 25.5},       {"-5.25", -5.25}, {" 21.0", 21.0},   {"+3", 3.0},
    {"1e2", 100.0},      {"2.5e", 2.5},         {".5", 0.5},      {"5.", 5.0},       {"abc", 0.0},
    {"", 0.0},           {"nan", 0.0},          {"inf", 0.0},     {"0x1A", 0.0},     {"-", 0.0},
    {".", 0.0},          {"1e+", 1.0},          {"\t\r12", 12.0}, {"25.5xyz", 25.5}, {"1,5", 1.0},
    {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"1e-999", 0.0},
};

// Beyond a double's range, a number is too large or too small by where its
// first digit stands, not by its exponent's sign alone.
const Reading kBeyondDouble[] = {
    {"0.1e310", HUGE_VAL}, {"1000e-330", 0.0},  {"-0.001e-322", 0.0},
    {"1e-310", 1e-310},    {"00.000e999", 0.0}, {"+1e99999999999999999999", HUGE_VAL},
};

void ExpectReadings() {
    using Table = std::span<const Reading>;
    for (Table table : {Table(kReadings), Table(kBeyondDouble)}) {
        for (const Reading& r : table)
            EXPECT_EQ(ReadCelsius(r.text), r.value) << '"' << r.text << '"';
    }
}

} // namespace

TEST(ReadCelsius, FollowsTheDecimalGrammarOnly) {
    ExpectReadings();
}

TEST(ReadCelsius, IgnoresTheUsersLocale) {
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    }
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    ExpectReadings();
    EXPECT_EQ(FormatReadout(25.5), "摄氏25.50℃");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(TemperatureConversions, ReadoutAndCurveValue) {
    struct Row {
        double reading;
        QString readout;
        int curve;
    };
    const Row rows[] = {
        {25.5, "摄氏25.50℃", 27},
        {25.99, "摄氏25.99℃", 27},
        {-2.5, "摄氏-2.50℃", 0},
        {-3.5, "摄氏-3.50℃", -1},
        {-5.25, "摄氏-5.25℃", -3},
        {0.0, "摄氏0.00℃", 2},
        {1e30, "摄氏1000000000000000019884624838656.00℃", INT_MAX},
        {HUGE_VAL, "摄氏inf℃", INT_MAX},
        {-HUGE_VAL, "摄氏-inf℃", INT_MIN},
        {3e9, "摄氏3000000000.00℃", INT_MAX},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatReadout(row.reading), row.readout) << row.reading;
        EXPECT_EQ(CurveValue(ToSinglePrecision(row.reading)), row.curve) << row.reading;
    }
}
