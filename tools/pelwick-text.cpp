// pelwick-text: renders lines of label markup the way the saver's headline panel draws
// them, into a picture, so that the look of the text can be tuned without running the saver.
#include <QGuiApplication>
#include <QImage>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "aatext/FontLabelsIni.h"
#include "aatext/HeadlineStyle.h"
#include "app/Files.h"
#include "app/SettingsFile.h"

namespace {

using namespace pelwick;

const char* const Usage =
    "usage: pelwick-text LINES_FILE --out FILE [--width W] [--quality Q] [--labels FILE]\n"
    "\n"
    "Draws the lines of LINES_FILE (UTF-8, one line of label markup per line) as the\n"
    "headline panel does: its font labels (<Title1>, <Text1>, <Text2>, <text3>, <line>) and\n"
    "user labels (<Left>, <Center>, <Right>, <Owner>, <Organization>, <AppTitle>, <Date>,\n"
    "<Time>), left aligned with a row pitch of 50, on black. Writes the picture to FILE as\n"
    "PNG, BMP or PPM by FILE's extension; its height is what the lines need.\n"
    "\n"
    "  --width W      width of the picture in pixels, 1..16384 (default 418, the panel's)\n"
    "  --quality Q    high (default), normal, low or none\n"
    "  --labels FILE  font labels to use instead of the panel's, one section per label\n";

struct TOptions {
    std::string linesFile, out, labelsFile;
    int width = HeadlineTextWidth;
    TAAQuality quality = aqHigh;
};

TAAQuality Quality(const std::string& text) {
    if (text == "high") return aqHigh;
    if (text == "normal") return aqNormal;
    if (text == "low") return aqLow;
    if (text == "none") return aqNone;
    Fail("--quality wants high, normal, low or none, not \"" + text + "\"", 2);
}

TOptions Parse(int argc, char** argv) {
    TOptions o;
    auto option = [&](const std::string& arg, const TOptionValue& value) {
        if (arg == "--out") {
            o.out = value();
        } else if (arg == "--width") {
            o.width = Number(arg, value(), 1, 16384);
        } else if (arg == "--quality") {
            o.quality = Quality(value());
        } else if (arg == "--labels") {
            o.labelsFile = value();
        } else {
            return false;
        }
        return true;
    };
    const std::vector<std::string> files = ReadArguments(argc, argv, option);
    if (files.empty()) Fail("give one LINES_FILE", 2);
    if (files.size() > 1) Fail("give one LINES_FILE, not also \"" + files[1] + "\"", 2);
    if (o.out.empty()) Fail("--out FILE is missing", 2);
    o.linesFile = files[0];
    return o;
}

std::string Read(const std::string& file) {
    try {
        return ReadFileBytes(file);
    } catch (const Exception& e) {
        Fail(e.Message());
    }
}

// The lines of the file: a byte-order mark is dropped, and a last line end adds no line.
std::vector<std::string> Lines(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    TStringList list;
    list.SetText(text);
    return list.Strings();
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-text", Usage);
    HandleInfoOptions(argc, argv);
    const TOptions o = Parse(argc, argv);
    const char* format = PictureFormat(o.out);
    if (!format) Fail("cannot tell the format of \"" + o.out + "\": use .png, .bmp or .ppm", 2);

    UseOffscreenQt();
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QCoreApplication::setApplicationName("Pelwick");

    THeadlineRenderer renderer;
    renderer.Glyphs().SetQuality(o.quality);
    const std::vector<std::string> lines = Lines(Read(o.linesFile));
    if (!o.labelsFile.empty()) {
        TSettingsFile ini;
        ini.SetText(Read(o.labelsFile));
        LoadFontLabels(ini, renderer.Fonts());
        if (renderer.Fonts().Count() == 0)
            Fail("\"" + o.labelsFile + "\" holds no labels ([Name] sections)");
    }

    try {
        WritePicture(renderer.Render(lines, o.width).ToQImage(), o.out, format);
    } catch (const Exception& e) {
        Fail(e.Message());
    }
    return 0;
}
