#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "saver/Form1.h"
#include "saver/PreviewForm.h"
#include "slideshow/Glimrascreen.h"
#include "slideshow/RunGlimrascreen.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// Records Halt calls instead of ending the test process.
class HaltRecorder {
  public:
    HaltRecorder() {
        previous_ = SetHaltHandler([this](int code) { codes.push_back(code); });
    }
    ~HaltRecorder() { SetHaltHandler(std::move(previous_)); }
    std::vector<int> codes;

  private:
    THaltHandler previous_;
};

TEST(Form1, FirstShowLoadsSettingsAndHidesTheCursor) {
    test::TProgramFolder dir;
    dir.Write("Pelwick.ini", "[feeds]\nNews=http://n\n");
    TForm1 form;
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(SettingsFile);
    form.showFullScreen();
    ASSERT_TRUE(SettingsFile);
    EXPECT_EQ(SaverOptions.FeedNames, (std::vector<std::string>{"News"}));
    EXPECT_EQ(form.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));

    // A second show does not load again.
    SettingsFile->WriteString("feeds", "Other", "http://o");
    form.hide();
    form.show();
    EXPECT_EQ(SettingsFile->ReadString("feeds", "Other", ""), "http://o");
}

TEST(Form1, AnyKeyQuitsAndDeletesTheItemPage) {
    test::TProgramFolder dir;
    HaltRecorder halts;
    TForm1 form;
    form.show();
    dir.Write("tmp.htm", "<html></html>");
    QTest::keyClick(&form, Qt::Key_Q);
    EXPECT_EQ(halts.codes, (std::vector<int>{0}));
    EXPECT_FALSE(FileExists(dir.File("tmp.htm")));
    EXPECT_FALSE(form.isVisible());
}

TEST(Form1, LeftAndRightClicksQuitOthersDoNot) {
    test::TProgramFolder dir;
    HaltRecorder halts;
    TForm1 form;
    form.show();
    QTest::mouseClick(&form, Qt::MiddleButton);
    EXPECT_TRUE(halts.codes.empty());
    QTest::mouseClick(&form, Qt::LeftButton);
    form.show();
    QTest::mouseClick(&form, Qt::RightButton);
    EXPECT_EQ(halts.codes, (std::vector<int>{0, 0}));
}

TEST(Form1, FirstShowStartsTheSlideshowOnPanel1) {
    test::TProgramFolder dir;
    TForm1 form;
    EXPECT_FALSE(form.Slideshow);
    form.resize(320, 200);
    form.show();
    ASSERT_TRUE(form.Slideshow);
    TGlimrascreen* screen = form.Slideshow->PictureScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->parentWidget(), form.Panel1);
    EXPECT_TRUE(screen->Threaded());
    EXPECT_EQ(form.Panel1->geometry(), form.rect());
    EXPECT_EQ(screen->geometry(), form.Panel1->rect());
    // Going full screen after the first show: the panel and the slideshow follow.
    form.resize(500, 300);
    EXPECT_EQ(form.Panel1->size(), QSize(500, 300));
    EXPECT_EQ(screen->size(), QSize(500, 300));
    // Shown again, the window keeps its slideshow.
    TRunGlimrascreen* first = form.Slideshow.get();
    form.hide();
    form.show();
    EXPECT_EQ(form.Slideshow.get(), first);
}

TEST(PreviewForm, SizeAndCaption) {
    TPreviewForm form;
    EXPECT_EQ(form.windowTitle(), "PreviewForm");
    EXPECT_EQ(form.size(), QSize(234, 225));
}

}  // namespace
}  // namespace pelwick
