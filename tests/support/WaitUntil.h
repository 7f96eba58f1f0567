#pragma once

#include <chrono>
#include <functional>

// Processes Qt events until the condition holds or the deadline passes;
// returns whether it held. Tests wait on conditions, never on the clock.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(5));

// Processes the events that are due now, and those they post in turn, for
// a short while: enough for anything already under way to have happened.
void DrainEvents();
