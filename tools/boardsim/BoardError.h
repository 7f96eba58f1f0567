#pragma once

#include <stdexcept>

// Why the simulator cannot play the board; main reports it and exits.
struct BoardError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
