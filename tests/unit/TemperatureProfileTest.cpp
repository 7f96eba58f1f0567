#include "boardsim/TemperatureProfile.h"
#include "boardsim/ReadingFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

std::vector<int> Readings(ProfileShape shape, std::uint32_t seed, int readings) {
    TemperatureProfile profile(shape, seed);
    std::vector<int> values(readings);
    std::generate(values.begin(), values.end(), [&] { return profile.Next(); });
    return values;
}

struct ShapeRow {
    ProfileShape shape;
    int lowest, highest; // in sixteenths, the noise included
    int largestStep;     // between two readings
};

class Shapes : public ::testing::TestWithParam<ShapeRow> {};

// Two periods of each shape stay where the shape says, move as smoothly as
// it does, and repeat exactly for the same seed.
TEST_P(Shapes, StayInTheirBandAndRepeatForASeed) {
    const ShapeRow& row = GetParam();
    const std::vector<int> values = Readings(row.shape, 7, 1440);
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    EXPECT_GE(*lowest, row.lowest);
    EXPECT_LE(*highest, row.highest);
    EXPECT_LE(*lowest, row.lowest + 1) << "the band is used";
    EXPECT_GE(*highest, row.highest - 1) << "the band is used";
    for (size_t i = 1; i < values.size(); ++i)
        ASSERT_LE(std::abs(values[i] - values[i - 1]), row.largestStep) << i;
    EXPECT_EQ(Readings(row.shape, 7, 1440), values);
    EXPECT_NE(Readings(row.shape, 8, 1440), values);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Shapes,
    ::testing::Values(ShapeRow{ProfileShape::Steady, 25 * 16 - 1, 25 * 16 + 1, 2},
                      // The noise at the sensor's limits is cut off.
                      ShapeRow{ProfileShape::Ramp, kSensorMinSixteenths, kSensorMaxSixteenths, 10},
                      // 20 °C × 2π / 60 per reading at most.
                      ShapeRow{ProfileShape::Sine, 5 * 16 - 1, 45 * 16 + 1, 36}));

} // namespace
