#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "aatext/AAScrollText.h"
#include "saver/HeadlinePanel.h"
#include "saver/Layer.h"
#include "saver/Screen.h"

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

TEST(Layer, IsComposedOpaqueAndBlendedAsAWhole) {
    TRedWindow window;
    TLayerWindow layer(&window, 255);
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
TEST(Layer, ScaledLayerShowsItsWholeStageInTheScaledFrame) {
    TRedWindow window;
    TLayerWindow layer(&window, 255);
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
