#pragma once

#include <string>

// One line of the benchmark table, as a Markdown row on standard output:
// what was measured, the figure, the target and whether it was met.
void PrintRow(const std::string& measure, const std::string& figure, const std::string& target,
              bool met);

// A row that reports a figure without judging it.
void PrintInformation(const std::string& measure, const std::string& figure);

// A figure with a fixed number of decimals and its unit, e.g. "12.3 µs".
std::string Figure(double value, int decimals, const std::string& unit = {});
