#include "platform/CrtRand.h"

int CCrtRand::Rand() {
    m_nState = m_nState * 214013u + 2531011u;
    return static_cast<int>((m_nState >> 16) & 0x7FFF);
}

CCrtRand& CrtRand() {
    static CCrtRand generator;
    return generator;
}
