#include "platform/CrtRand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(CrtRand, UnseededDrawsTheOriginalSequence) {
    CCrtRand generator;
    std::vector<int> first;
    for (int i = 0; i < 12; ++i)
        first.push_back(generator.Rand());
    EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962,
                                       24464, 5705, 28145}));
}

TEST(CrtRand, StaysInFifteenBitsAndReachesBothEnds) {
    CCrtRand generator;
    int lowest = 32767;
    int highest = 0;
    int inCurveRange = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = generator.Rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        inCurveRange += value <= 100;
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
    // About one draw in 324 lands in the test feed's 0 to 100: a tick is cheap.
    EXPECT_GT(inCurveRange, 100);
}
