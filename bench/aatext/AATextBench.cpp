// The headline panel's text image for a feed of 25 items (its lines and font labels, aqHigh,
// 418 pixels wide), built by the text engine, against the same lines drawn with QPainter's
// own anti-aliased text and a plain one-pixel drop shadow in the same fonts and colours.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "aatext/HeadlineStyle.h"

namespace {

using namespace pelwick;

constexpr int Items = 25;

// The cycle's lines for a feed with a title, a date and 25 items, the third current.
const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = [] {
        const char* subjects[] = {"Harbour bridge", "City council", "Local bakery",
                                  "Regional rail line", "University researchers"};
        const char* stories[] = {"reopens after three years of repair work",
                                 "approves new cycle lanes along the river",
                                 "wins national bread award for its rye loaf",
                                 "adds late trains on weekends from next month",
                                 "find a cheaper way to store solar heat underground"};
        std::vector<std::string> l{"<Title1>Pelwick Daily News",
                                   "<Text2>Sat, 14 Jun 2025 09:30:00 GMT", "<line>"};
        for (int i = 0; i < Items; ++i)
            l.push_back(std::string(i == 2 ? "<text3>" : "<text1>") + std::to_string(i + 1) + ". " +
                        subjects[i % 5] + " " + stories[(i / 5 + i) % 5]);
        return l;
    }();
    return lines;
}

void EngineHeadlines(benchmark::State& state) {
    THeadlineRenderer renderer;
    int height = 0;
    for (auto _ : state) {
        const TBitmap image = renderer.Render(Lines(), HeadlineTextWidth);
        height = image.Height();
        benchmark::DoNotOptimize(image.Bits());
    }
    state.counters["height"] = height;
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

BENCHMARK(QPainterHeadlines)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(EngineHeadlines)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    return pelwick::bench::RunAndPrintRatios({{"EngineHeadlines", "QPainterHeadlines"}});
}
