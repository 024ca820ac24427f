#include <gtest/gtest.h>

#include "aatext/FontLabelsIni.h"
#include "aatext/HeadlineStyle.h"
#include "aatext/TextParams.h"
#include "app/SettingsFile.h"

namespace pelwick {
namespace {

TEST(TextParams, EveryRealChangeOfLinesEffectAndSettingsReports) {
    int changes = 0;
    TCustomTextParam params([&](TNotifyClass&) { ++changes; });
    params.Lines().SetText("one\r\ntwo\nthree\rfour\n");
    EXPECT_EQ(params.Lines().Strings(), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(changes, 1);
    params.Lines().Assign({"one", "two", "three", "four"});
    params.SetRowPitch(20);
    params.SetLabelEffect(TCustomTextParam::leUntilNextLabel);
    params.SetBackGroundMode(TCustomParam::bmCenter);
    EXPECT_EQ(changes, 1);
    params.FontEffect().SetAlpha(50);
    params.SetWordWrap(true);
    params.SetEndEllipsis(true);
    params.SetAlignment(taCenter);
    params.BackGround().SetBitmap(TBitmap(1, 1));
    EXPECT_EQ(changes, 6);
    EXPECT_THROW(params.Lines().Delete(4), Exception);

    TCustomTextParam copy;
    copy.Assign(params);
    EXPECT_EQ(copy.Lines().Count(), 4);
    EXPECT_EQ(copy.FontEffect().Alpha(), 50);
    EXPECT_TRUE(copy.WordWrap());
    EXPECT_TRUE(copy.EndEllipsis());
    EXPECT_EQ(copy.BackGround().Width(), 1);
    TAAEffect effect;
    EXPECT_THROW(copy.Assign(effect), Exception);
}

TEST(TextParams, FontLabelsGoThroughASettingsFile) {
    TFontLabels panel;
    AddHeadlineFontLabels(panel);
    TSettingsFile ini;
    SaveFontLabels(panel, ini);
    TSettingsFile reread;
    reread.SetText(ini.Text());
    TFontLabels loaded;
    LoadFontLabels(reread, loaded);
    ASSERT_EQ(loaded.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(loaded[i].Name(), panel[i].Name());
        EXPECT_TRUE(loaded[i].Font() == panel[i].Font()) << panel[i].Name();
        EXPECT_TRUE(loaded[i].Effect() == panel[i].Effect()) << panel[i].Name();
    }
    // Sections name labels; a second section of the same name (in another case) is ignored.
    TSettingsFile small;
    small.SetText("[Big]\nHeight=-30\nShadow=1\n[other]\n[BIG]\nHeight=-5\n");
    LoadFontLabels(small, loaded);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded[0].Font().Height, -30);
    EXPECT_TRUE(loaded[0].Effect().Shadow().Enabled());
    EXPECT_EQ(loaded[1].Name(), "other");
}

}  // namespace
}  // namespace pelwick
