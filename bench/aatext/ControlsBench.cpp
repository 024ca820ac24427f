// The scrolling text as the headline panel would run it. First the CPU time the whole
// process spends while one scroll text steps every 16 ms for a few seconds, with the timer
// service polling the UI thread every millisecond against sleeping until a timer is due
// (the reported time per iteration is that CPU time). Then one scroll step at the panel's
// size (two bands copied, both edges faded, the frame put on the control) against building
// the text image, which the panel does only when its lines change.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <ctime>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "aatext/AAScrollText.h"
#include "aatext/HeadlineStyle.h"

namespace {

using namespace pelwick;

constexpr int PanelHeight = 342;
constexpr int RunMilliseconds = 4000;

std::vector<std::string> PanelLines() {
    std::vector<std::string> lines{"<Title1>Pelwick Daily News", "<Text2>Sat, 14 Jun 2025",
                                   "<line>"};
    for (int i = 0; i < 25; ++i)
        lines.push_back("<Text1>" + std::to_string(i + 1) +
                        ". Harbour bridge reopens after three years of repair work");
    return lines;
}

// A panel-sized scroll text in the headline look on a shown window.
struct TPanel {
    QWidget window;
    TAAScrollText text{&window};
    TPanel() {
        window.resize(HeadlineTextWidth + 10, PanelHeight);
        text.setGeometry(0, 0, HeadlineTextWidth, PanelHeight);
        SetHeadlineTextParams(text.Text());
        AddHeadlineFontLabels(text.Fonts());
        text.Labels().AddStandardLabels();
        text.Glyphs().SetQuality(aqHigh);
        text.Text().SetFont(HeadlineTextFont());
        text.Text().SetBackColor(HeadlineBackColor);
        text.SetScrollDelay(16);
        text.SetRepeatDelay(0);
        text.Text().Lines().Assign(PanelLines());
        text.Loaded();
        window.show();
    }
};

void RunScrolling(benchmark::State& state, bool polling, bool active = true) {
    TAATimerMgr::Instance().SetPolling(polling);
    const auto handOvers = TAATimerMgr::Instance().Thread().HandOvers();
    for (auto _ : state) {
        TPanel panel;
        panel.text.SetActive(active);
        int steps = 0;
        panel.text.OnPainted = [&steps] { ++steps; };
        const std::clock_t start = std::clock();
        QTimer::singleShot(RunMilliseconds, qApp, [] { QApplication::quit(); });
        QApplication::exec();
        const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        state.SetIterationTime(cpu);
        state.counters["steps"] = steps;
    }
    state.counters["handovers"] =
        static_cast<double>(TAATimerMgr::Instance().Thread().HandOvers() - handOvers);
    TAATimerMgr::Instance().SetPolling(false);
}

void ScrollPolling(benchmark::State& state) {
    RunScrolling(state, true);
}
void ScrollSleeping(benchmark::State& state) {
    RunScrolling(state, false);
}

// The headline panel itself never scrolls: its timer service has nothing to do.
void IdlePolling(benchmark::State& state) {
    RunScrolling(state, true, false);
}
void IdleSleeping(benchmark::State& state) {
    RunScrolling(state, false, false);
}

void ScrollStep(benchmark::State& state) {
    TPanel panel;
    panel.text.SetActive(false);
    for (auto _ : state)
        panel.text.ScrollTimerTick();
    benchmark::DoNotOptimize(panel.text.Image().Bits());
}

void BuildTextImage(benchmark::State& state) {
    TPanel panel;
    panel.text.SetActive(false);
    int n = 0;
    for (auto _ : state)
        panel.text.Text().SetRowPitch(HeadlineRowPitch + (++n & 1));
}

BENCHMARK(ScrollPolling)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(ScrollSleeping)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(IdlePolling)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(IdleSleeping)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(ScrollStep)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BuildTextImage)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return pelwick::bench::RunBenchmarks(argc, argv,
                                         {{"ScrollSleeping", "ScrollPolling"},
                                          {"IdleSleeping", "IdlePolling"},
                                          {"ScrollStep", "BuildTextImage"}},
                                         pelwick::bench::bqWidgets);
}
