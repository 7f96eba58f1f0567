#pragma once

#include <QString>

#include <optional>

// The device COMn names, by the terminal's own rule, when a board may be
// behind it: the device of a port link, if it exists, or a detected USB
// adapter or USB CDC device. An on-board UART does not count: most computers
// have one with nothing attached.
std::optional<QString> BoardDevice(int number);
