#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <random>

enum class ProfileShape {
    Steady, // room temperature, 25 °C
    Ramp,   // the sensor's whole range, -55 to 125 °C and back, 0.5 °C per reading
    Sine,   // 25 ± 20 °C, one period every 60 readings
};

// "steady", "ramp", "sine".
QString ProfileName(ProfileShape shape);
std::optional<ProfileShape> ProfileFromName(const QString& name);

// The temperatures the board's sensor reads, one per reading, in sixteenths
// of a degree within the sensor's range. Every shape carries the sensor's
// noise of one step (0.0625 °C) either way; the seed makes a run repeatable.
class TemperatureProfile {
public:
    TemperatureProfile(ProfileShape shape, std::uint32_t seed);

    int Next();

private:
    double Shape() const;

    ProfileShape m_shape;
    std::mt19937 m_noise;
    long long m_index = 0;
};
