#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace pelwick::bench {

namespace {

// The console output as usual, and the real time per iteration of every run kept by name.
class TRecordingReporter : public benchmark::ConsoleReporter {
  public:
    TRecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int RunAndPrintRatios(const std::vector<std::pair<std::string, std::string>>& ratios) {
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto& [num, den] : ratios) {
        const auto a = reporter.times.find(num), b = reporter.times.find(den);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) {
            std::printf("ratio %s / %s: not measured\n", num.c_str(), den.c_str());
            continue;
        }
        std::printf("ratio %s / %s = %.2f\n", num.c_str(), den.c_str(), a->second / b->second);
    }
    return 0;
}

}  // namespace pelwick::bench
