#include "support/Verdicts.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

// Prints Google Benchmark's own table on standard error and keeps each
// figure for the verdicts, which print the rows on standard output.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double perMicrosecond = benchmark::GetTimeUnitMultiplier(run.time_unit) /
                                          benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond);
            results[run.benchmark_name()] = run.GetAdjustedCPUTime() / perMicrosecond;
        }
    }
    BenchResults results;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    RunVerdicts(reporter.results);
    return 0;
}
