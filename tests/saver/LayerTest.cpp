#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <vector>

#include "aatext/AAScrollText.h"
#include "saver/HeadlinePanel.h"
#include "saver/Layer.h"
#include "saver/Screen.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// A child that paints itself green.
class TGreen : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::green); }
};

void SetWindowColor(QWidget& widget, Qt::GlobalColor color) {
    QPalette pal = widget.palette();
    pal.setColor(QPalette::Window, color);
    widget.setPalette(pal);
}

// 100 x 60 of red for a black layer to lie over.
class TRedWindow : public QWidget {
  public:
    TRedWindow() {
        resize(100, 60);
        setAutoFillBackground(true);
        SetWindowColor(*this, Qt::red);
    }
};

QRgb PixelAt(QWidget& window, int x, int y) {
    return window.grab().toImage().pixel(x, y);
}

// A child that paints itself in a colour of its own and counts its paints.
class TCountingColor : public QWidget {
  public:
    using QWidget::QWidget;
    QColor Color = Qt::red;
    int Paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override {
        ++Paints;
        QPainter(this).fillRect(rect(), Color);
    }
};

// Records the alpha the layer had at each of its paints.
class TPaintLog : public QObject {
  public:
    explicit TPaintLog(TLayerWindow& layer) : layer_(layer) { layer.installEventFilter(this); }
    std::vector<int> Alphas;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) Alphas.push_back(layer_.AlphaBlendValue());
        return false;
    }

  private:
    TLayerWindow& layer_;
};

// Every test runs with the layer asking Qt for what lies beneath it, and with the layer
// keeping its own copy of it.
class LayerBeneath : public testing::TestWithParam<bool> {
  protected:
    void KeepCopy(TLayerWindow& layer) { layer.SetKeepsBeneath(GetParam()); }
};
INSTANTIATE_TEST_SUITE_P(Layer, LayerBeneath, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "KeptCopy" : "QtBeneath";
                         });

TEST_P(LayerBeneath, IsComposedOpaqueAndBlendedAsAWhole) {
    TRedWindow window;
    TLayerWindow layer(&window, 255);
    KeepCopy(layer);
    SetWindowColor(layer, Qt::black);
    layer.SetFrame(QRect(0, 0, 80, 60));
    TGreen child(layer.Stage());
    child.setGeometry(40, 0, 40, 60);
    layer.show();
    window.show();

    EXPECT_EQ(qRed(PixelAt(window, 10, 10)), 0);
    layer.SetAlphaBlendValue(0);
    EXPECT_EQ(PixelAt(window, 10, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(PixelAt(window, 50, 10), QColor(Qt::red).rgb());
    layer.SetAlphaBlendValue(128);
    const QRgb back = PixelAt(window, 10, 10);
    const QRgb front = PixelAt(window, 50, 10);
    EXPECT_NEAR(qRed(back), 127, 2);
    EXPECT_EQ(qGreen(back), 0);
    // The child was drawn over the layer's own black first, not blended on its own.
    EXPECT_NEAR(qRed(front), 127, 2);
    EXPECT_NEAR(qGreen(front), 128, 2);
    EXPECT_EQ(PixelAt(window, 90, 10), QColor(Qt::red).rgb());
    layer.SetAlphaBlendValue(300);
    EXPECT_EQ(layer.AlphaBlendValue(), 255);
    layer.SetAlphaBlendValue(-5);
    EXPECT_EQ(layer.AlphaBlendValue(), 0);
}

// In a small host window the layer is laid out at full size and shown as a miniature.
TEST_P(LayerBeneath, ScaledLayerShowsItsWholeStageInTheScaledFrame) {
    TRedWindow window;
    TLayerWindow layer(&window, 255);
    KeepCopy(layer);
    SetWindowColor(layer, Qt::black);
    layer.SetScale(0.5);
    layer.SetFrame(QRect(20, 10, 80, 60));
    TGreen child(layer.Stage());
    child.setGeometry(40, 0, 40, 60);
    layer.show();
    window.show();

    EXPECT_EQ(layer.OnScreen(), QRect(10, 5, 40, 30));
    EXPECT_EQ(layer.Stage()->size(), QSize(80, 60));
    EXPECT_EQ(PixelAt(window, 5, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(qRgb(0, 0, 0), PixelAt(window, 14, 20));
    EXPECT_EQ(qGreen(PixelAt(window, 45, 20)), 255);
    EXPECT_EQ(PixelAt(window, 55, 20), QColor(Qt::red).rgb());
    layer.SetScale(1.0);
    EXPECT_EQ(layer.OnScreen(), QRect(20, 10, 80, 60));
    // Frames that touch in the layout touch on screen, whatever the rounding.
    EXPECT_EQ(ScaledRect(QRect(3, 3, 5, 5), 0.57).right() + 1,
              ScaledRect(QRect(8, 3, 5, 5), 0.57).left());
}

// A fade's steps blend the layer over its copy of what lies beneath: nothing beneath is
// painted again until its owner says it changed, and then the change is put on screen in
// the same paint, though Qt takes the layer for opaque.
TEST(Layer, FadeStepsLeaveWhatLiesBeneathUnpaintedUntilItChanges) {
    TRedWindow window;
    TCountingColor below(&window);
    below.setGeometry(0, 0, 100, 60);
    TLayerWindow layer(&window, 0);
    layer.SetKeepsBeneath(true);
    SetWindowColor(layer, Qt::black);
    layer.SetFrame(QRect(10, 10, 50, 40));
    std::int64_t ms = 0;
    const int frame = layer.PaintIntervalMs();
    layer.SetClock([&ms, frame] { return ms += frame; });  // every step is painted
    layer.show();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    layer.repaint();

    TPaintLog log(layer);
    const int before = below.Paints;
    for (int a = 1; a <= 40; ++a)
        layer.SetAlphaBlendValue(a);
    EXPECT_EQ(log.Alphas.size(), 40U);
    EXPECT_EQ(below.Paints, before);
    const int seen = 255 - 40;  // of a full colour beneath the black layer
    EXPECT_NEAR(qRed(test::ShownPixel(window, 20, 20)), seen, 1);

    const auto changeBelow = [&](Qt::GlobalColor color, QRect part) {
        below.Color = color;
        layer.BeneathChanged(part.translated(-layer.OnScreen().topLeft()));
        below.repaint(part);
    };
    changeBelow(Qt::blue, QRect(15, 15, 10, 10));
    const QRgb shown = test::ShownPixel(window, 20, 20);
    EXPECT_EQ(qRed(shown), 0);
    EXPECT_NEAR(qBlue(shown), seen, 1);
    // Outside the part said to change, the copy is kept.
    EXPECT_NEAR(qRed(test::ShownPixel(window, 40, 40)), seen, 1);
}

// Steps closer together than a display's frames are painted by a later step or when the
// frame is over, so the last one always shows; the event loop between the steps of a
// timed fade does not paint each of them.
TEST(Layer, StepsFasterThanADisplayShowsArePaintedOnceAFrame) {
    struct TCase {
        int stepMs;
        int steps;
        int mostPaints;
    };
    TRedWindow display;
    const int frame = TLayerWindow(&display, 0).PaintIntervalMs();
    ASSERT_GE(frame, 2);
    for (const TCase c : {TCase{3, 30, 30 * 3 / frame + 3}, TCase{frame, 10, 10}}) {
        TRedWindow window;
        TLayerWindow layer(&window, 0);
        SetWindowColor(layer, Qt::black);
        layer.SetFrame(QRect(0, 0, 50, 40));
        std::int64_t ms = 0;
        layer.SetClock([&ms, &c] { return ms += c.stepMs; });
        layer.show();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        TPaintLog log(layer);
        for (int a = 1; a <= c.steps; ++a) {
            layer.SetAlphaBlendValue(a);
            QCoreApplication::processEvents();  // as between the ticks of a timed fade
        }
        EXPECT_LE(int(log.Alphas.size()), c.mostPaints) << c.stepMs;
        EXPECT_GE(int(log.Alphas.size()), c.steps * c.stepMs / (frame * 2)) << c.stepMs;
        // A step left unpainted is painted once its frame is over.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !log.Alphas.empty() && log.Alphas.back() == c.steps; }, 5000))
            << c.stepMs;
    }
}

TEST(HeadlinePanel, TextControlCarriesTheHeadlineLook) {
    SetScreenSize(1920, 1080);
    QWidget window;
    window.resize(1920, 1080);
    TForm2 panel(&window);
    SetScreenSize(0, 0);
    EXPECT_EQ(panel.size(), QSize(429, 343));
    EXPECT_EQ(panel.AlphaBlendValue(), 180);
    EXPECT_EQ(panel.AAText->geometry(), QRect(5, -6, 418, 342));
    EXPECT_FALSE(panel.AAText->Active());
    EXPECT_EQ(panel.AAText->ScrollDelay(), 10);
    EXPECT_EQ(panel.AAText->RepeatDelay(), 1000);
    EXPECT_EQ(panel.AAText->Text().TailSpace(), 80);
    EXPECT_EQ(panel.AAText->Text().RowPitch(), 50);
    std::vector<std::string> fonts, labels;
    for (int i = 0; i < panel.AAText->Fonts().Count(); ++i)
        fonts.push_back(panel.AAText->Fonts()[i].Name());
    for (int i = 0; i < panel.AAText->Labels().Count(); ++i)
        labels.push_back(panel.AAText->Labels()[i].Name());
    EXPECT_EQ(fonts, (std::vector<std::string>{"Title1", "Text1", "Text2", "text3", "line"}));
    EXPECT_EQ(labels, (std::vector<std::string>{"Left", "Center", "Right", "Owner", "Organization",
                                                "AppTitle", "Date", "Time"}));
    // The text control follows the panel on all four sides.
    panel.show();
    window.show();
    panel.ResizeTo(300, 500);
    EXPECT_EQ(panel.AAText->geometry(), QRect(5, -6, 289, 499));
}

}  // namespace
}  // namespace pelwick
