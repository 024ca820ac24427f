// pelwick-transition: shows what a transition style does without running the saver. It
// loads OLD and then NEW into a picture screen the way the slideshow does, runs the
// transition by hand and writes what the control shows.
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "slideshow/Glimrascreen.h"
#include "slideshow/PictureLoader.h"

namespace {

using namespace pelwick;

const char* const Usage =
    "usage: pelwick-transition OLD NEW --out FILE [--style N] [--progress P] [--frames]\n"
    "                          [--step S] [--size WxH] [--size-mode M] [--reverse]\n"
    "\n"
    "Loads OLD, then NEW, into a picture screen of the given size and runs the transition\n"
    "to NEW by hand. Writes what the screen shows at progress P (default 50) to FILE as\n"
    "PNG, BMP or PPM by FILE's extension; with --frames, writes every frame of the\n"
    "animation as FILE-001.png, FILE-002.png, ...\n"
    "\n"
    "  --style N      transition style 0..172 (default 118, the cross-fade)\n"
    "  --progress P   progress 0..100 to show (default 50)\n"
    "  --step S       progress points per frame, 1..100 (default 4)\n"
    "  --size WxH     size of the screen (default: NEW's size)\n"
    "  --size-mode M  how pictures are scaled: 0 shrink to fit, 1 original (default),\n"
    "                 2 fit, 3 stretch, 4 tile or fit\n"
    "  --reverse      run the transition from 100 down to 0\n";

struct TOptions {
    std::string oldFile, newFile, out;
    int style = StyleCrossFade;
    int progress = 50;
    int step = 4;
    std::optional<std::pair<int, int>> size;
    int sizeMode = szOriginal;
    bool frames = false;
    bool reverse = false;
};

TOptions Parse(int argc, char** argv) {
    TOptions o;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail(arg + " needs a value", 2);
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (arg == "--out") {
            o.out = value();
        } else if (arg == "--style") {
            o.style = Number(arg, value(), 0, StyleLast);
        } else if (arg == "--progress") {
            o.progress = Number(arg, value(), 0, 100);
        } else if (arg == "--step") {
            o.step = Number(arg, value(), 1, 100);
        } else if (arg == "--size-mode") {
            o.sizeMode = Number(arg, value(), 0, 255);
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
        } else if (arg.size() > 1 && arg[0] == '-') {
            Fail("unknown option " + arg, 2);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) Fail("give two pictures, OLD and NEW", 2);
    if (o.out.empty()) Fail("--out FILE is missing", 2);
    o.oldFile = files[0];
    o.newFile = files[1];
    return o;
}

void Write(const TCustomGlimrascreen& control, const std::string& path, const char* format) {
    try {
        WritePicture(control.PaintBuffer().ToQImage(), path, format);
    } catch (const Exception&) {
        Fail("cannot write \"" + path + "\"");  // the tool's message, whatever the cause
    }
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-transition", Usage);
    const TOptions o = Parse(argc, argv);
    const char* format = nullptr;
    std::string framesBase = o.out;
    if (o.frames) {
        if (LowerExtension(o.out) == "png") framesBase.resize(framesBase.size() - 4);
    } else {
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

    int width, height;
    if (o.size) {
        std::tie(width, height) = *o.size;
    } else {
        TGlimrascreen probe;  // NEW as decoded, unscaled
        probe.SetAutoSize(false);
        probe.SetSizeMode(255);
        const std::string error = TryLoadScreenPicture(probe, o.newFile);
        if (!error.empty()) Fail("cannot load \"" + o.newFile + "\": " + error);
        if (!probe.Picture().HasImage()) Fail("cannot load \"" + o.newFile + "\"");
        width = probe.Picture().Width();
        height = probe.Picture().Height();
    }

    // Configured as the slideshow configures its screen.
    TGlimrascreen screen;
    screen.SetAutoSize(false);
    screen.resize(width, height);
    screen.SetColor(clBlack);
    screen.SetBgMode(TCustomGlimrascreen::bmNone);
    screen.SetCenter(true);
    screen.SetThreaded(false);
    screen.SetManual(true);
    screen.SetSizeMode(static_cast<std::uint8_t>(o.sizeMode));
    screen.SetStep(o.step);

    auto load = [&](const std::string& file) {
        const std::string error = TryLoadScreenPicture(screen, file);
        if (!error.empty()) Fail("cannot load \"" + file + "\": " + error);
    };
    load(o.oldFile);
    screen.StartTransition();
    screen.SetProgress(100);
    screen.StopTransition();

    screen.SetStyle(o.style);
    screen.SetReverse(o.reverse);
    load(o.newFile);
    screen.StartTransition();
    if (!o.frames) {
        screen.SetProgress(o.progress);
        Write(screen, o.out, format);
        return 0;
    }
    const int end = o.reverse ? 0 : 100;
    for (int frame = 1; screen.Progress() != end; ++frame) {
        screen.StepFrame();
        char name[16];
        std::snprintf(name, sizeof name, "-%03d.png", frame);
        Write(screen, framesBase + name, "PNG");
    }
    return 0;
}
