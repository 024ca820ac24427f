#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace pelwick::bench {

namespace {

// The console output as usual, and the real time per iteration of every benchmark kept by
// name (and arguments): the median when it ran repetitions (it resists a machine that is busy now
// and then), else its single run.
class TRecordingReporter : public benchmark::ConsoleReporter {
  public:
    TRecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // A benchmark with arguments is known by them too: "Name/3".
            const std::string name = run.run_name.function_name +
                                     (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[name] = run.GetAdjustedRealTime();
            else if (run.run_type == Run::RT_Iteration)
                singles[name] = run.GetAdjustedRealTime();
        }
    }
    double Time(const std::string& name) const {
        if (auto m = medians.find(name); m != medians.end()) return m->second;
        if (auto s = singles.find(name); s != singles.end()) return s->second;
        return 0;
    }
    std::map<std::string, double> medians, singles;
};

}  // namespace

int RunAndPrintRatios(const std::vector<std::pair<std::string, std::string>>& ratios) {
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto& [num, den] : ratios) {
        const double a = reporter.Time(num), b = reporter.Time(den);
        if (a <= 0 || b <= 0) {
            std::printf("Ratio %s / %s: not measured\n", num.c_str(), den.c_str());
            continue;
        }
        std::printf("Ratio %s / %s = %.2f\n", num.c_str(), den.c_str(), a / b);
    }
    return 0;
}

}  // namespace pelwick::bench
