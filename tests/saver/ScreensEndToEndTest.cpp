// The real saver on virtual X servers shaped like users' desks: two monitors, each of which
// must show the slideshow, and a dense 3840 x 2160 screen, where the panel must take the
// share of the screen it takes at 1920 x 1080. No feed is listed, so the panel shows the
// first-run hint.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <cstdlib>

#include "SaverFixture.h"
#include "saver/HeadlinePanel.h"
#include "support/VirtualDisplay.h"

namespace pelwick {
namespace {

using namespace std::chrono_literals;

const QColor PictureColour(230, 210, 160);

// The share of a picture's pixels that are bright: the test pictures are bright, the
// screen around them and a missing saver are black.
double BrightShare(const QImage& image) {
    if (image.isNull()) return 0;
    qint64 bright = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            bright += qGray(image.pixel(x, y)) > 150;
    return double(bright) * 16 / (double(image.width()) * image.height());
}

struct TRun {
    test::TProgramFolder dir;
    QProcess saver;

    TRun(const test::TVirtualDisplay& display, int pictureW, int pictureH) {
        QImage picture(pictureW, pictureH, QImage::Format_RGB888);
        picture.fill(PictureColour);
        picture.save(QString::fromStdString(dir.File("bright.bmp")), "BMP");
        dir.Write("Pelwick.ini", "[set]\nImageInterval=60\nImageSize=3\n");
        QProcessEnvironment env = display.Environment();
        env.insert("PELWICK_HOME", QString::fromStdString(dir.Path()));
        saver.setProcessEnvironment(env);
        saver.start(PELWICK_PROGRAM, {"/s"});
    }
    // Stops the saver as a session does, and says whether it ended cleanly.
    bool Stop() {
        saver.terminate();
        return saver.waitForFinished(10000) && saver.exitCode() == 0;
    }
};

// Whether grab shows mostly picture, waiting for it.
template <typename TGrab>
::testing::AssertionResult WaitForPicture(TGrab grab, const std::string& where) {
    return test::WaitUntil([&] { return BrightShare(grab()) >= 0.9; }, 30s,
                           "the slideshow's picture on " + where, 250ms);
}

// The grey of the panel's strip once it has faded in: the hint's grey at the panel's full
// alpha over the picture.
int FadedInGrey() {
    const int keep = 255 - TForm2::FadeInAlpha;
    const TColor hint = TForm2::HintColor;
    const auto mix = [&](int picture, int panel) {
        return (picture * keep + panel * TForm2::FadeInAlpha) / 255;
    };
    return qGray(mix(PictureColour.red(), GetRValue(hint)),
                 mix(PictureColour.green(), GetGValue(hint)),
                 mix(PictureColour.blue(), GetBValue(hint)));
}

// Whether the panel's strip shows at its full alpha: rows of the columns the test reads that
// hold that grey, give or take the painter's rounding (not the black band below the picture,
// and not a strip still fading in).
bool PanelFadedIn(const QImage& screen) {
    const int grey = FadedInGrey();
    int rows = 0;
    for (int y = 0; y < screen.height(); ++y) {
        int panel = 0;
        for (int x = 100; x < 300; ++x)
            panel += std::abs(qGray(screen.pixel(x, y)) - grey) <= 3;
        rows += panel > 150;
    }
    return rows >= 10;
}

TEST(ScreensEndToEnd, EveryMonitorShowsTheSlideshow) {
    test::TVirtualDisplay display({"640x400x24", "640x400x24"});
    if (!display.Found()) GTEST_SKIP() << "Xvfb is not installed (scripts/packages.txt has it)";
    ASSERT_FALSE(display.Display().isEmpty());
    TRun run(display, 640, 400);
    ASSERT_TRUE(run.saver.waitForStarted(10000));
    for (int screen : {0, 1})
        EXPECT_TRUE(WaitForPicture([&] { return display.Grab(0, screen); },
                                   "screen " + std::to_string(screen)));
    EXPECT_TRUE(run.Stop()) << run.saver.readAllStandardError().toStdString();
}

TEST(ScreensEndToEnd, ADenseScreenScalesThePanel) {
    // 3840 x 2160 at 192 dpi; the same run at 96 dpi is the reference.
    int hintRows[2] = {0, 0};
    for (int dense : {0, 1}) {
        test::TVirtualDisplay display({"3840x2160x24"}, {"-dpi", dense ? "192" : "96"});
        if (!display.Found()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_FALSE(display.Display().isEmpty());
        TRun run(display, 3840, 2160);
        ASSERT_TRUE(run.saver.waitForStarted(10000));
        QImage screen;
        EXPECT_TRUE(WaitForPicture([&] { return screen = display.Grab(); }, "the screen"));
        // The panel's strip is the one dark band over the bright picture; its height shows
        // the scale.
        EXPECT_TRUE(test::WaitUntil([&] { return PanelFadedIn(screen = display.Grab()); }, 30s,
                                    "the panel's fade-in to its full alpha", 250ms));
        for (int y = 0; y < screen.height(); ++y) {
            int dark = 0;
            for (int x = 100; x < 300; ++x)
                dark += qGray(screen.pixel(x, y)) < 100;
            hintRows[dense] += dark > 150;
        }
        EXPECT_TRUE(run.Stop()) << run.saver.readAllStandardError().toStdString();
    }
    EXPECT_GT(hintRows[0], 20) << "no hint panel at 96 dpi";
    EXPECT_NEAR(hintRows[1], 2 * hintRows[0], 6) << "the panel did not double at 192 dpi";
}

}  // namespace
}  // namespace pelwick
