// The real program on a virtual X server: the saver downloads a feed from a loopback server,
// shows its headline panel and item card over a picture, saves its screen and quits.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "SaverFixture.h"
#include "app/Files.h"

namespace pelwick {
namespace {

constexpr int ScreenW = 1280;
constexpr int ScreenH = 800;

// A virtual X server on a display number of its own choosing, stopped on destruction.
class TVirtualDisplay {
  public:
    TVirtualDisplay() {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) return;
        server_.start(xvfb, {"-displayfd", "1", "-screen", "0",
                             QString("%1x%2x24").arg(ScreenW).arg(ScreenH), "-nolisten", "tcp"});
        QElapsedTimer clock;
        clock.start();
        while (!server_.canReadLine() && clock.elapsed() < 15000)
            server_.waitForReadyRead(500);
        const QString number = QString::fromLatin1(server_.readLine()).trimmed();
        if (!number.isEmpty()) display_ = ":" + number;
    }
    ~TVirtualDisplay() {
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
        server_.waitForFinished(2000);
    }
    bool Found() const { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }
    const QString& Display() const { return display_; }

  private:
    QProcess server_;
    QString display_;
};

int Luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

TEST(EndToEnd, SaverShowsThePanelAndTheCardOverThePicture) {
    TVirtualDisplay display;
    if (!display.Found()) GTEST_SKIP() << "Xvfb is not installed (scripts/packages.txt has it)";
    ASSERT_FALSE(display.Display().isEmpty()) << "Xvfb did not report its display";

    test::TProgramFolder dir;
    test::TFeedServer server;
    server.Set("/news.xml", test::RssFeed("Riverside Gazette", "Local news", 6, "Headline"));
    // A bright picture that fills the screen, so the panel and card show as darker areas.
    QImage picture(ScreenW, ScreenH, QImage::Format_RGB888);
    picture.fill(QColor(230, 210, 160));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.File("bright.bmp")), "BMP"));
    dir.Write("Pelwick.ini", "[feeds]\nGazette=" + server.Url("/news.xml") +
                                 "\n[set]\nBlogInterval=60\nImageInterval=60\n");

    const std::string shot = dir.File("shot.png");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.insert("DISPLAY", display.Display());
    // The X keyboard library hands strndup names that are not NUL-terminated, which strndup
    // allows and the sanitizer's strict string checks do not.
    QString asan = env.value("ASAN_OPTIONS");
    asan.replace("strict_string_checks=1", "strict_string_checks=0");
    env.insert("ASAN_OPTIONS", asan);
    env.insert("PELWICK_HOME", QString::fromStdString(dir.Path()));
    env.insert("PELWICK_SCREENSHOT", QString::fromStdString(shot));
    env.insert("PELWICK_SCREENSHOT_AFTER", "8");
    QProcess saver;
    saver.setProcessEnvironment(env);
    saver.start(PELWICK_PROGRAM, {"/s"});
    ASSERT_TRUE(saver.waitForStarted(10000));

    bool pageWhileRunning = false;
    QElapsedTimer clock;
    clock.start();
    while (saver.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
        pageWhileRunning = pageWhileRunning || FileExists(dir.File("tmp.htm"));
        saver.waitForFinished(100);
    }
    ASSERT_EQ(saver.state(), QProcess::NotRunning) << "the saver did not quit";
    EXPECT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();
    EXPECT_TRUE(pageWhileRunning);
    EXPECT_FALSE(FileExists(dir.File("tmp.htm")));

    QImage screen(QString::fromStdString(shot));
    ASSERT_FALSE(screen.isNull()) << "no screenshot";
    ASSERT_EQ(screen.size(), QSize(ScreenW, ScreenH));
    // The panel lies 10..19 pixels from the left edge, 355 pixels wide on this screen.
    int panelRows = 0, textPixels = 0, cardPixels = 0, picturePixels = 0;
    for (int y = 0; y < ScreenH; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        int dark = 0, bright = 0;
        for (int x = 25; x < 360; ++x) {
            dark += Luma(row[x]) < 110;
            bright += Luma(row[x]) > 150;
        }
        if (dark > (360 - 25) / 2) {
            ++panelRows;
            textPixels += bright;
        }
        for (int x = 0; x < ScreenW; ++x) {
            const int l = Luma(row[x]);
            if (x >= 380 && l < 110) ++cardPixels;
            if (l > 190) ++picturePixels;
        }
    }
    EXPECT_GE(panelRows, 300) << "the panel is not darker than the picture";
    EXPECT_GE(textPixels, 300) << "no headline text in the panel";
    EXPECT_GE(cardPixels, 400 * 60) << "no item card right of the panel";
    EXPECT_GE(picturePixels, ScreenW * ScreenH / 2) << "the picture is not shown";
}

}  // namespace
}  // namespace pelwick
