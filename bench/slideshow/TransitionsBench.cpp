// The frame of every transition style at 1920 x 1080, at progress 25, 50 and 75,
// against the cross-fade's frame at the same progress in the same run. A frame is what the
// picture screen composes for one step (snapshot, style, completion); putting it on screen
// costs every style alike and is timed once on its own. The style's frames and the
// cross-fade's alternate in short runs on screens of their own, so that a machine busy with
// other work slows both alike and their ratio holds.
//
// Targets: the rectangle and region styles and the named region and copy effects at most 2
// times the cross-fade, the pixel effects at most 3 times, the pivots at most 10 times, and
// every frame inside the default frame delay of 20 ms.
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

// Keeps each repetition's time per iteration and its cross-fade's, by benchmark.
class TRecorder : public benchmark::BenchmarkReporter {
  public:
    std::map<std::string, std::vector<double>> seconds, fades;
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations <= 0)
                continue;
            const std::string& name = run.run_name.function_name;
            seconds[name].push_back(run.real_accumulated_time / run.iterations);
            if (const auto it = run.counters.find("fade"); it != run.counters.end())
                fades[name].push_back(it->second.value);
        }
    }
    double Ms(const std::string& name) const {
        const auto it = seconds.find(name);
        return it == seconds.end() ? -1 : Median(it->second) * 1000;
    }
    // The median of the repetitions' ratios of the style's frame to the cross-fade's.
    double Ratio(const std::string& name) const {
        const auto s = seconds.find(name), f = fades.find(name);
        if (s == seconds.end() || f == fades.end() || s->second.size() != f->second.size())
            return -1;
        std::vector<double> ratios;
        for (size_t i = 0; i < s->second.size(); ++i)
            if (f->second[i] > 0) ratios.push_back(s->second[i] / f->second[i]);
        return Median(ratios);
    }
    // The cross-fade's frame at progress p over all benchmarks at p.
    double FadeMs(int p) const {
        std::vector<double> all;
        std::string tail = "/";
        tail += std::to_string(p);
        for (const auto& [name, values] : fades)
            if (name.size() > tail.size() &&
                name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
                all.insert(all.end(), values.begin(), values.end());
        return Median(all) * 1000;
    }
};

// The families the targets are set for: 0 rectangles, regions and the named region and
// copy effects, 1 the pivots, 2 the named pixel effects.
int Group(int style) {
    return style >= 119 && style <= 122 ? 1 : style >= 168 ? 2 : 0;
}

const char* Family(int style) {
    if (style <= 57) return "rect";
    if (style <= 127) return Group(style) == 1 ? "pivot" : "region";
    return Group(style) == 2 ? "pixel" : "effect";
}

constexpr double Targets[] = {2, 10, 3};
const char* const GroupNames[] = {"rectangle, region or effect", "pivot", "pixel effect"};

// The table of ratios, and a last line per target: the worst style and whether it is met.
int PrintTable(const TRecorder& r) {
    std::printf("\nFrames at %d x %d, each against the cross-fade frame composed right after it\n",
                W, H);
    std::printf("cross-fade frame: %.3f / %.3f / %.3f ms at 25 / 50 / 75", r.FadeMs(25),
                r.FadeMs(50), r.FadeMs(75));
    if (r.Ms("ShowWholeFrame") > 0)
        std::printf("; showing a whole frame: %.3f ms", r.Ms("ShowWholeFrame"));
    std::printf("\n\n%5s  %-6s %-55s %6s %6s %6s %9s\n", "style", "kind", "name", "25", "50", "75",
                "worst ms");
    double worstMs = 0, worst[3] = {0, 0, 0};
    int worstStyle[3] = {0, 0, 0}, missed = 0;
    for (int style = 1; style <= TEffectTable::Last; ++style) {
        if (style == StyleCrossFade || r.Ms(Name(style, 50)) < 0) continue;
        double ratios[3], slowest = 0;
        for (int i = 0; i < 3; ++i) {
            ratios[i] = r.Ratio(Name(style, Progresses[i]));
            slowest = std::max(slowest, r.Ms(Name(style, Progresses[i])));
        }
        const double ratio = *std::max_element(ratios, ratios + 3);
        const int group = Group(style);
        if (ratio > worst[group]) worst[group] = ratio, worstStyle[group] = style;
        worstMs = std::max(worstMs, slowest);
        const bool over = ratio > Targets[group] || slowest > 20;
        missed += over;
        std::printf("%5d  %-6s %-55s %6.2f %6.2f %6.2f %9.3f%s\n", style, Family(style),
                    EffectTable[style].Name, ratios[0], ratios[1], ratios[2], slowest,
                    over ? "  over target" : "");
    }
    std::printf("\n");
    for (int g = 0; g < 3; ++g)
        std::printf("worst %s: %d at %.2f x the cross-fade (target %g)\n", GroupNames[g],
                    worstStyle[g], worst[g], Targets[g]);
    std::printf("slowest frame: %.3f ms (target 20)\n", worstMs);
    std::printf("styles over a target: %d\n", missed);
    return 0;
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
