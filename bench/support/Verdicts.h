#pragma once

#include <functional>
#include <map>
#include <string>

// Google Benchmark measures; each benchmark file then judges its own figures
// against its targets and prints them as rows of the table.

// Benchmark name -> CPU time per iteration, in microseconds; and
// benchmark name/counter name -> the counter's value.
using BenchResults = std::map<std::string, double>;
using Verdict = std::function<void(const BenchResults&)>;

// Registers a verdict to run once every benchmark has run; returns true so
// that it can initialise a file-level constant.
bool AddVerdict(Verdict verdict);

// Runs the verdicts in registration order. A benchmark left out by a filter
// is missing from results; its verdict prints nothing for it.
void RunVerdicts(const BenchResults& results);
