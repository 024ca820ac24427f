// The real program on a virtual X server: the saver downloads a feed from a loopback server,
// shows its headline panel and item card over a picture, saves its screen and quits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

#include "SaverFixture.h"
#include "app/Files.h"
#include "support/VirtualDisplay.h"

namespace pelwick {
namespace {

constexpr int ScreenW = 1280;
constexpr int ScreenH = 800;

int Luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

TEST(EndToEnd, SaverShowsThePanelAndTheCardOverThePicture) {
    test::TVirtualDisplay display({QString("%1x%2x24").arg(ScreenW).arg(ScreenH)});
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
    QProcessEnvironment env = display.Environment();
    env.insert("PELWICK_HOME", QString::fromStdString(dir.Path()));
    env.insert("PELWICK_SCREENSHOT", QString::fromStdString(shot));
    env.insert("PELWICK_SCREENSHOT_AFTER", "8");
    QProcess saver;
    saver.setProcessEnvironment(env);
    saver.start(PELWICK_PROGRAM, {"/s"});
    ASSERT_TRUE(saver.waitForStarted(10000));

    // One page per saver process, named after it.
    const std::string page = dir.File("tmp-" + std::to_string(saver.processId()) + ".htm");
    bool pageWhileRunning = false, blanked = false;
    // Once the wall is up (its first item page is written), the X server's own screen saver
    // is set to blank after a second without input; from then to the screenshot (where the
    // saver starts to quit and gives blanking back), seconds later, it must not blank. Set
    // before the saver's start, a start slower than a second on a loaded machine would find
    // the screen blanked already.
    test::PollUntil(
        [&] {
            const bool wallUp = FileExists(page);
            if (wallUp && !pageWhileRunning) display.SetScreenSaverTimeout(1);
            pageWhileRunning = pageWhileRunning || wallUp;
            if (wallUp && !FileExists(shot)) blanked = blanked || display.ScreenSaverOn();
            return saver.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(60), std::chrono::milliseconds(100));
    ASSERT_EQ(saver.state(), QProcess::NotRunning) << "the saver did not quit";
    EXPECT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();
    EXPECT_TRUE(pageWhileRunning);
    EXPECT_FALSE(FileExists(page));
    EXPECT_FALSE(blanked) << "the X server blanked the screen while the saver ran";
    EXPECT_EQ(display.ScreenSaverTimeout(), 1)
        << "the X server's settings were not left as they were";

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

// The wall keeps its news offline: a run that downloaded a feed leaves its copy in the cache
// folder, and a run after the server has stopped shows the same items from it.
TEST(EndToEnd, ANewRunShowsTheStoredFeedWhenTheServerIsGone) {
    test::TVirtualDisplay display({QString("%1x%2x24").arg(ScreenW).arg(ScreenH)});
    if (!display.Found()) GTEST_SKIP() << "Xvfb is not installed (scripts/packages.txt has it)";
    ASSERT_FALSE(display.Display().isEmpty()) << "Xvfb did not report its display";

    test::TProgramFolder dir;  // and its own cache folder, which both runs share
    auto server = std::make_unique<test::TFeedServer>();
    server->Set("/news.xml", test::RssFeed("Harbour Herald", "Tides", 4, "Story"));
    // Every pass asks the server, so the second run finds it gone rather than trusting a
    // fresh copy.
    dir.Write("Pelwick.ini", "[feeds]\nHerald=" + server->Url("/news.xml") +
                                 "\n[set]\nBlogInterval=60\nImageInterval=60\nFeedRefresh=0\n");

    // Runs the saver until its item page shows the first story, then ends it as a session
    // does; the page it showed.
    const auto run = [&] {
        QProcess saver;
        QProcessEnvironment env = display.Environment();
        env.insert("PELWICK_HOME", QString::fromStdString(dir.Path()));
        saver.setProcessEnvironment(env);
        saver.start(PELWICK_PROGRAM, {"/s"});
        EXPECT_TRUE(saver.waitForStarted(10000));
        const std::string page = dir.File("tmp-" + std::to_string(saver.processId()) + ".htm");
        std::string shown;
        EXPECT_TRUE(test::WaitUntil(
            [&] {
                shown = FileExists(page) ? ReadFileBytes(page) : std::string();
                return shown.find("Story 1") != std::string::npos;
            },
            std::chrono::seconds(60), "the first story's page"));
        saver.terminate();
        EXPECT_TRUE(saver.waitForFinished(10000));
        return shown;
    };
    const std::string online = run();
    ASSERT_NE(online.find("Story 1"), std::string::npos);
    ASSERT_EQ(server->Requests("/news.xml"), 1);
    EXPECT_FALSE(QDir(QString::fromStdString(dir.CacheFolder() + "pelwick/feeds"))
                     .entryList(QDir::Files)
                     .isEmpty());

    server.reset();  // the port is closed: the download fails at once
    const std::string offline = run();
    EXPECT_NE(offline.find("Story 1"), std::string::npos) << offline;
}

}  // namespace
}  // namespace pelwick
