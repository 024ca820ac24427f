// The real program as a screen-saver host runs it: drawing into the host's window, following
// its size, ending on a signal or with the window; and the preview inside a settings window.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QImage>
#include <QProcess>

#include "SaverFixture.h"
#include "app/Files.h"
#include "saver/HeadlinePanel.h"
#include "support/VirtualDisplay.h"

namespace pelwick {
namespace {

using test::THostWindow;
using test::TVirtualDisplay;
using namespace std::chrono_literals;

int Luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

class HostEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TVirtualDisplay::Found()) GTEST_SKIP() << "Xvfb is not installed";
        display_ = std::make_unique<TVirtualDisplay>();
        ASSERT_FALSE(display_->Display().isEmpty()) << "Xvfb did not report its display";
        // A bright picture, so that the panel shows as a darker area over it.
        QImage picture(800, 500, QImage::Format_RGB888);
        picture.fill(QColor(230, 210, 160));
        ASSERT_TRUE(picture.save(QString::fromStdString(dir_.File("bright.bmp")), "BMP"));
        server_.Set("/news.xml", test::RssFeed("Riverside Gazette", "Local news", 6, "Headline"));
        dir_.Write("Pelwick.ini", "[feeds]\nGazette=" + server_.Url("/news.xml") +
                                      "\n[set]\nBlogInterval=60\nImageInterval=60\n");
    }
    void TearDown() override {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished(5000);
        }
    }
    void Start(const QStringList& args, const QString& hostWindow = {}) {
        QProcessEnvironment env = display_->Environment();
        env.insert("PELWICK_HOME", QString::fromStdString(dir_.Path()));
        if (!hostWindow.isEmpty()) env.insert("XSCREENSAVER_WINDOW", hostWindow);
        program_.setProcessEnvironment(env);
        program_.start(PELWICK_PROGRAM, args);
        ASSERT_TRUE(program_.waitForStarted(10000));
    }
    // Waits until the window has a child (the program's window inside it); 0 when none came.
    std::uint32_t WaitForChild(std::uint32_t window) {
        std::uint32_t child = 0;
        test::PollUntil(
            [&] {
                const std::vector<std::uint32_t> children = display_->Children(window);
                child = children.empty() ? 0 : children.front();
                return child != 0;
            },
            30s);
        return child;
    }
    // Waits until the window has the size; the size it has then.
    QSize WaitForSize(std::uint32_t window, QSize size) {
        test::PollUntil([&] { return display_->WindowSize(window) == size; }, 20s);
        return display_->WindowSize(window);
    }
    std::string Page() const {
        return dir_.File("tmp-" + std::to_string(program_.processId()) + ".htm");
    }

    test::TProgramFolder dir_;
    test::TFeedServer server_;
    std::unique_ptr<TVirtualDisplay> display_;
    QProcess program_;
};

TEST_F(HostEndToEnd, TheWallIsDrawnIntoTheHostsWindowAndFollowsItsSize) {
    THostWindow host(display_->Display(), 640, 400);
    Start({"-root"}, "0x" + QString::number(host.Id(), 16));
    const std::uint32_t wall = WaitForChild(host.Id());
    ASSERT_NE(wall, 0u) << "the saver made no window inside the host's";
    EXPECT_EQ(WaitForSize(wall, QSize(640, 400)), QSize(640, 400));
    // Wait for the panel over the picture.
    int panelRows = 0, picturePixels = 0;
    test::PollUntil(
        [&] {
            const QImage shot = display_->Grab(host.Id());
            panelRows = picturePixels = 0;
            for (int y = 0; y < shot.height(); ++y) {
                int dark = 0;
                for (int x = 25; x < 170; ++x)
                    dark += Luma(shot.pixel(x, y)) < 110;
                panelRows += dark > 100;
                for (int x = 200; x < shot.width(); x += 8)
                    picturePixels += Luma(shot.pixel(x, y)) > 190;
            }
            return panelRows >= 100 && picturePixels > 2000;
        },
        40s, 100ms);
    EXPECT_GE(panelRows, 100) << "no headline panel in the host's window";
    EXPECT_GT(picturePixels, 2000) << "no picture in the host's window";
    // Nothing of the saver's own shows outside the host's window.
    EXPECT_TRUE(display_->TopLevelWindowsOf(program_.processId()).empty());
    EXPECT_TRUE(FileExists(Page()));

    host.Resize(800, 500);
    EXPECT_EQ(WaitForSize(wall, QSize(800, 500)), QSize(800, 500));

    // The host ends its saver with SIGTERM: gone at once, cleanly.
    ::kill(pid_t(program_.processId()), SIGTERM);
    EXPECT_TRUE(test::WaitForExit(program_, 1000)) << "still running a second after SIGTERM";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_FALSE(FileExists(Page()));
}

// A signal in the middle of a download that never ends ends the saver just as fast.
TEST_F(HostEndToEnd, SignalsEndTheSaverDuringADownload) {
    test::TLoopbackServer slow([](test::TConnection& c, test::TLoopbackServer& server) {
        const std::string request = c.ReadRequest();
        if (request.empty()) return;
        server.Record(request);
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n<rss>");
        c.SendSlowly(std::string(100000, ' '), 1, 50);
    });
    dir_.Write("Pelwick.ini", "[feeds]\nSlow=" + slow.Url("/slow") + "\n");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        THostWindow host(display_->Display(), 320, 200);
        const size_t requests = slow.Requests().size();
        Start({"-window-id", QString::number(host.Id())});
        ASSERT_NE(WaitForChild(host.Id()), 0u);
        ASSERT_TRUE(test::WaitUntil([&] { return slow.Requests().size() > requests; }, 30s,
                                    "the saver's request for the feed"));
        ::kill(pid_t(program_.processId()), signal);
        EXPECT_TRUE(test::WaitForExit(program_, 1000));
        EXPECT_EQ(program_.exitCode(), 0);
    }
}

TEST_F(HostEndToEnd, DestroyingTheHostsWindowEndsTheSaver) {
    THostWindow host(display_->Display(), 320, 200);
    Start({"-root"}, QString::number(host.Id()));
    ASSERT_NE(WaitForChild(host.Id()), 0u);
    host.Destroy();
    EXPECT_TRUE(test::WaitForExit(program_, 2000));
    EXPECT_EQ(program_.exitCode(), 0);
}

// The part of a grab that is not black: the preview picture has no black edge.
QRect PaintedArea(const QImage& shot) {
    QRect painted;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb c = shot.pixel(x, y);
            if (qRed(c) + qGreen(c) + qBlue(c) > 24) painted |= QRect(x, y, 1, 1);
        }
    return painted;
}

// The preview is a miniature of the wall: its picture as large as the area allows, centred
// on black, following the area's size; it ends with the area.
TEST_F(HostEndToEnd, ThePreviewFillsItsWindowAndEndsWithIt) {
    THostWindow area(display_->Display(), 152, 112);
    Start({"/p", QString::number(area.Id())});
    const std::uint32_t preview = WaitForChild(area.Id());
    ASSERT_NE(preview, 0u);
    // The client area covers the whole preview area and more.
    EXPECT_EQ(WaitForSize(preview, QSize(162, 122)), QSize(162, 122));
    // The picture is 177 x 132: each size shows it fitted, the rest a thin or centred border.
    const struct {
        QSize size;
        QRect painted;
    } rows[] = {{{152, 112}, {1, 0, 150, 112}},
                {{400, 300}, {0, 1, 400, 298}},
                {{320, 200}, {26, 0, 268, 200}}};
    for (const auto& row : rows) {
        area.Resize(row.size.width(), row.size.height());
        QRect painted;
        const bool fitted = test::PollUntil(
            [&] {
                const QImage shot = display_->Grab(area.Id());
                painted = shot.isNull() ? QRect() : PaintedArea(shot);
                return (painted.topLeft() - row.painted.topLeft()).manhattanLength() <= 2 &&
                       (painted.bottomRight() - row.painted.bottomRight()).manhattanLength() <= 2;
            },
            20s);
        EXPECT_TRUE(fitted) << row.size.width() << "x" << row.size.height() << ": painted "
                            << painted.x() << "," << painted.y() << " " << painted.width() << "x"
                            << painted.height();
    }
    EXPECT_TRUE(display_->TopLevelWindowsOf(program_.processId()).empty());
    area.Destroy();
    EXPECT_TRUE(test::WaitForExit(program_, 2000));
    EXPECT_EQ(program_.exitCode(), 0) << program_.readAllStandardError().toStdString();
}

// Over a pure blue picture the panel (black at alpha 190) and the card (#1B1B1B at 210)
// leave blues that tell them apart from the picture and from each other:
struct TWallShot {
    QRect panel, card;
    // The right end of the panel's text, leaving out the full-width rule under the title.
    int inkRight = -1;
};

TWallShot ReadWall(const QImage& shot) {
    TWallShot wall;
    // (0, 0, 65) and (22, 22, 67) when the fades are done; the panel's grey letters keep
    // 65 more blue than red, the card's background 45.
    const auto near = [](int value, int target) { return std::abs(value - target) <= 6; };
    const auto panelBack = [&](QRgb c) {
        return qRed(c) <= 6 && qGreen(c) <= 6 && near(qBlue(c), 65);
    };
    const auto cardBack = [&](QRgb c) {
        return near(qRed(c), 22) && near(qGreen(c), 22) && near(qBlue(c), 67);
    };
    // Runs of five, so that the edges of letters, which pass through every shade, do not
    // count as either.
    const auto run = [&shot](int x, int y, const auto& is) {
        for (int i = 0; i < 5; ++i)
            if (!is(shot.pixel(x + i, y))) return false;
        return true;
    };
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x + 5 <= shot.width(); ++x) {
            if (run(x, y, panelBack)) wall.panel |= QRect(x, y, 5, 1);
            if (run(x, y, cardBack)) wall.card |= QRect(x, y, 5, 1);
        }
    for (int y = wall.panel.top(); y <= wall.panel.bottom(); ++y) {
        int first = -1, last = -1;
        for (int x = wall.panel.left(); x <= wall.panel.right(); ++x)
            if (!panelBack(shot.pixel(x, y))) {
                if (first < 0) first = x;
                last = x;
            }
        if (first >= 0 && last - first < wall.panel.width() * 3 / 5)
            wall.inkRight = std::max(wall.inkRight, last);
    }
    return wall;
}

// A host's window smaller than a screen shows a miniature of the whole wall: the panel
// inside the window with its headlines whole, the card beside it.
TEST_F(HostEndToEnd, ASmallHostWindowShowsTheWallAsAMiniature) {
    std::remove(dir_.File("bright.bmp").c_str());
    for (const QSize size : {QSize(730, 410), QSize(320, 200)}) {
        QImage blue(size, QImage::Format_RGB888);
        blue.fill(QColor(0, 0, 255));
        ASSERT_TRUE(blue.save(QString::fromStdString(dir_.File("blue.bmp")), "BMP"));
        THostWindow host(display_->Display(), size.width(), size.height());
        Start({"-root"}, "0x" + QString::number(host.Id(), 16));
        // The first picture fades in from black through every blue; the wall is read when
        // two looks agree.
        TWallShot wall, last;
        test::PollUntil(
            [&] {
                last = wall;
                wall = ReadWall(display_->Grab(host.Id()));
                return wall.panel == last.panel && wall.card == last.card &&
                       wall.panel.height() > size.height() / 4 &&
                       wall.card.height() > size.height() / 8;
            },
            40s, 100ms);
        const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
        ASSERT_GT(wall.panel.height(), size.height() / 4) << at << ": no panel";
        ASSERT_GT(wall.card.height(), size.height() / 8) << at << ": no card";
        EXPECT_TRUE(QRect(1, 1, size.width() - 2, size.height() - 2).contains(wall.panel)) << at;
        EXPECT_FALSE(wall.card.intersects(wall.panel)) << at;
        EXPECT_GT(wall.card.left(), wall.panel.right()) << at << ": the card is not beside";
        EXPECT_LT(wall.inkRight, wall.panel.right() - 8) << at << ": the text runs to the edge";
        // A miniature: the panel keeps the height it has on a 1280 x 720 screen, scaled with
        // the window (to half size at least). Part of it may lie over the picture's border.
        const double scale =
            std::clamp(std::min(size.width() / 1280.0, size.height() / 720.0), 0.5, 1.0);
        EXPECT_NEAR(wall.panel.height(), TForm2::InitialHeight * scale, 12) << at;
        ::kill(pid_t(program_.processId()), SIGTERM);
        ASSERT_TRUE(test::WaitForExit(program_, 2000));
    }
}

TEST_F(HostEndToEnd, APreviewOfNoWindowIsAnOrdinaryWindowAndOfAMissingOneAnError) {
    Start({"/p", "0"});
    const std::uint32_t window = display_->WaitForWindow("^PreviewForm$");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(display_->WindowSize(window), QSize(234, 225));
    ::kill(pid_t(program_.processId()), SIGTERM);
    EXPECT_TRUE(test::WaitForExit(program_, 2000));
    EXPECT_EQ(program_.exitCode(), 0);

    Start({"/p", "0x7ffffff0"});
    ASSERT_TRUE(test::WaitForExit(program_, 10000));
    EXPECT_EQ(program_.exitCode(), 1);
    EXPECT_NE(program_.readAllStandardError().indexOf("no window"), -1);
}

}  // namespace
}  // namespace pelwick
