// Shows the anti-aliased text controls moving: the headline panel's scrolling text and the
// options dialog's fading title strip. With --frames it captures a few frames as PNG files
// instead, driving the controls' steps itself, so it also works without a display.

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "aatext/AAFadeText.h"
#include "aatext/AAScrollText.h"
#include "aatext/HeadlineStyle.h"
#include "app/Exception.h"

namespace {

using namespace pelwick;

constexpr const char* Usage =
    "usage: pelwick-textdemo [--frames DIR]\n"
    "  Without options a window shows a scrolling and a fading text until it is closed.\n"
    "  --frames DIR  writes frame-0.png .. frame-5.png into DIR (created if missing), one\n"
    "                every 40 scroll steps and 12 fade steps, and exits\n";

const char* const HeadlineLines[] = {
    "<Title1>Pelwick news wall",
    "<Text1>Harbour ferries run late after the storm",
    "<Text2>Weather - 12 minutes ago",
    "<line>",
    "<Text1>Library opens its new reading room",
    "<Text2>City - 1 hour ago",
    "<line>",
    "<text3>Cyclists get a bridge of their own",
    "<Text2>Transport - 3 hours ago",
    "<line>",
    "<Text1>Orchestra plays on the town square tonight",
    "<Text2>Culture - 5 hours ago",
};

struct TDemo {
    QWidget window;
    TAAScrollText scroll{&window};
    TAAFadeText fade{&window};

    TDemo() {
        window.setWindowTitle("Pelwick text controls");
        window.resize(440, 400);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(24, 28, 40));
        window.setPalette(palette);
        window.setAutoFillBackground(true);

        scroll.setGeometry(10, 10, HeadlineTextWidth, 300);
        SetHeadlineTextParams(scroll.Text());
        AddHeadlineFontLabels(scroll.Fonts());
        scroll.Labels().AddStandardLabels();
        scroll.Glyphs().SetQuality(aqHigh);
        scroll.Text().SetFont(HeadlineTextFont());
        scroll.Text().SetBackColor(HeadlineBackColor);
        scroll.Text().SetTailSpace(20);
        scroll.SetScrollDelay(16);
        scroll.SetRepeatDelay(1500);
        for (const char* line : HeadlineLines)
            scroll.Text().Lines().Add(line);

        fade.setGeometry(10, 330, HeadlineTextWidth, 34);
        TFont title;
        title.Name = "Verdana";
        title.Height = -19;
        title.Bold = true;
        title.Color = RGB(230, 230, 230);
        fade.SetFont(title);
        fade.Text().SetTransparent(true);
        fade.Text().SetLineDelay(5000);
        fade.Text().SetFadeDelay(800);
        fade.Text().Lines().Assign({"Pelwick", "Version 2.1", "News from every feed you like"});
    }
    void Start() {
        scroll.Loaded();
        fade.Loaded();
    }
};

int CaptureFrames(TDemo& demo, const std::string& folder) {
    if (!QDir().mkpath(QString::fromStdString(folder))) Fail("cannot create \"" + folder + "\"");
    demo.scroll.SetRepeatDelay(0);
    demo.Start();
    for (int frame = 0; frame < 6; ++frame) {
        const std::string path = folder + "/frame-" + std::to_string(frame) + ".png";
        try {
            WritePicture(demo.window.grab().toImage(), path, "PNG");
        } catch (const Exception&) {
            Fail("cannot write \"" + path + "\"");  // the tool's message, whatever the cause
        }
        for (int i = 0; i < 40; ++i)
            demo.scroll.ScrollTimerTick();
        for (int i = 0; i < 12; ++i)
            demo.fade.FadeTimerTick();
        if (frame == 2) demo.fade.LineTimerTick();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-textdemo", Usage);
    HandleInfoOptions(argc, argv);
    std::string frames;
    const std::vector<std::string> words =
        ReadArguments(argc, argv, [&](const std::string& option, const TOptionValue& value) {
            if (option != "--frames") return false;
            frames = value();
            return true;
        });
    if (!words.empty()) Fail("unexpected argument \"" + words[0] + "\"", 2);
    // Captured frames need no display.
    if (!frames.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TDemo demo;
    if (!frames.empty()) return CaptureFrames(demo, frames);
    demo.Start();
    demo.window.show();
    return app.exec();
}
