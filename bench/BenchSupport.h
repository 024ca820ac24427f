#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pelwick::bench {

// The names of two benchmarks whose times are printed as a ratio, numerator first.
using TRatios = std::vector<std::pair<std::string, std::string>>;

// The Qt application a benchmark needs while it runs: none, one for events only, or one that
// draws (on the offscreen platform, so that no display is needed), with widgets or without.
enum TBenchQt { bqNone, bqCore, bqGui, bqWidgets };

// The console report as usual, keeping every benchmark's real time per iteration (in its own
// unit) by name and arguments: the median when it ran repetitions (it resists a machine that
// is busy now and then), else its single run.
class TRecordingReporter : public benchmark::ConsoleReporter {
  public:
    TRecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    // The time of a benchmark ("Name" or "Name/3"), 0 when it did not run.
    double Time(const std::string& name) const;

  private:
    std::map<std::string, double> medians_, singles_;
};

// Runs the registered benchmarks with the console reporter, then prints for every pair
// (numerator, denominator) of benchmark names the ratio of their real times per iteration.
// Returns the process exit code: 1 with a line naming it when a ratio's benchmark did not run
// (filtered out, skipped with an error), so that nothing measured never passes.
int RunAndPrintRatios(const TRatios& ratios);

// What every benchmark's main does: makes the Qt application, hands the command line to the
// benchmark library and runs body while the application lives; returns what body returns.
// defaults are the library's options to add when the command line sets no repetitions of its
// own (a shared machine wants medians of a few).
int WithBenchmarks(int argc, char** argv, TBenchQt qt, const std::function<int()>& body,
                   const std::vector<std::string>& defaults = {});

// The whole main of most benchmarks: the registered benchmarks, then their ratios.
int RunBenchmarks(int argc, char** argv, const TRatios& ratios, TBenchQt qt = bqNone);

}  // namespace pelwick::bench
