#include <gtest/gtest.h>

#include <QLocale>
#include <cstdlib>

#include "aatext/Labels.h"

namespace pelwick {
namespace {

TFont FontOfHeight(int height) {
    TFont f;
    f.Height = height;
    return f;
}

TFontLabel& Add(TFontLabels& fonts, const std::string& name, int height, int alpha = 100) {
    TFontLabel& label = fonts.Add();
    label.SetName(name);
    label.SetFont(FontOfHeight(height));
    label.Effect().SetAlpha(alpha);
    return label;
}

TEST(FontLabels, TagsMatchInAnyCaseAndAreRemoved) {
    TFontLabels fonts;
    Add(fonts, "Text1", -15, 90);
    for (const std::string tag : {"<text1>", "<Text1>", "<TEXT1>", "<tExT1>"}) {
        std::string line = "1. " + tag + "Headline";
        TFont font;
        TAAEffect effect;
        fonts.ApplyTags(line, &font, &effect);
        EXPECT_EQ(line, "1. Headline");
        EXPECT_EQ(font.Height, -15);
        EXPECT_EQ(effect.Alpha(), 90);
    }
    // Only ASCII letters fold, and missing targets still lose the tag.
    std::string line = "Ärger<TEXT1>ß";
    fonts.ApplyTags(line, nullptr, nullptr);
    EXPECT_EQ(line, "Ärgerß");
}

TEST(FontLabels, LastLabelWinsOnlyFirstTagGoesUnknownTagsStay) {
    TFontLabels fonts;
    Add(fonts, "A", -10);
    Add(fonts, "B", -20);
    std::string line = "<B>x<a>y<A><nope>";
    TFont font;
    fonts.ApplyTags(line, &font, nullptr);
    EXPECT_EQ(font.Height, -20);     // B comes later in the collection
    EXPECT_EQ(line, "xy<A><nope>");  // the second <A> is text, as is an unknown tag

    TFontLabels reversed;
    Add(reversed, "B", -20);
    Add(reversed, "A", -10);
    line = "<B>x<a>y";
    reversed.ApplyTags(line, &font, nullptr);
    EXPECT_EQ(font.Height, -10);

    // A tag inside another one shows once the inner one is gone, if its label comes later.
    line = "<<A>B>z";
    font = FontOfHeight(-7);
    fonts.ApplyTags(line, &font, nullptr);
    EXPECT_EQ(line, "z");
    EXPECT_EQ(font.Height, -20);
    line = "<<B>A>z";
    fonts.ApplyTags(line, &font, nullptr);
    EXPECT_EQ(line, "<A>z");

    line = "no tags <";
    font = FontOfHeight(-7);
    fonts.ApplyTags(line, &font, nullptr);
    EXPECT_EQ(line, "no tags <");
    EXPECT_EQ(font.Height, -7);
}

TEST(FontLabels, NamesAreUniqueIgnoringCase) {
    int changes = 0;
    TFontLabels fonts;
    fonts.OnChange = [&] { ++changes; };
    Add(fonts, "Title1", -19);
    TFontLabel& other = Add(fonts, "Text1", -15);
    changes = 0;
    try {
        other.SetName("TITLE1");
        ADD_FAILURE();
    } catch (const EDuplicateLabel& e) {
        EXPECT_STREQ(e.what(), "Duplicate string!");
    }
    EXPECT_EQ(other.Name(), "Text1");
    EXPECT_EQ(changes, 0);
    other.SetName("TEXT1");  // itself in another case
    EXPECT_EQ(other.Name(), "TEXT1");
    other.SetName("");
    fonts[0].SetName("");  // empty names may repeat
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(fonts.AddItem("", "Verdana", 9, clWhite, 0, false, 0, 0), nullptr);
    fonts[0].SetName("Überschrift");
    EXPECT_EQ(fonts.IndexOf("ÜBERSCHRIFT"), 0);
    EXPECT_EQ(fonts.IndexOf("missing"), -1);

    TFontLabel* added = fonts.AddItem("Big", "Verdana", 14, clRed, fsBold | fsItalic, true, 3, -2);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Font().Size, 14);
    EXPECT_TRUE(added->Font().Bold && added->Font().Italic && !added->Font().Underline);
    EXPECT_TRUE(added->Effect().Shadow().Enabled());
    EXPECT_EQ(added->Effect().Shadow().OffsetY(), -2);
    EXPECT_EQ(fonts.AddItem("BIG", "Arial", 8, clRed, 0, false, 0, 0), nullptr);
    EXPECT_EQ(fonts.Count(), 3);
    changes = 0;
    added->Effect().SetBlur(5);
    added->SetFont(added->Font());
    EXPECT_EQ(changes, 1);
}

TEST(UserLabels, StandardSetAlignsAndInserts) {
    TUserLabels labels;
    labels.AddStandardLabels();
    ASSERT_EQ(labels.Count(), 8);
    const char* names[] = {"Left",         "Center",   "Right", "Owner",
                           "Organization", "AppTitle", "Date",  "Time"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(labels[i].Name(), names[i]);
        EXPECT_EQ(labels[i].Style(), static_cast<TUserLabel::TLabelStyle>(i));
    }
    labels.Now = [] { return QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)); };
    std::string line = "<Title1><center>Today <date>, <Date>";
    TAlignment alignment = taLeftJustify;
    labels.ApplyTags(line, alignment);
    EXPECT_EQ(alignment, taCenter);
    EXPECT_EQ(line, "<Title1>Today " +
                        QLocale().toString(QDate(2024, 2, 29), QLocale::ShortFormat).toStdString() +
                        ", <Date>");
    line = "<RIGHT><Time>";
    labels.ApplyTags(line, alignment);
    EXPECT_EQ(alignment, taRightJustify);
    EXPECT_NE(line.find("09"), std::string::npos);
    EXPECT_NE(line.find("05"), std::string::npos);
    EXPECT_EQ(labels[0].Text(), "");
}

TEST(UserLabels, InsertedTextIsSeenByLaterLabelsOnly) {
    TUserLabels labels;
    labels.AddItem("First", "<Second>", TUserLabel::lsCustom);
    labels.AddItem("Second", "two", TUserLabel::lsCustom);
    labels.AddItem("Zero", "<First>", TUserLabel::lsCustom);
    std::string line = "<Zero>|<First>";
    TAlignment alignment = taLeftJustify;
    labels.ApplyTags(line, alignment);
    EXPECT_EQ(line, "<First>|two");  // Zero's text comes after First had its turn

    TUserLabel& custom = labels[1];
    custom.OnGetText = [](TUserLabel&, std::string& text) { text += "!"; };
    EXPECT_EQ(custom.Text(), "two!");
    custom.SetStyle(TUserLabel::lsLeftJustify);
    custom.SetText("ignored");
    custom.SetStyle(TUserLabel::lsCustom);
    EXPECT_EQ(custom.Text(), "two!");
    EXPECT_EQ(labels.AddItem("SECOND", "x", TUserLabel::lsCustom), nullptr);
    EXPECT_THROW(labels[0].SetName("second"), EDuplicateLabel);

    TUserLabels copy;
    copy.Assign(labels);
    EXPECT_EQ(copy[1].Text(), "two!");
}

TEST(UserLabels, OwnerAndOrganizationAreReadOnce) {
    const char* old = std::getenv("ORGANIZATION");
    const std::string kept = old ? old : "";
    setenv("ORGANIZATION", "Acme Ltd", 1);
    TUserLabels labels;
    labels.AddStandardLabels();
    setenv("ORGANIZATION", "Other", 1);
    EXPECT_EQ(labels[4].Text(), "Acme Ltd");
    EXPECT_FALSE(labels[3].Text().empty());  // full name or login name
    EXPECT_EQ(labels[3].Text(), RegisteredOwnerName());
    unsetenv("ORGANIZATION");
    EXPECT_EQ(RegisteredOrganizationName(), "");
    if (old) setenv("ORGANIZATION", kept.c_str(), 1);
}

}  // namespace
}  // namespace pelwick
