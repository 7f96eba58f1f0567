#pragma once

#include <sys/types.h>

// The X server the benchmarks run on, as scripts/bench.sh started it: its
// process id from XSERVER_PID. Throws std::runtime_error without one.
pid_t XServerPid();
