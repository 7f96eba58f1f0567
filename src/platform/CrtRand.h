#pragma once

#include <cstdint>

// rand() as the original platform's C library has it: a linear congruential
// generator giving 0 to 32767. It is never seeded, so its state starts at 1
// and every run draws the same sequence: 41, 18467, 6334, 26500, ...
class CCrtRand {
public:
    int Rand();

private:
    std::uint32_t m_nState = 1;
};

// The program's one generator, as the C library keeps one.
CCrtRand& CrtRand();
