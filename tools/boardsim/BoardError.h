#pragma once

#include <stdexcept>

// Why the simulator cannot play the board; main reports it and exits.
struct BoardError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The COM number is someone else's. main exits with its own status, so that
// a script can try the next number.
struct PortTakenError : BoardError {
    using BoardError::BoardError;
};
