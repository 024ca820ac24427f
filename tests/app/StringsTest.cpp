#include <gtest/gtest.h>

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
