#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <memory>

#include "AATestSupport.h"
#include "aatext/AAStaticText.h"

namespace pelwick {
namespace {

// A label that counts its rebuilds.
class TCountingLabel : public TAALabel {
  public:
    int Resets = 0;

  protected:
    void Reset() override {
        ++Resets;
        TAALabel::Reset();
    }
};

struct TLabelScene {
    TLabelScene() {
        label.Glyphs().SetRasterizer(raster);
        TFont font;
        font.Height = -10;
        font.Color = clWhite;
        label.SetFont(font);
        label.Effect().SetBackColor(clBlack);
        label.SetCaption("ab");
    }
    std::shared_ptr<test::TBlockRasterizer> raster = std::make_shared<test::TBlockRasterizer>();
    TCountingLabel label;
};

TEST(AAGraphicControl, ChangesRebuildOnlyAPreparedControlOutsideUpdates) {
    TLabelScene s;
    EXPECT_EQ(s.label.Resets, 0);  // not prepared yet
    s.label.Loaded();
    EXPECT_EQ(s.label.Resets, 1);

    s.label.BeginUpdate();
    s.label.SetCaption("abc");
    s.label.Effect().SetBackColor(clBlue);
    s.label.EndUpdate();
    EXPECT_EQ(s.label.Resets, 1);
    s.label.Changed();  // the owner rebuilds once after its bracket
    EXPECT_EQ(s.label.Resets, 2);

    s.label.SetAutoUpdate(false);
    s.label.SetCaption("abcd");
    s.label.Effect().FontEffect().SetAlpha(50);  // the glyphs' effect reports too
    EXPECT_EQ(s.label.Resets, 2);
    s.label.SetAutoUpdate(true);
    EXPECT_EQ(s.label.Resets, 2);  // switching it back on waits for the next change
    s.label.SetBorder(1);
    EXPECT_EQ(s.label.Resets, 3);
    s.label.SetBorder(1);  // no change, no rebuild
    EXPECT_EQ(s.label.Resets, 3);
}

TEST(AAGraphicControl, TheFirstPaintPreparesAndTheWidgetShowsTheImage) {
    TLabelScene s;
    s.label.grab();  // a paint event through Qt prepares the label, which sizes itself
    EXPECT_TRUE(s.label.Prepared());
    EXPECT_EQ(s.label.Resets, 1);
    const QPixmap shot = s.label.grab();
    EXPECT_EQ(shot.width(), 10);
    const QImage image = shot.toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 255));
    EXPECT_EQ(s.label.Image().Pixel(2, 2), clWhite);

    s.label.SetCaption("a b");  // the blank between the blocks shows the background
    const QImage after = s.label.grab().toImage();
    EXPECT_EQ(after.width(), 15);
    EXPECT_EQ(after.pixelColor(7, 5), QColor(0, 0, 0));
    EXPECT_EQ(after.pixelColor(12, 5), QColor(255, 255, 255));
}

TEST(AAGraphicControl, ALeftClickInsideRaisesClick) {
    TLabelScene s;
    s.label.Loaded();
    int clicks = 0;
    s.label.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&s.label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&s.label, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace pelwick
