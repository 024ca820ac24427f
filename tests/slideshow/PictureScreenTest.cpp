#include "slideshow/PictureScreen.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include "SlideshowTestSupport.h"

namespace pelwick {
namespace {

using test::Pattern;
using test::ShowAtOnce;
using test::ShowsAt;
using test::Solid;

TEST(PictureScreen, ConstructionValues) {
    TGlimrascreen c;
    EXPECT_EQ(c.size(), QSize(100, 100));
    EXPECT_FALSE(c.Picture().HasImage());
    EXPECT_FALSE(c.BgPicture().HasImage());
    EXPECT_EQ(c.BgMode(), TCustomGlimrascreen::bmTiled);
    EXPECT_FALSE(c.Center());
    EXPECT_FALSE(c.Stretch());
    EXPECT_FALSE(c.StretchFine());
    EXPECT_TRUE(c.AutoSize());
    EXPECT_EQ(c.Step(), 4);
    EXPECT_EQ(c.Delay(), 30);
    EXPECT_EQ(c.Style(), 101);
    EXPECT_FALSE(c.Reverse());
    EXPECT_FALSE(c.Manual());
    EXPECT_TRUE(c.Threaded());
    EXPECT_EQ(c.ThreadPriority(), QThread::NormalPriority);
    EXPECT_EQ(c.Color(), clWindow);
    EXPECT_TRUE(c.ScreenBitmap().Empty());
    EXPECT_EQ(c.ScreenBitmap().PixelFormat(), pf24bit);
    EXPECT_EQ(c.PaintBuffer().PixelFormat(), pf32bit);
    EXPECT_EQ(c.Progress(), 0);
    EXPECT_FALSE(c.Running());
    EXPECT_EQ(c.SizeMode(), 0);
    EXPECT_FALSE(c.RandomPlacement());
    EXPECT_EQ(c.PreviousPicture(), nullptr);
    EXPECT_TRUE(c.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_TRUE(c.testAttribute(Qt::WA_NoSystemBackground));
}

TEST(PictureScreen, StepIsClampedToOneToHundred) {
    TGlimrascreen c;
    c.SetStep(0);
    EXPECT_EQ(c.Step(), 1);
    c.SetStep(250);
    EXPECT_EQ(c.Step(), 100);
    c.SetStep(37);
    EXPECT_EQ(c.Step(), 37);
}

TEST(PictureScreen, BeforeTheFirstTransitionOnlyTheColourShows) {
    TGlimrascreen c;
    c.SetColor(RGB(10, 20, 30));
    c.resize(7, 5);
    c.Paint();
    ASSERT_EQ(c.PaintBuffer().Width(), 7);
    EXPECT_TRUE(ShowsAt(c, Solid(7, 5, RGB(10, 20, 30)), 0, 0));
}

TEST(PictureScreen, CentredPlacementOverhangsEquallyOnBothSides) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.resize(1024, 768);
    c.SetCenter(true);
    c.SetManual(true);
    c.Picture().SetBitmap(TBitmap(800, 600));
    c.StartTransition();
    EXPECT_EQ(c.PictureRect(), (TRect{112, 84, 912, 684}));
    c.StopTransition();
    c.Picture().SetBitmap(TBitmap(1027, 771));
    c.StartTransition();
    EXPECT_EQ(c.PictureRect(), (TRect{-1, -1, 1026, 770}));
    c.StopTransition();
    // Switching Center off puts the picture back at the top-left corner.
    c.SetCenter(false);
    EXPECT_EQ(c.PictureRect(), (TRect{0, 0, 1027, 771}));
}

TEST(PictureScreen, FitRectangleKeepsTheAspectRatio) {
    EXPECT_EQ(TGlimrascreen::FitRect(TRect{300, 100, 700, 400}, TRect{0, 0, 1000, 500}),
              (TRect{166, 0, 833, 500}));
    EXPECT_EQ(TGlimrascreen::FitRect(TRect{0, 0, 400, 300}, TRect{10, 10, 410, 1010}),
              (TRect{10, 360, 410, 660}));
}

TEST(PictureScreen, StretchFineDrawsIntoTheFitRectangle) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.SetColor(clBlack);
    c.resize(1000, 500);
    c.SetCenter(true);
    ShowAtOnce(c, Solid(400, 300, clWhite));
    c.SetStretch(true);
    c.SetStretchFine(true);
    c.Paint();
    const TBitmap& b = c.PaintBuffer();
    EXPECT_EQ(b.Pixel(165, 250), clBlack);
    EXPECT_EQ(b.Pixel(166, 0), clWhite);
    EXPECT_EQ(b.Pixel(832, 499), clWhite);
    EXPECT_EQ(b.Pixel(833, 250), clBlack);
    // Stretch alone covers the whole client area.
    c.SetStretchFine(false);
    c.Paint();
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(999, 499), clWhite);
}

TEST(PictureScreen, BackgroundModes) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.resize(250, 250);
    TBitmap tile = Solid(100, 100, clBlue);
    tile.SetPixel(0, 0, clRed);
    c.BgPicture().SetBitmap(tile);
    c.Paint();
    int corners = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 250; ++x) {
            const TColor p = c.PaintBuffer().Pixel(x, y);
            corners += p == clRed;
            ASSERT_TRUE(p == clRed || p == clBlue) << x << "," << y;
        }
    EXPECT_EQ(corners, 9);  // 3 x 3 tiles
    EXPECT_EQ(c.PaintBuffer().Pixel(200, 200), clRed);

    c.SetColor(clBlack);
    c.SetBgMode(TCustomGlimrascreen::bmCentered);
    c.Paint();
    EXPECT_EQ(c.PaintBuffer().Pixel(75, 75), clRed);
    EXPECT_EQ(c.PaintBuffer().Pixel(74, 75), clBlack);
    c.SetBgMode(TCustomGlimrascreen::bmStretched);
    c.Paint();
    EXPECT_EQ(c.PaintBuffer().Pixel(249, 249), clBlue);
    c.SetBgMode(TCustomGlimrascreen::bmNone);
    c.Paint();
    EXPECT_TRUE(ShowsAt(c, Solid(250, 250, clBlack), 0, 0));
}

TEST(PictureScreen, PictureChangesResizeAnUnalignedControlAndNotify) {
    QWidget parent;
    parent.resize(300, 200);
    TGlimrascreen c(&parent);
    parent.show();
    int changes = 0;
    c.OnChange = [&](TCustomGlimrascreen&) { ++changes; };
    c.Picture().SetBitmap(TBitmap(40, 30));
    EXPECT_EQ(c.size(), QSize(40, 30));
    EXPECT_EQ(changes, 1);
    c.SetAutoSize(false);
    c.Picture().SetBitmap(TBitmap(50, 60));
    EXPECT_EQ(c.size(), QSize(40, 30));
    c.SetAutoSize(true);  // adjusts at once
    EXPECT_EQ(c.size(), QSize(50, 60));

    c.SetAlign(TCustomGlimrascreen::alClient);
    EXPECT_EQ(c.geometry(), parent.rect());
    c.Picture().SetBitmap(TBitmap(10, 10));
    EXPECT_EQ(c.size(), QSize(300, 200));  // aligned controls keep their size
    parent.resize(320, 240);
    EXPECT_EQ(c.size(), QSize(320, 240));
    EXPECT_EQ(changes, 3);
}

TEST(PictureScreen, ResizingRecentresThePicture) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.resize(30, 30);
    c.show();
    c.SetCenter(true);
    ShowAtOnce(c, Solid(10, 10, clRed));
    EXPECT_EQ(c.PictureRect(), (TRect{10, 10, 20, 20}));
    c.resize(50, 30);
    EXPECT_EQ(c.PictureRect(), (TRect{20, 10, 30, 20}));
}

// Records the areas the control paints.
class PaintSpy : public QObject {
  public:
    std::vector<QRect> rects;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->rect());
        return false;
    }
};

TEST(PictureScreen, AFrameRepaintsOnlyThePictureAreaAtOnce) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.SetColor(clBlack);
    c.resize(64, 48);
    c.SetCenter(true);
    c.SetThreaded(false);
    c.SetStyle(StyleCrossFade);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    QCoreApplication::processEvents();
    PaintSpy spy;
    c.installEventFilter(&spy);
    c.SetManual(true);
    c.Picture().SetBitmap(Pattern(20, 10));
    c.StartTransition();
    c.SetProgress(50);
    ASSERT_FALSE(spy.rects.empty());
    EXPECT_EQ(spy.rects.back(), QRect(22, 19, 20, 10));
    c.SetProgress(100);
    EXPECT_TRUE(ShowsAt(c, Pattern(20, 10), 22, 19));
    EXPECT_TRUE(ShowsAt(c, Solid(22, 48, clBlack), 0, 0));
    c.removeEventFilter(&spy);
}

TEST(PictureScreen, UnhandledClicksGoOnToTheParent) {
    class Parent : public QWidget {
      public:
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    } parent;
    parent.resize(50, 50);
    TGlimrascreen c(&parent);
    c.SetAutoSize(false);
    c.resize(50, 50);
    parent.show();
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(parent.presses, 1);
    std::vector<std::pair<int, int>> downs;
    c.OnMouseDown = [&](TCustomGlimrascreen&, Qt::MouseButton, Qt::KeyboardModifiers, int x,
                        int y) { downs.emplace_back(x, y); };
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(7, 9));
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{7, 9}}));
    EXPECT_EQ(parent.presses, 1);
}

}  // namespace
}  // namespace pelwick
