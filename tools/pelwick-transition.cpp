// pelwick-transition: shows what a transition style does without running the saver. It
// loads OLD and then NEW into a picture screen the way the slideshow does, runs the
// transition by hand and writes what the control shows: one frame, every frame, or a
// contact sheet of every style. It also lists the styles.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureLoader.h"
#include "slideshow/PictureScreen.h"

namespace {

using namespace pelwick;

const char* const Usage =
    "usage: pelwick-transition OLD NEW --out FILE [--style N] [--progress P] [--frames]\n"
    "                          [--step S] [--size WxH] [--size-mode M] [--reverse]\n"
    "       pelwick-transition OLD NEW --sheet FILE.png [--styles A-B] [--step S]\n"
    "                          [--size WxH] [--size-mode M]\n"
    "       pelwick-transition --list\n"
    "\n"
    "Loads OLD, then NEW, into a picture screen of the given size and runs the transition\n"
    "to NEW by hand. Writes what the screen shows at progress P (default 50) to FILE as\n"
    "PNG, BMP or PPM by FILE's extension; with --frames, writes every frame of the\n"
    "animation as FILE-001.png, FILE-002.png, ...\n"
    "With --sheet, writes a contact sheet: one cell per style, labelled with its number\n"
    "and name, showing its frames at progress 25, 50 and 75.\n"
    "--list prints every style's number and name, tab-separated.\n"
    "\n"
    "  --style N      transition style 0..172 (default 118, the cross-fade)\n"
    "  --progress P   progress 0..100 to show (default 50)\n"
    "  --step S       progress points per frame, 1..100 (default 4)\n"
    "  --size WxH     size of the screen (default: NEW's size; for a sheet, 144 wide in\n"
    "                 NEW's proportions)\n"
    "  --size-mode M  how pictures are scaled: 0 shrink to fit, 1 original (default),\n"
    "                 2 fit (default for a sheet), 3 stretch, 4 tile or fit\n"
    "  --styles A-B   the styles of a sheet (default 1-172)\n"
    "  --reverse      run the transition from 100 down to 0\n";

struct TOptions {
    std::string oldFile, newFile, out, sheet;
    int style = StyleCrossFade;
    int progress = 50;
    int step = 4;
    std::optional<std::pair<int, int>> size;
    std::optional<int> sizeMode;
    int firstStyle = TEffectTable::First, lastStyle = TEffectTable::Last;
    bool frames = false;
    bool reverse = false;
    bool list = false;
};

// "A-B" or "N" within the catalogue.
void ParseStyles(TOptions& o, const std::string& v) {
    const size_t dash = v.find('-');
    o.firstStyle = Number("--styles", v.substr(0, dash), TEffectTable::First, TEffectTable::Last);
    o.lastStyle = dash == std::string::npos
                      ? o.firstStyle
                      : Number("--styles", v.substr(dash + 1), o.firstStyle, TEffectTable::Last);
}

TOptions Parse(int argc, char** argv) {
    TOptions o;
    auto option = [&](const std::string& arg, const TOptionValue& value) {
        if (arg == "--out") {
            o.out = value();
        } else if (arg == "--style") {
            o.style = Number(arg, value(), 0, StyleLast);
        } else if (arg == "--progress") {
            o.progress = Number(arg, value(), 0, 100);
        } else if (arg == "--step") {
            o.step = Number(arg, value(), 1, 100);
        } else if (arg == "--size-mode") {
            o.sizeMode = Number(arg, value(), 0, 255);
        } else if (arg == "--sheet") {
            o.sheet = value();
        } else if (arg == "--styles") {
            ParseStyles(o, value());
        } else if (arg == "--list") {
            o.list = true;
        } else if (arg == "--size") {
            const std::string v = value();
            const size_t x = v.find_first_of("xX");
            if (x == std::string::npos) Fail("--size wants WxH, not \"" + v + "\"", 2);
            o.size = std::pair{Number(arg, v.substr(0, x), 1, 16384),
                               Number(arg, v.substr(x + 1), 1, 16384)};
        } else if (arg == "--frames") {
            o.frames = true;
        } else if (arg == "--reverse") {
            o.reverse = true;
        } else {
            return false;
        }
        return true;
    };
    const std::vector<std::string> files = ReadArguments(argc, argv, option);
    if (o.list) {
        if (!files.empty()) Fail("--list takes nothing else, not \"" + files[0] + "\"", 2);
        if (!o.out.empty() || !o.sheet.empty()) Fail("--list takes nothing else", 2);
        return o;
    }
    if (files.size() < 2) Fail("give two pictures, OLD and NEW", 2);
    if (files.size() > 2) Fail("give two pictures, OLD and NEW, not also \"" + files[2] + "\"", 2);
    if (!o.sheet.empty() && !o.out.empty()) Fail("give --out or --sheet, not both", 2);
    if (o.out.empty() && o.sheet.empty()) Fail("--out FILE is missing", 2);
    if (!o.sheet.empty() && LowerExtension(o.sheet) != "png")
        Fail("a sheet is written as PNG: name it FILE.png, not \"" + o.sheet + "\"", 2);
    o.oldFile = files[0];
    o.newFile = files[1];
    return o;
}

void Write(const QImage& image, const std::string& path, const char* format) {
    try {
        WritePicture(image, path, format);
    } catch (const Exception&) {
        Fail("cannot write \"" + path + "\"");  // the tool's message, whatever the cause
    }
}

void ListStyles() {
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style)
        std::printf("%d\t%s\n", style, EffectTable[style].Name);
}

// The screen's size: as asked, else NEW's own (for a sheet, a small cell in its proportions).
std::pair<int, int> ScreenSize(const TOptions& o) {
    if (o.size) return *o.size;
    TGlimrascreen probe;  // NEW as decoded, unscaled
    probe.SetAutoSize(false);
    probe.SetSizeMode(255);
    const std::string error = TryLoadScreenPicture(probe, o.newFile);
    if (!error.empty()) Fail("cannot load \"" + o.newFile + "\": " + error);
    if (!probe.Picture().HasImage()) Fail("cannot load \"" + o.newFile + "\"");
    const int w = probe.Picture().Width(), h = probe.Picture().Height();
    if (o.sheet.empty()) return {w, h};
    constexpr int cellWidth = 144;
    return {cellWidth,
            std::clamp(cellWidth * h / std::max(w, 1), cellWidth / 3, cellWidth * 3 / 2)};
}

// A picture screen configured as the slideshow configures its own, driven by hand.
class TBench {
  public:
    TBench(const TOptions& o, int width, int height) {
        screen_.SetAutoSize(false);
        screen_.resize(width, height);
        screen_.SetColor(clBlack);
        screen_.SetBgMode(TCustomGlimrascreen::bmNone);
        screen_.SetCenter(true);
        screen_.SetThreaded(false);
        screen_.SetManual(true);
        const int defaultMode = o.sheet.empty() ? szOriginal : szFit;
        screen_.SetSizeMode(static_cast<std::uint8_t>(o.sizeMode.value_or(defaultMode)));
        screen_.SetStep(o.step);
    }

    TGlimrascreen& Screen() { return screen_; }

    void Load(const std::string& file) {
        const std::string error = TryLoadScreenPicture(screen_, file);
        if (!error.empty()) Fail("cannot load \"" + file + "\": " + error);
    }

    // OLD on screen, as a finished transition leaves it, then the transition to NEW
    // prepared in style.
    void Prepare(const TOptions& o, int style, bool reverse) {
        screen_.SetStyle(StyleCrossFade);
        screen_.SetReverse(false);
        Load(o.oldFile);
        screen_.StartTransition();
        screen_.SetProgress(100);
        screen_.StopTransition();
        screen_.SetStyle(style);
        screen_.SetReverse(reverse);
        Load(o.newFile);
        screen_.StartTransition();
    }

    QImage Shown() const { return screen_.PaintBuffer().ToQImage(); }

  private:
    TGlimrascreen screen_;
};

void WriteFrames(const TOptions& o, TBench& bench) {
    std::string base = o.out;
    if (LowerExtension(o.out) == "png") base.resize(base.size() - 4);
    TGlimrascreen& screen = bench.Screen();
    const int end = o.reverse ? 0 : 100;
    for (int frame = 1; screen.Progress() != end; ++frame) {
        screen.StepFrame();
        char name[16];
        std::snprintf(name, sizeof name, "-%03d.png", frame);
        Write(bench.Shown(), base + name, "PNG");
    }
}

// One cell per style, in rows of four: the number and name over its frames at 25, 50 and 75.
void WriteSheet(const TOptions& o, TBench& bench, int w, int h) {
    constexpr int columns = 4, gap = 4, margin = 8, label = 18, title = 24;
    constexpr int progress[] = {25, 50, 75};
    const int cellW = 3 * w + 2 * gap, cellH = label + h;
    const int count = o.lastStyle - o.firstStyle + 1;
    const int rows = (count + columns - 1) / columns;
    QImage sheet(2 * margin + columns * cellW + (columns - 1) * 2 * gap,
                 title + margin + rows * (cellH + 2 * gap), QImage::Format_RGB32);
    sheet.fill(QColor(32, 32, 32));
    QPainter painter(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(margin, 4, sheet.width() - 2 * margin, title - 4,
                     Qt::AlignLeft | Qt::AlignVCenter,
                     "Transition styles at progress 25, 50 and 75");
    for (int i = 0; i < count; ++i) {
        const int style = o.firstStyle + i;
        const int x = margin + (i % columns) * (cellW + 2 * gap);
        const int y = title + (i / columns) * (cellH + 2 * gap);
        const QString text =
            QString::fromStdString(std::to_string(style) + " " + EffectTable[style].Name);
        painter.drawText(QRect(x, y, cellW, label), Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(text, Qt::ElideRight, cellW));
        bench.Prepare(o, style, false);
        for (int k = 0; k < 3; ++k) {
            bench.Screen().SetProgress(progress[k]);
            painter.drawImage(x + k * (w + gap), y + label, bench.Shown());
        }
        bench.Screen().StopTransition();
    }
    painter.end();
    Write(sheet, o.sheet, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-transition", Usage);
    HandleInfoOptions(argc, argv);
    const TOptions o = Parse(argc, argv);
    if (o.list) {
        ListStyles();
        return 0;
    }
    const char* format = nullptr;
    if (o.sheet.empty() && !o.frames) {
        format = PictureFormat(o.out);
        if (!format) Fail("cannot tell the format of \"" + o.out + "\": use .png, .bmp or .ppm", 2);
    }

    // Qt is given no arguments: its own reading of options such as --style does not
    // concern the tool's user.
    UseOffscreenQt();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    for (const std::string& file : {o.oldFile, o.newFile})
        if (!FileExists(file)) Fail("cannot load \"" + file + "\": no such file");

    const auto [width, height] = ScreenSize(o);
    TBench bench(o, width, height);
    if (!o.sheet.empty()) {
        WriteSheet(o, bench, width, height);
        return 0;
    }
    bench.Prepare(o, o.style, o.reverse);
    if (o.frames) {
        WriteFrames(o, bench);
        return 0;
    }
    bench.Screen().SetProgress(o.progress);
    Write(bench.Shown(), o.out, format);
    return 0;
}
