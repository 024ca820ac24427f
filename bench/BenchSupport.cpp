#include "BenchSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace pelwick::bench {

void TRecordingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        // A benchmark with arguments is known by them too: "Name/3".
        const std::string name =
            run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            medians_[name] = run.GetAdjustedRealTime();
        else if (run.run_type == Run::RT_Iteration)
            singles_[name] = run.GetAdjustedRealTime();
    }
}

double TRecordingReporter::Time(const std::string& name) const {
    if (auto m = medians_.find(name); m != medians_.end()) return m->second;
    if (auto s = singles_.find(name); s != singles_.end()) return s->second;
    return 0;
}

int RunAndPrintRatios(const TRatios& ratios) {
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    int missing = 0;
    for (const auto& [num, den] : ratios) {
        const double a = reporter.Time(num), b = reporter.Time(den);
        if (a <= 0 || b <= 0) {
            // A ratio that was not measured must not read as a target met.
            std::printf("FAILED: ratio %s / %s not measured (%s did not run)\n", num.c_str(),
                        den.c_str(), a <= 0 ? num.c_str() : den.c_str());
            ++missing;
            continue;
        }
        std::printf("Ratio %s / %s = %.2f\n", num.c_str(), den.c_str(), a / b);
    }
    return missing ? 1 : 0;
}

namespace {

std::unique_ptr<QCoreApplication> MakeApplication(TBenchQt qt, int& argc, char** argv) {
    if ((qt == bqGui || qt == bqWidgets) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    switch (qt) {
        case bqNone:
            return nullptr;
        case bqCore:
            return std::make_unique<QCoreApplication>(argc, argv);
        case bqGui:
            return std::make_unique<QGuiApplication>(argc, argv);
        case bqWidgets:
            return std::make_unique<QApplication>(argc, argv);
    }
    return nullptr;
}

}  // namespace

int WithBenchmarks(int argc, char** argv, TBenchQt qt, const std::function<int()>& body,
                   const std::vector<std::string>& defaults) {
    // Qt sees the program's name only (the options are the benchmark library's), and keeps
    // a reference to the count while the application lives.
    int qtArgc = 1;
    const std::unique_ptr<QCoreApplication> app = MakeApplication(qt, qtArgc, argv);
    std::vector<std::string> added = defaults;
    std::vector<char*> args(argv, argv + argc);
    const bool chosen = std::any_of(args.begin(), args.end(), [](const char* a) {
        return std::string(a).rfind("--benchmark_repetitions", 0) == 0;
    });
    if (!chosen)
        for (std::string& option : added)
            args.push_back(option.data());
    int benchArgc = static_cast<int>(args.size());
    benchmark::Initialize(&benchArgc, args.data());
    return body();
}

int RunBenchmarks(int argc, char** argv, const TRatios& ratios, TBenchQt qt) {
    return WithBenchmarks(argc, argv, qt, [&] { return RunAndPrintRatios(ratios); });
}

}  // namespace pelwick::bench
