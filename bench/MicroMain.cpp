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
            for (const auto& [name, counter] : run.counters)
                results[run.benchmark_name() + "/" + name] = counter.value;
        }
    }
    BenchResults results;
};

} // namespace

int main(int argc, char** argv) {
    // A window asks to be painted on a timer, 5 ms by default; at 0 the
    // paint comes at the next pass of the event loop, which a benchmark
    // iteration can run.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
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
