// The headline panel's text image for a feed of 25 items (its lines and font labels, aqHigh,
// 418 pixels wide), built by the text engine, against the same lines drawn with QPainter's
// own anti-aliased text and a plain one-pixel drop shadow in the same fonts and colours.
// EngineHeadlines builds a feed's image for the first time; EngineNextItem rebuilds it for
// the cycle's next item, when all but two lines come back as they were.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "aatext/HeadlineStyle.h"

namespace {

using namespace pelwick;

constexpr int Items = 25;

// The cycle's lines for a feed with a title, a date and 25 items of which the one at index
// current is current; a non-zero edition makes every line new (the engine keeps recent
// drawings).
std::vector<std::string> Lines(int current = 2, int edition = 0) {
    const char* subjects[] = {"Harbour bridge", "City council", "Local bakery",
                              "Regional rail line", "University researchers"};
    const char* stories[] = {"reopens after three years of repair work",
                             "approves new cycle lanes along the river",
                             "wins national bread award for its rye loaf",
                             "adds late trains on weekends from next month",
                             "find a cheaper way to store solar heat underground"};
    const std::string tail = edition ? " (" + std::to_string(edition) + ")" : "";
    std::vector<std::string> l{"<Title1>Pelwick Daily News" + tail,
                               "<Text2>Sat, 14 Jun 2025 09:30:00 GMT" + tail, "<line>"};
    for (int i = 0; i < Items; ++i)
        l.push_back(std::string(i == current ? "<text3>" : "<text1>") + std::to_string(i + 1) +
                    ". " + subjects[i % 5] + " " + stories[(i / 5 + i) % 5] + tail);
    return l;
}

// A feed seen for the first time: every line is drawn anew.
void EngineHeadlines(benchmark::State& state) {
    THeadlineRenderer renderer;
    int edition = 0, height = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<std::string> lines = Lines(2, ++edition);
        state.ResumeTiming();
        const TBitmap image = renderer.Render(lines, HeadlineTextWidth);
        height = image.Height();
        benchmark::DoNotOptimize(image.Bits());
    }
    state.counters["height"] = height;
}

// The cycle's next item: the feed's image was built with its first item current, and is
// built again with the second current, so two lines change font and the rest come back.
void EngineNextItem(benchmark::State& state) {
    THeadlineRenderer renderer;
    int edition = 0;
    for (auto _ : state) {
        state.PauseTiming();
        renderer.Render(Lines(0, ++edition), HeadlineTextWidth);
        const std::vector<std::string> lines = Lines(1, edition);
        state.ResumeTiming();
        const TBitmap image = renderer.Render(lines, HeadlineTextWidth);
        benchmark::DoNotOptimize(image.Bits());
    }
}

// The font, colour and shadow colour QPainter gets for each line, from its tag.
struct TPainterLine {
    QFont font;
    QColor color, shadow;
    QString text;
};

std::vector<TPainterLine> PainterLines() {
    TFontLabels fonts;
    AddHeadlineFontLabels(fonts);
    std::vector<TPainterLine> lines;
    for (std::string line : Lines()) {
        TFont font = HeadlineTextFont();
        TAAEffect effect;
        fonts.ApplyTags(line, &font, &effect);
        const TColor c = ColorToRGB(font.Color), s = ColorToRGB(effect.Shadow().Color());
        lines.push_back({ToQFont(font), QColor(GetRValue(c), GetGValue(c), GetBValue(c)),
                         QColor(GetRValue(s), GetGValue(s), GetBValue(s)),
                         QString::fromStdString(line)});
    }
    return lines;
}

void QPainterHeadlines(benchmark::State& state) {
    const std::vector<TPainterLine> lines = PainterLines();
    for (auto _ : state) {
        // Measure, then draw: as the engine does, the picture's height follows the rows.
        int height = THeadlineRenderer::Margin;
        for (const TPainterLine& line : lines)
            height += QFontMetrics(line.font).height() * 3 / 2;
        QImage image(HeadlineTextWidth, height + THeadlineRenderer::Margin, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        int y = THeadlineRenderer::Margin;
        for (const TPainterLine& line : lines) {
            const QFontMetrics metrics(line.font);
            painter.setFont(line.font);
            painter.setPen(line.shadow);
            painter.drawText(1, y + 1 + metrics.ascent(), line.text);
            painter.setPen(line.color);
            painter.drawText(0, y + metrics.ascent(), line.text);
            y += metrics.height() * 3 / 2;
        }
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

// One line of 10,000 characters in each panel font (a feed's runaway title): what it costs
// is set against a whole panel of ordinary headlines.
void EngineLongLine(benchmark::State& state) {
    static const char* const Fonts[] = {"<Title1>", "<Text1>", "<Text2>", "<text3>"};
    std::string words;
    while (words.size() < 10000)
        words += "Long titles run on ";
    THeadlineRenderer renderer;
    int edition = 0;
    for (auto _ : state) {
        // Every line new, so that no kept drawing is reused.
        const std::string line = Fonts[state.range(0)] + std::to_string(++edition) + words;
        const TBitmap image = renderer.Render({line}, HeadlineTextWidth);
        benchmark::DoNotOptimize(image.Bits());
    }
    state.SetLabel(Fonts[state.range(0)]);
}

BENCHMARK(EngineLongLine)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5);
BENCHMARK(QPainterHeadlines)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(EngineHeadlines)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(EngineNextItem)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    return pelwick::bench::RunBenchmarks(argc, argv,
                                         {{"EngineHeadlines", "QPainterHeadlines"},
                                          {"EngineNextItem", "QPainterHeadlines"},
                                          {"EngineLongLine/0", "EngineHeadlines"},
                                          {"EngineLongLine/1", "EngineHeadlines"},
                                          {"EngineLongLine/2", "EngineHeadlines"},
                                          {"EngineLongLine/3", "EngineHeadlines"}},
                                         pelwick::bench::bqGui);
}
