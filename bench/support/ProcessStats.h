#pragma once

// What this process has used so far.

// User plus system CPU time of all its threads, in seconds.
double CpuSeconds();

// Resident memory, in bytes.
long ResidentBytes();
