#include "platform/CrtRand.h"

CCrtRand& CrtRand() {
    static CCrtRand generator;
    return generator;
}
