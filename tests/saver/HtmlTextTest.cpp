#include <gtest/gtest.h>

#include <cctype>
#include <initializer_list>
#include <random>
#include <utility>

#include <QString>

#include "app/Strings.h"
#include "saver/HtmlText.h"

namespace pelwick {
namespace {

std::string Plain(const std::string& html) {
    return HtmlToText(html, false, false);
}

// Each row's HTML against the plain text it must give.
void ExpectPlain(std::initializer_list<std::pair<std::string, std::string>> rows) {
    for (const auto& [html, text] : rows)
        EXPECT_EQ(Plain(html), text) << html;
}

// The tag removal and the reference clean-up done the slow, obvious way, to check the fast
// scans against on random text.
std::string SlowReference(std::string text) {
    for (;;) {
        const size_t lt = text.find('<'), gt = text.find('>');
        if (lt == std::string::npos && gt == std::string::npos) break;
        if (lt != std::string::npos && gt != std::string::npos && lt < gt)
            text.erase(lt, gt - lt + 1);
        else if (gt != std::string::npos)
            text.erase(0, gt + 1);
        else
            text.erase(lt);
    }
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
            text.replace(p, from.size(), to);
    };
    auto removeAll = [&text](const std::string& sub) {
        for (int p; (p = PosNoCase(sub, text)) != 0;)
            text.erase(size_t(p - 1), sub.size());
    };
    replaceAll("&nbsp;", " ");  // the alphabet below has no letters, so case does not matter
    replaceAll("&gt;", ">");
    removeAll("&nbsp");
    removeAll("&gt");
    replaceAll("&quot;", "\"");
    replaceAll("&#39;", "'");
    // Numeric references, one at a time from the left; a rejected one is stepped over.
    for (size_t p = 0; (p = text.find("&#", p)) != std::string::npos;) {
        const bool hex = p + 2 < text.size() && (text[p + 2] == 'x' || text[p + 2] == 'X');
        const size_t first = p + (hex ? 3 : 2);
        size_t end = first;
        while (end < text.size() &&
               (hex ? std::isxdigit(uint8_t(text[end])) : std::isdigit(uint8_t(text[end]))))
            ++end;
        const std::string digits = text.substr(first, end - first);
        unsigned long long cp = ~0ull;
        if (!digits.empty() && digits.size() <= 8) cp = std::stoull(digits, nullptr, hex ? 16 : 10);
        const bool ok = end < text.size() && text[end] == ';' && cp >= 0x20 && cp <= 0x10FFFF &&
                        !(cp >= 0x7F && cp <= 0x9F) && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!ok) {
            ++p;
            continue;
        }
        const char32_t c = char32_t(cp);
        const std::string utf8 = QString::fromUcs4(&c, 1).toStdString();
        text.replace(p, end + 1 - p, utf8);
        p += utf8.size();
    }
    replaceAll("&amp;", "&");
    return text;
}

TEST(HtmlToText, TagsAndStrayBracketsGo) {
    ExpectPlain({
        {"", ""},
        {"Bad < news today", "Bad "},
        {"Bad > news today", " news today"},
        {"A <b>bold</b> word", "A bold word"},
        {"ab<c>d>e", "e"},  // a '>' after a removed tag still cuts the start
        {"x<a<b>y", "xy"},
        {"<<<<", ""},
        {">>a", "a"},
        {"caf\xC3\xA9 <i>cr\xC3\xA8me</i>", "caf\xC3\xA9 cr\xC3\xA8me"},
    });
}

TEST(HtmlToText, StepFiveReferencesDecodeOnce) {
    ExpectPlain({
        {"Tom &amp; Jerry", "Tom & Jerry"},
        {"say &quot;hi&quot;", "say \"hi\""},
        {"it&#39;s", "it's"},
        {"&AMP; &Quot;", "&AMP; &Quot;"},  // case-sensitive
        // Doubly escaped references end one level down and stay there.
        {"a &amp;lt; b", "a &lt; b"},
        {"&amp;quot;x", "&quot;x"},
        {"&amp;#8217;", "&#8217;"},
        {"&amp;amp;", "&amp;"},
        {"&lt;b&gt;", "&lt;b>"},
    });
}

TEST(HtmlToText, NonBreakingSpaceAndGreaterThanBecomeCharacters) {
    ExpectPlain({
        {"a&nbsp;b", "a b"},
        {"a&NBSP;b&Nbsp;c", "a b c"},
        {"1 &gt; 0 &GT; -1", "1 > 0 > -1"},
        // Without the semicolon the reference is dropped, and so are those the cutting forms.
        {"a&nbspb&gtc", "abc"},
        {"x&&gtgty", "xy"},
        {"&nb&nbspsp;", ";"},
        {"&amp;nbsp;", "&nbsp;"},
    });
}

TEST(HtmlToText, NumericReferencesBecomeCharacters) {
    ExpectPlain({
        {"don&#8217;t", "don\xE2\x80\x99t"},
        {"don&#x2019;t &#X2019;", "don\xE2\x80\x99t \xE2\x80\x99"},
        {"&#65;&#x42;&#0067;", "ABC"},
        {"&#233; &#x1F600;", "\xC3\xA9 \xF0\x9F\x98\x80"},
        {"&#38;amp;", "&"},  // decoded before "&amp;", as ordered
    });
    // Not scalar values, control characters, or no reference at all: left as they are.
    for (const char* kept :
         {"&#0;", "&#xD800;", "&#xDFFF;", "&#x110000;", "&#99999999999;", "&#9;", "&#x7F;",
          "&#x85;", "&#;", "&#x;", "&#12", "&#1 2;", "&#xG1;", "&#-5;"})
        EXPECT_EQ(Plain(kept), kept);
}

TEST(HtmlToText, ConvertBreaksAndTrimLines) {
    EXPECT_EQ(HtmlToText(" a \r\n\r\nb", true, false), "a\r\nb");
    EXPECT_EQ(HtmlToText(" a \n\r\tb\r\n", true, false), "a\r\nb");
    EXPECT_EQ(HtmlToText("a\r\nb\r\n\r\n", true, false), "a\r\nb\r\n");  // b was not last
    EXPECT_EQ(HtmlToText("  ", true, false), "");
    EXPECT_EQ(HtmlToText("", true, true), "");
    EXPECT_EQ(HtmlToText("one\r\ntwo<BR>three<p>four</P><Div>five</div>", false, true),
              "onetwo\r\nthree\r\nfour\r\n\r\nfive\r\n");
    EXPECT_EQ(HtmlToText("l1\nl2<br><br>l3", true, true), "l1l2\r\nl3");
    // Without the flag the line breaks stay and the tags just go.
    EXPECT_EQ(HtmlToText("a\nb<br>c", false, false), "a\nbc");
}

TEST(RemoveAllNoCase, RemovesEveryOccurrenceIncludingNewOnes) {
    std::string text = "aXbxBcxb";
    RemoveAllNoCase("xb", text);
    EXPECT_EQ(text, "ac");
    text = "xxbb";
    RemoveAllNoCase("XB", text);
    EXPECT_EQ(text, "");
    text = "abc";
    RemoveAllNoCase("", text);
    EXPECT_EQ(text, "abc");
    RemoveAllNoCase("abcd", text);
    EXPECT_EQ(text, "abc");
    text = "\xC3\xA9&GT\xC3\xA9";
    RemoveAllNoCase("&gt", text);
    EXPECT_EQ(text, "\xC3\xA9\xC3\xA9");
}

TEST(HtmlToText, MatchesTheSlowReferenceOnRandomText) {
    std::mt19937 random(20261209);
    const std::string alphabet = "<>a&;#x";
    const std::string grams[] = {"&nbsp;", "&gt;",  "&gt",    "&amp;",
                                 "&quot;", "&#39;", "&#xaa;", "&#x78;"};
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        const int length = int(random() % 24);
        for (int i = 0; i < length; ++i) {
            if (random() % 6 == 0)
                text += grams[random() % std::size(grams)];
            else
                text += alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(Plain(text), SlowReference(text)) << text;
    }
}

TEST(HtmlToText, LongRunsOfBracketsTakeLinearTime) {
    // The cut-one-tag-at-a-time loop takes minutes here; the scan takes milliseconds.
    const std::string lts(1 << 20, '<');
    const std::string mixed = [] {
        std::string s;
        for (int i = 0; i < (1 << 18); ++i)
            s += "a>&gt";
        return s;
    }();
    EXPECT_EQ(Plain(lts), "");
    EXPECT_EQ(Plain(mixed), "");
    std::string refs;
    for (int i = 0; i < (1 << 18); ++i)
        refs += "&&gt";
    RemoveAllNoCase("&gt", refs);
    EXPECT_EQ(refs, std::string(1 << 18, '&'));
}

}  // namespace
}  // namespace pelwick
