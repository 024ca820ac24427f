#include <gtest/gtest.h>

#include <vector>

#include "app/Strings.h"

namespace pelwick {
namespace {

TEST(Strings, PosNoCase) {
    EXPECT_EQ(PosNoCase("<img", "<IMG src=x>"), 1);
    EXPECT_EQ(PosNoCase("B", "aab"), 3);
    EXPECT_EQ(PosNoCase("zz", "aab"), 0);
    EXPECT_EQ(PosNoCase("", "aab"), 0);
    EXPECT_EQ(PosNoCase("abc", "ab"), 0);
}

TEST(Strings, CompareTextFoldsAsciiAndUnicode) {
    EXPECT_TRUE(SameText("Feeds", "fEEDS"));
    EXPECT_TRUE(SameText("Новости", "НОВОСТИ"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_LT(CompareText("a.JPG", "b.jpg"), 0);
    // Invalid UTF-8 is compared by bytes, so two different byte strings never meet.
    EXPECT_FALSE(SameText("\xff", "\xfe"));
    EXPECT_TRUE(LessText("A", "a") != LessText("a", "A"));
}

TEST(Strings, TrimAndUtf8) {
    EXPECT_EQ(TrimBlanks(" \t x y \r\n"), "x y");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_TRUE(IsValidUtf8("héllo €𝄞"));
    EXPECT_FALSE(IsValidUtf8("\xc3"));          // truncated
    EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));  // surrogate
}

TEST(Strings, HtmlEscapeLeavesNoMarkupAndKeepsText) {
    EXPECT_EQ(HtmlEscape("<a href=\"x\">Tom & Jerry's</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
    EXPECT_EQ(HtmlEscape("caf\xC3\xA9 &amp;"), "caf\xC3\xA9 &amp;amp;");
    EXPECT_EQ(HtmlEscape(""), "");
}

// Each row's names are in natural order; every pair is checked both ways.
TEST(Strings, NaturalOrder) {
    const std::vector<std::vector<std::string>> rows = {
        {"IMG_2.jpg", "img_10.jpg", "IMG_100.jpg"},
        {"a.bmp", "a.JPG", "b.jpg"},
        {"photo.jpg", "photo1.jpg", "photo2.jpg", "photo10.jpg"},
        {"IMG_01.jpg", "IMG_1.jpg", "img_1.jpg", "IMG_2.jpg"},
        {"2024", "2024-07", "2024-7b", "2025"},
        {"x99999999999999999999", "x100000000000000000000"},
        // Letters beyond ASCII by their folded code point, after z.
        {"zeta",
         "\xC3\x89t\xC3\xA9"
         "2",
         "\xC3\xA9t\xC3\xA9"
         "10"},
        {"", "0", "a", "\xFF"},
    };
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i)
            for (size_t j = 0; j < row.size(); ++j) {
                const int expected = i < j ? -1 : (i > j ? 1 : 0);
                EXPECT_EQ(CompareNatural(row[i], row[j]), expected) << row[i] << " / " << row[j];
            }
    // Folding agrees with SameText, so that a hash of it finds the same text.
    EXPECT_EQ(FoldText("\xC3\x89T\xC3\xA9.JPG"), FoldText("\xC3\xA9t\xC3\x89.jpg"));
    EXPECT_NE(FoldText("a.jpg"), FoldText("b.jpg"));
}

TEST(Strings, TryParseInt) {
    EXPECT_EQ(TryParseInt("17"), 17);
    EXPECT_EQ(TryParseInt("-5"), -5);
    EXPECT_EQ(TryParseInt("+5"), 5);
    EXPECT_EQ(TryParseInt("-2147483648"), -2147483648LL);
    for (const char* bad : {"", "+", "-", "true", "1.5", "12 ", "2147483648", "+-1", "0x10"})
        EXPECT_FALSE(TryParseInt(bad).has_value()) << bad;
}

}  // namespace
}  // namespace pelwick
