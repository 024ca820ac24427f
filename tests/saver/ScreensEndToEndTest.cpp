// The real saver on virtual X servers shaped like users' desks: two monitors, each of which
// must show the slideshow, and a dense 3840 x 2160 screen, where the panel must take the
// share of the screen it takes at 1920 x 1080. No feed is listed, so the panel shows the
// first-run hint.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>

#include "SaverFixture.h"
#include "support/VirtualDisplay.h"

namespace pelwick {
namespace {

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
        picture.fill(QColor(230, 210, 160));
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

// Waits until grab shows mostly picture, or gives up after 20 s.
template <typename TGrab>
double WaitForPicture(TGrab grab) {
    QElapsedTimer clock;
    clock.start();
    double share = 0;
    while (clock.elapsed() < 20000 && (share = BrightShare(grab())) < 0.9)
        QThread::msleep(250);
    return share;
}

TEST(ScreensEndToEnd, EveryMonitorShowsTheSlideshow) {
    test::TVirtualDisplay display({"640x400x24", "640x400x24"});
    if (!display.Found()) GTEST_SKIP() << "Xvfb is not installed (scripts/packages.txt has it)";
    ASSERT_FALSE(display.Display().isEmpty());
    TRun run(display, 640, 400);
    ASSERT_TRUE(run.saver.waitForStarted(10000));
    for (int screen : {0, 1})
        EXPECT_GE(WaitForPicture([&] { return display.Grab(0, screen); }), 0.9)
            << "screen " << screen << " does not show the slideshow";
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
        EXPECT_GE(WaitForPicture([&] { return screen = display.Grab(); }), 0.9);
        // The panel's strip is the one dark band over the bright picture; its height shows
        // the scale.
        QThread::msleep(3000);  // its fade-in
        screen = display.Grab();
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
