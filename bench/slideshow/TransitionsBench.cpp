// The frame of every transition style at 1920 x 1080, at progress 25, 50 and 75,
// against the cross-fade's frame at the same progress in the same run. A frame is what the
// picture screen composes for one step (snapshot, style, completion); putting it on screen
// costs every style alike and is timed once on its own. The style's frames and the
// cross-fade's alternate in short runs on screens of their own, so that a machine busy with
// other work slows both alike and their ratio holds.
//
// Targets: the rectangle and region styles and the named region and copy effects at most 2
// times the cross-fade (13 and 164, which came nearest, 1.6), the pixel effects at most 3
// times, the pivots at most 10 times, and every frame inside the default frame delay of 20
// ms. A style or baseline that did not run fails the benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BenchPictures.h"
#include "BenchSupport.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace {

using namespace pelwick;

constexpr int W = 1920, H = 1080;
constexpr int Progresses[] = {25, 50, 75};

TBitmap Picture(int seed) {
    return bench::PatternPicture(W, H, seed);
}

// Two picture screens configured as the slideshow's: one for the style measured, one for
// the cross-fade it is measured against.
TGlimrascreen& Screen(int which) {
    static TGlimrascreen* screens[2] = {};
    if (!screens[which]) {
        auto* s = new TGlimrascreen;
        s->SetAutoSize(false);
        s->resize(W, H);
        s->SetColor(clBlack);
        s->SetBgMode(TCustomGlimrascreen::bmNone);
        s->SetCenter(true);
        s->SetThreaded(false);
        s->SetManual(true);
        s->SetStep(6);  // EffectSpeed2 2, the default
        screens[which] = s;
    }
    return *screens[which];
}

// The old picture on screen and the transition to the new one prepared at progress p.
void Prepare(TGlimrascreen& s, int style, int p) {
    static const TBitmap oldPicture = Picture(1), newPicture = Picture(2);
    if (s.Running()) s.StopTransition();
    s.SetStyle(StyleCrossFade);
    s.Picture().SetBitmap(oldPicture);
    s.StartTransition();
    s.SetProgress(100);
    s.StopTransition();
    s.SetStyle(style);
    s.Picture().SetBitmap(newPicture);
    s.StartTransition();
    s.SetProgress(p);
}

std::string Name(int style, int p) {
    char name[32];
    std::snprintf(name, sizeof name, "Frame/%03d/%d", style, p);
    return name;
}

// Frames in a run, each composed from scratch as in the saver.
constexpr int Run = 8;

// The time per frame of a run of frames.
double Seconds(TGlimrascreen& s) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < Run; ++i) {
        s.ComposeFrame();
        benchmark::DoNotOptimize(s.ScreenBitmap().Bits());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / Run;
}

// The style's frame is the benchmark's time; the cross-fade's, composed in a run right after
// each run of the style's, goes into the counter "fade".
void ComposeFrame(benchmark::State& state, int style, int p) {
    TGlimrascreen &measured = Screen(0), &fade = Screen(1);
    Prepare(measured, style, p);
    Prepare(fade, StyleCrossFade, p);
    double fadeSeconds = 0;
    for (auto _ : state) {
        state.SetIterationTime(Seconds(measured));
        fadeSeconds += Seconds(fade);
    }
    state.counters["fade"] = benchmark::Counter(fadeSeconds, benchmark::Counter::kAvgIterations);
}

// Putting a whole composed frame on screen, the part every style shares.
void ShowWholeFrame(benchmark::State& state) {
    Prepare(Screen(0), StyleCrossFade, 50);
    for (auto _ : state) {
        Screen(0).InvalidatePictureArea(TRect{0, 0, W, H});
        Screen(0).RenderFrame();
    }
}

double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Keeps each repetition's time per iteration and its cross-fade's, by benchmark; when only
// the aggregates are reported (--benchmark_report_aggregates_only), their medians.
class TRecorder : public benchmark::BenchmarkReporter {
  public:
    std::map<std::string, std::vector<double>> seconds, fades;
    std::map<std::string, double> medianSeconds, medianFades;
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations <= 0) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            const std::string& name = run.run_name.function_name;
            const double time =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto fade = run.counters.find("fade");
            if (median) {
                medianSeconds[name] = time;
                if (fade != run.counters.end()) medianFades[name] = fade->second.value;
                continue;
            }
            seconds[name].push_back(time);
            if (fade != run.counters.end()) fades[name].push_back(fade->second.value);
        }
    }
    // -1 when the benchmark did not run.
    double Ms(const std::string& name) const {
        if (const auto it = seconds.find(name); it != seconds.end())
            return Median(it->second) * 1000;
        const auto m = medianSeconds.find(name);
        return m == medianSeconds.end() ? -1 : m->second * 1000;
    }
    // The median of the repetitions' ratios of the style's frame to the cross-fade's (or the
    // ratio of the medians when only those were reported); -1 when either is missing.
    double Ratio(const std::string& name) const {
        const auto s = seconds.find(name), f = fades.find(name);
        if (s != seconds.end() && f != fades.end() && s->second.size() == f->second.size()) {
            std::vector<double> ratios;
            for (size_t i = 0; i < s->second.size(); ++i)
                if (f->second[i] > 0) ratios.push_back(s->second[i] / f->second[i]);
            return Median(ratios);
        }
        const auto ms = medianSeconds.find(name), mf = medianFades.find(name);
        if (ms == medianSeconds.end() || mf == medianFades.end() || mf->second <= 0) return -1;
        return ms->second / mf->second;
    }
    // The cross-fade's frame at progress p over all benchmarks at p; -1 when none ran.
    double FadeMs(int p) const {
        std::string tail = "/";  // not "/" + ...: GCC 12 warns falsely of overlapping copies
        tail += std::to_string(p);
        const auto atP = [&](const std::string& name) {
            return name.size() > tail.size() &&
                   name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
        };
        std::vector<double> all;
        for (const auto& [name, values] : fades)
            if (atP(name)) all.insert(all.end(), values.begin(), values.end());
        if (all.empty())
            for (const auto& [name, value] : medianFades)
                if (atP(name)) all.push_back(value);
        const double median = Median(all);
        return median < 0 ? -1 : median * 1000;
    }
};

// The families of styles, each with its target against the cross-fade frame: the rectangle
// and region styles and the named region and copy effects 2, the pivots 10, the named pixel
// effects 3.
enum TFamily { fmRect, fmRegion, fmPivot, fmEffect, fmPixel, fmCount };
const char* const FamilyNames[] = {"rect", "region", "pivot", "effect", "pixel"};
constexpr double FamilyTargets[] = {2, 2, 10, 2, 3};

TFamily FamilyOf(int style) {
    if (style <= 57) return fmRect;
    if (style >= 119 && style <= 122) return fmPivot;
    if (style <= 127) return fmRegion;
    return style >= 168 ? fmPixel : fmEffect;
}

// The styles that came nearest their family's target keep a margin below it.
double TargetOf(int style) {
    return style == 13 || style == 164 ? 1.6 : FamilyTargets[FamilyOf(style)];
}

// The table of ratios, a line per family with its worst style, and a line for every frame
// that was not measured. Returns 1 when anything is missing: a table without its numbers
// must never read as targets met.
int PrintTable(const TRecorder& r) {
    std::printf("\nFrames at %d x %d, each against the cross-fade frame composed right after it\n",
                W, H);
    int missing = 0;
    for (int p : Progresses)
        if (r.FadeMs(p) < 0) {
            std::printf("FAILED: no cross-fade frame measured at progress %d\n", p);
            ++missing;
        }
    std::printf("cross-fade frame: %.3f / %.3f / %.3f ms at 25 / 50 / 75", r.FadeMs(25),
                r.FadeMs(50), r.FadeMs(75));
    if (r.Ms("ShowWholeFrame") > 0)
        std::printf("; showing a whole frame: %.3f ms", r.Ms("ShowWholeFrame"));
    std::printf("\n\n%5s  %-6s %-55s %6s %6s %6s %9s\n", "style", "kind", "name", "25", "50", "75",
                "worst ms");
    double worstMs = 0, worst[fmCount] = {};
    int worstStyle[fmCount] = {}, over = 0;
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style) {
        if (style == StyleCrossFade) continue;
        double ratios[3], slowest = 0;
        bool measured = true;
        for (int i = 0; i < 3; ++i) {
            ratios[i] = r.Ratio(Name(style, Progresses[i]));
            const double ms = r.Ms(Name(style, Progresses[i]));
            measured = measured && ratios[i] >= 0 && ms >= 0;
            slowest = std::max(slowest, ms);
        }
        if (!measured) {
            std::printf("FAILED: style %d (%s) not measured at every progress\n", style,
                        EffectTable[style].Name);
            ++missing;
            continue;
        }
        const double ratio = *std::max_element(ratios, ratios + 3);
        const TFamily family = FamilyOf(style);
        if (ratio > worst[family]) worst[family] = ratio, worstStyle[family] = style;
        worstMs = std::max(worstMs, slowest);
        const bool isOver = ratio > TargetOf(style) || slowest > 20;
        over += isOver;
        std::printf("%5d  %-6s %-55s %6.2f %6.2f %6.2f %9.3f%s\n", style, FamilyNames[family],
                    EffectTable[style].Name, ratios[0], ratios[1], ratios[2], slowest,
                    isOver ? "  over target" : "");
    }
    std::printf("\n");
    for (int f = 0; f < fmCount; ++f)
        if (worstStyle[f])
            std::printf("worst %-6s: %3d at %.2f x the cross-fade (target %g)\n", FamilyNames[f],
                        worstStyle[f], worst[f], FamilyTargets[f]);
    for (int style : {13, 164})
        std::printf("style %3d: %.2f x the cross-fade at worst (target %g)\n", style,
                    std::max({r.Ratio(Name(style, 25)), r.Ratio(Name(style, 50)),
                              r.Ratio(Name(style, 75))}),
                    TargetOf(style));
    std::printf("slowest frame: %.3f ms (target 20)\n", worstMs);
    std::printf("styles over a target: %d\n", over);
    if (missing) std::printf("FAILED: %d frames or baselines missing\n", missing);
    return missing ? 1 : 0;
}

// Every built style's frames at each progress, then their table.
int RunAndPrint() {
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style) {
        if (style == StyleCrossFade) continue;
        for (int p : Progresses)
            benchmark::RegisterBenchmark(Name(style, p).c_str(), ComposeFrame, style, p)
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->MinTime(0.05);
    }
    benchmark::RegisterBenchmark("ShowWholeFrame", ShowWholeFrame)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.05);
    TRecorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    return PrintTable(recorder);
}

}  // namespace

int main(int argc, char** argv) {
    // Medians of three short repetitions unless the caller asks otherwise: the machine is
    // shared, and there are almost four hundred frames to time.
    return pelwick::bench::WithBenchmarks(argc, argv, pelwick::bench::bqWidgets, RunAndPrint,
                                          {"--benchmark_repetitions=3"});
}
