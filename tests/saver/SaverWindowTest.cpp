#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <limits>

#include "SaverFixture.h"
#include "app/Files.h"
#include "app/Settings.h"
#include "saver/ApplicationEvents.h"
#include "saver/ItemCard.h"
#include "saver/PreviewForm.h"
#include "saver/SaverWindow.h"
#include "saver/ScreenScale.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/SlideshowDriver.h"

namespace pelwick {
namespace {

using test::TSaverFixture;

const std::vector<int> Quit{0};
const std::vector<int> NoQuit{};

TEST(SaverWindow, FirstShowLoadsSettingsAndPreparesTheRun) {
    TSaverFixture f({"News=/news"}, "", 1400, 900);
    EXPECT_TRUE(f.form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(SettingsFile);
    f.Show();
    ASSERT_TRUE(SettingsFile);
    EXPECT_EQ(SaverOptions.FeedNames, (std::vector<std::string>{"News"}));
    EXPECT_EQ(f.form->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(f.form->size(), QSize(1400, 900));
    EXPECT_EQ(f.form->PanelLeftRange, 10);
    EXPECT_EQ(MouseMoves, 20);
    EXPECT_FALSE(f.form->Loading);
    // The status bar is shown for the first download, below the slideshow's panel.
    EXPECT_TRUE(f.form->Panel2->isVisible());
    EXPECT_EQ(f.form->Panel2->geometry(), QRect(0, 879, 1400, 21));
    EXPECT_EQ(f.form->Panel1->geometry(), QRect(0, 0, 1400, 879));

    // A second show does not load again.
    SettingsFile->WriteString("feeds", "Other", "http://o");
    f.form->hide();
    f.form->show();
    EXPECT_EQ(SettingsFile->ReadString("feeds", "Other", ""), "http://o");
}

TEST(SaverWindow, PanelLeftRangeFollowsTheScreenWidth) {
    TSaverFixture wide({}, "", 1401, 900);
    wide.Show();
    EXPECT_EQ(wide.form->PanelLeftRange, 40);
}

TEST(SaverWindow, FirstShowStartsTheSlideshowOnPanel1AndTheCycle) {
    TSaverFixture f({}, "", 320, 200);
    EXPECT_FALSE(f.form->Slideshow);
    f.form->show();
    EXPECT_TRUE(f.form->Timer1.Enabled());
    EXPECT_EQ(f.form->Timer1.Interval(), 50);
    EXPECT_TRUE(f.form->MouseTimer.Enabled());
    EXPECT_EQ(f.form->MouseTimer.Interval(), 3000);
    ASSERT_TRUE(f.form->Slideshow);
    TGlimrascreen* screen = f.form->Slideshow->PictureScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->parentWidget(), f.form->Panel1);
    EXPECT_TRUE(screen->Threaded());
    EXPECT_EQ(screen->geometry(), f.form->Panel1->rect());
    // The slideshow follows the panel when the status bar goes.
    f.Key(Qt::Key_Space);
    f.Key(Qt::Key_Space);
    EXPECT_EQ(screen->size(), QSize(320, 200));
    TRunGlimrascreen* first = f.form->Slideshow.get();
    f.form->hide();
    f.form->show();
    EXPECT_EQ(f.form->Slideshow.get(), first);
}

// What one kind of input does under each set of exit options; every row is a fresh saver.
TEST(SaverWindow, InputEndsTheSaverAsTheExitOptionsSay) {
    enum TInput { Q, Escape, Alt, F10, Left, Right, Middle, Moves };
    const struct {
        const char* settings;
        TInput input;
        bool quits;
    } rows[] = {
        {"", Q, true},
        {"", Escape, true},
        {"", Alt, true},  // Alt and F10 arrive as system keys and follow the same rules
        {"", F10, true},
        {"", Left, true},
        {"", Right, true},
        {"", Middle, false},
        {"", Moves, true},
        {"OnlyEscKeyExit=1\n", Escape, true},
        {"OnlyEscKeyExit=1\n", Q, false},
        {"OnlyEscKeyExit=1\n", Left, false},
        {"OnlyEscKeyExit=1\n", Right, false},
        {"OnlyEscKeyExit=1\n", Moves, false},
        {"ShowCursor=1\nKeyboardPressExit=0\n", Q, true},
        {"ShowCursor=1\nKeyboardPressExit=0\n", Left, false},
        {"ShowCursor=1\nKeyboardPressExit=0\n", Moves, false},
        // No exit option at all: keys still end the saver.
        {"MouseMoveExit=0\nMousePressExit=0\nKeyboardPressExit=0\n", Q, true},
        {"MouseMoveExit=0\nMousePressExit=0\nKeyboardPressExit=0\n", Left, false},
        {"MouseMoveExit=0\nMousePressExit=0\nKeyboardPressExit=0\n", Moves, false},
        // A mouse exit but no key exit: other keys are ignored.
        {"KeyboardPressExit=0\nMouseMoveExit=1\n", Q, false},
        {"KeyboardPressExit=0\nMouseMoveExit=1\n", Escape, false},
        {"KeyboardPressExit=0\nMouseMoveExit=1\n", Left, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.settings) + " input " + std::to_string(row.input));
        TSaverFixture f({}, row.settings);
        f.Show();
        switch (row.input) {
            case Q:
                f.Key(Qt::Key_Q);
                break;
            case Escape:
                f.Key(Qt::Key_Escape);
                break;
            case Alt:
                f.Key(Qt::Key_Alt);
                break;
            case F10:
                f.Key(Qt::Key_F10);
                break;
            case Left:
                f.MouseDown(Qt::LeftButton);
                break;
            case Right:
                f.MouseDown(Qt::RightButton);
                break;
            case Middle:
                f.MouseDown(Qt::MiddleButton);
                break;
            case Moves:
                for (int i = 0; i < 50; ++i)
                    f.MouseMove(i, i);
                break;
        }
        EXPECT_EQ(f.halts, row.quits ? Quit : NoQuit);
        // The cursor stays hidden whatever ShowCursor says.
        EXPECT_EQ(f.form->cursor().shape(), Qt::BlankCursor);
    }
}

TEST(SaverWindow, TwentyMouseMovesInOnePeriodAreTolerated) {
    TSaverFixture f;
    f.Show();
    for (int i = 0; i < 20; ++i)
        f.MouseMove(i, i);
    EXPECT_EQ(f.halts, NoQuit);
    // The mouse timer gives back the tolerance.
    f.form->MouseTimerTimer();
    for (int i = 0; i < 20; ++i)
        f.MouseMove(i, i);
    EXPECT_EQ(f.halts, NoQuit);
    f.MouseMove(99, 99);
    EXPECT_EQ(f.halts, Quit);
}

TEST(SaverWindow, SpaceTogglesPauseAndTheStatusText) {
    TSaverFixture f;
    f.Show();
    f.Key(Qt::Key_Space);
    EXPECT_TRUE(f.form->Paused);
    EXPECT_TRUE(f.form->Panel2->isVisible());
    EXPECT_EQ(f.form->Panel2->text().toStdString(),
              "  Pause scrolling: press spacebar to continue.  [UP key: Previous item;  DOWN: "
              "Next item; LEFT: Previous RSS feed; RIGHT: Next RSS feed]");
    f.Key(Qt::Key_Space);
    EXPECT_FALSE(f.form->Paused);
    EXPECT_FALSE(f.form->Panel2->isVisible());
    EXPECT_EQ(f.form->Panel1->height(), f.form->height());
    EXPECT_EQ(f.halts, NoQuit);
}

TEST(SaverWindow, DownloadStatusGoesToTheStatusBar) {
    TSaverFixture f({"News=/news"});
    f.Show();
    f.form->FeedName = "News";
    f.form->httpStatus(f.form->http, THTTPClient::hsConnecting, "Connecting to 127.0.0.1.");
    EXPECT_EQ(f.form->Panel2->text().toStdString(), "[News] Connecting to 127.0.0.1.");
    f.form->httpWorkBegin(f.form->http, THTTPClient::wmRead, 5000);
    f.form->httpWork(f.form->http, THTTPClient::wmRead, 1024);
    EXPECT_EQ(f.form->Panel2->text().toStdString(), "Progress: 1024 of 5000");
    f.form->httpWorkEnd(f.form->http, THTTPClient::wmRead);
    EXPECT_FALSE(f.form->Panel2->isVisible());
    // Later texts still change the hidden caption.
    f.form->httpStatus(f.form->http, THTTPClient::hsConnected, "Connected.");
    EXPECT_EQ(f.form->Panel2->text().toStdString(), "[News] Connected.");
    EXPECT_FALSE(f.form->Panel2->isVisible());
}

TEST(SaverWindow, EnterOpensOnlyWebLinksAndQuits) {
    TSaverFixture f({"News=/news"});
    f.server.Set("/news", test::RssFeed("News", "d", 2));
    f.Show();
    // Without a card there is no link: Enter just ends the saver.
    f.Key(Qt::Key_Return);
    EXPECT_TRUE(f.opened.empty());
    EXPECT_EQ(f.halts, Quit);

    // Line breaks around a link are no part of it; anything but a web address counts as no
    // link.
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"http://example.com/1", {"http://example.com/1"}},
        {"\n  http://example.com/x\n", {"http://example.com/x"}},
        {"file:///etc/passwd", {}},
        {"javascript:alert(1)", {}},
    };
    for (const auto& [link, opened] : cases) {
        f.halts.clear();
        f.opened.clear();
        f.form->show();
        f.server.Set("/news", std::string("<rss version=\"2.0\"><channel><title>T</title><item>") +
                                  "<title>A</title><link>" + link +
                                  "</link></item></channel></rss>");
        f.Load(0);
        ASSERT_NE(f.form->Form3(), nullptr);
        f.Key(Qt::Key_Enter);
        EXPECT_EQ(f.opened, opened) << link;
        EXPECT_EQ(f.halts, Quit) << link;
    }
}

TEST(SaverWindow, ABrowserThatCannotStartIsReportedAndTheSaverGoesOn) {
    TSaverFixture f({"News=/news"});
    f.server.Set("/news", test::RssFeed("News", "d", 1));
    f.Show();
    f.Load(0);
    f.openerFails = true;
    f.Key(Qt::Key_Return);
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_NE(f.errors[0].find("http://example.com/1"), std::string::npos) << f.errors[0];
    EXPECT_EQ(f.halts, NoQuit);
    EXPECT_TRUE(f.form->isVisible());
}

// The error box of a browser that cannot start takes the keys typed into it: Enter closes it
// instead of trying the browser again, and the saver goes on with its cursor hidden again.
TEST(SaverWindow, TheBoxOfAFailedBrowserOwnsItsInput) {
    TSaverFixture f({"News=/news"});
    f.server.Set("/news", test::RssFeed("News", "d", 1));
    f.Show();
    f.Load(0);
    f.openerFails = true;
    SetApplicationExceptionHandler(ShowErrorMessage);
    int boxes = 0;
    bool arrowOverBox = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("seen").toBool()) return;
        box->setProperty("seen", true);
        if (++boxes > 1) {  // a stacked box: end it so that the test cannot hang
            box->reject();
            return;
        }
        const QCursor* cursor = QGuiApplication::overrideCursor();
        arrowOverBox = cursor && cursor->shape() == Qt::ArrowCursor;
        // Posted, so that the box's own loop delivers them and this timer can fire again.
        for (const int key : {int(Qt::Key_Space), int(Qt::Key_Down), int(Qt::Key_Return)})
            QCoreApplication::postEvent(box->windowHandle(),
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    });
    watcher.start(20);
    f.Key(Qt::Key_Return);
    watcher.stop();
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(arrowOverBox);
    EXPECT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.halts, NoQuit);
    EXPECT_FALSE(f.form->Paused);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    EXPECT_TRUE(f.form->isVisible());
}

TEST(SaverWindow, QuitDeletesTheItemPageAndClosesTheDownload) {
    TSaverFixture f({"News=/news"});
    f.server.Set("/news", test::RssFeed("News", "d", 1));
    f.Show();
    f.Load(0);
    EXPECT_TRUE(FileExists(ItemPagePath()));
    f.form->QuitSaver();
    EXPECT_FALSE(FileExists(ItemPagePath()));
    EXPECT_FALSE(f.form->http.Connected());
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.halts, Quit);
    // Hidden, the window ignores everything.
    f.Key(Qt::Key_Q);
    f.MouseDown(Qt::LeftButton);
    EXPECT_EQ(f.halts, Quit);
}

TEST(PreviewForm, SizeAndCaption) {
    TPreviewForm form;
    EXPECT_EQ(form.windowTitle(), "PreviewForm");
    EXPECT_EQ(form.size(), QSize(234, 225));
}

}  // namespace
}  // namespace pelwick

namespace pelwick {
namespace {

TEST(ScreenScale, WholeScalesFromDenseScreensOnly) {
    const struct {
        double dpi;
        int scale;
    } rows[] = {
        {0, 1},   {-5, 1},  {96, 1},  {143.9, 1}, {144, 2},
        {192, 2}, {240, 3}, {288, 3}, {1200, 3},  {std::numeric_limits<double>::quiet_NaN(), 1}};
    for (const auto& row : rows)
        EXPECT_EQ(ScaleForDpi(row.dpi), row.scale) << row.dpi;
}

}  // namespace
}  // namespace pelwick
