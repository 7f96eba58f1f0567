#pragma once

#include <sys/types.h>

// What this process has used so far.

// User plus system CPU time of all its threads, in seconds.
double CpuSeconds();

// Resident memory, in bytes.
long ResidentBytes();

// What another process has used so far, all its threads together, from the
// scheduler's own account (/proc/<pid>/task/*/schedstat): the tick-sampled
// times of /proc/<pid>/stat charge a process that wakes on a 10 ms timer
// with whole ticks it did not use.
double CpuSecondsOf(pid_t pid);
long ResidentBytesOf(pid_t pid);

// How often the process's threads have gone to sleep and been woken since
// they started (their voluntary context switches).
long WakeUpsOf(pid_t pid);
