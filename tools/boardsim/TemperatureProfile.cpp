#include "boardsim/TemperatureProfile.h"

#include "boardsim/ReadingFormat.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr std::pair<ProfileShape, const char*> kNames[] = {
    {ProfileShape::Steady, "steady"}, {ProfileShape::Ramp, "ramp"}, {ProfileShape::Sine, "sine"}};

} // namespace

QString ProfileName(ProfileShape shape) {
    for (const auto& [named, name] : kNames) {
        if (named == shape)
            return QString::fromLatin1(name);
    }
    return {};
}

std::optional<ProfileShape> ProfileFromName(const QString& name) {
    for (const auto& [shape, known] : kNames) {
        if (name == QLatin1String(known))
            return shape;
    }
    return std::nullopt;
}

TemperatureProfile::TemperatureProfile(ProfileShape shape, std::uint32_t seed)
    : m_shape(shape), m_noise(seed) {}

int TemperatureProfile::Next() {
    // The generator's raw output, not a distribution: the same seed gives
    // the same run with any standard library.
    const int noise = static_cast<int>(m_noise() % 3) - 1;
    const int sixteenths = static_cast<int>(std::lround(Shape() * 16)) + noise;
    ++m_index;
    return std::clamp(sixteenths, kSensorMinSixteenths, kSensorMaxSixteenths);
}

double TemperatureProfile::Shape() const {
    switch (m_shape) {
    case ProfileShape::Steady:
        return 25.0;
    case ProfileShape::Ramp: {
        // 360 steps of half a degree up, 360 down.
        const long long step = m_index % 720;
        return -55.0 + 0.5 * static_cast<double>(step <= 360 ? step : 720 - step);
    }
    case ProfileShape::Sine:
        return 25.0 + 20.0 * std::sin(2 * std::numbers::pi * static_cast<double>(m_index) / 60);
    }
    return 25.0;
}
