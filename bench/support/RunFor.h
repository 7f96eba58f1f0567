#pragma once

#include <chrono>

// Runs the event loop for span. Not QApplication::exec and quit: since Qt 6,
// quit closes every window first, and the dialog under test would be
// measured hidden.
void RunFor(std::chrono::milliseconds span);
