#include "support/Row.h"

#include <cstdio>

void PrintRow(const std::string& measure, const std::string& figure, const std::string& target,
              bool met) {
    std::printf("| %s | %s | %s | %s |\n", measure.c_str(), figure.c_str(), target.c_str(),
                met ? "yes" : "**no**");
    std::fflush(stdout);
}

void PrintInformation(const std::string& measure, const std::string& figure) {
    std::printf("| %s | %s | information | — |\n", measure.c_str(), figure.c_str());
    std::fflush(stdout);
}

std::string Figure(double value, int decimals, const std::string& unit) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return unit.empty() ? buffer : std::string(buffer) + ' ' + unit;
}
