#include <gtest/gtest.h>

#include <QFont>
#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>
#include <limits>

#include "aatext/Bidi.h"

namespace pelwick {
namespace {

// Where the engine's layout puts the glyphs of the character at index: their leftmost x.
double GlyphX(const QTextLayout& layout, int index) {
    double x = std::numeric_limits<double>::infinity();
    for (const QGlyphRun& run : layout.glyphRuns(index, 1))
        for (const QPointF& p : run.positions())
            x = std::min(x, p.x());
    return x;
}

struct TOrderCase {
    const char* title;
    bool rightToLeft;
};

// A headline's number stays at the left and its title follows it, a right-to-left title
// ordered right to left in its own run; the order is read from the glyphs' positions.
TEST(Bidi, AHeadlineKeepsItsNumberAtTheLeftAndItsTitleInItsOwnOrder) {
    const TOrderCase cases[] = {
        {"\u0645\u0631\u062d\u0628\u0627 \u0628\u0643\u0645", true},  // Arabic
        {"\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd", true},  // Hebrew
        {"\u05e9\u05dc\u05d5\u05dd.", true},  // a full stop ends it on the left
        {"Hello world", false},
        {"\u0928\u092e\u0938\u094d\u0924\u0947", false},           // Devanagari
        {"\u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35", false},           // Thai
        {"\u65e5\u672c\u8a9e\u65b0\u95fb", false},                 // Chinese
        {"\U0001F468\u200D\U0001F469\u200D\U0001F467 ok", false},  // a joined emoji
    };
    QFont font;
    font.setPixelSize(80);  // a large font, drawn through the glyph cache
    for (const TOrderCase& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string line = "3. " + IsolateRightToLeft(c.title);
        QTextLayout layout(QString::fromStdString(line), font);
        LayOutLine(layout);
        ASSERT_EQ(layout.lineCount(), 1);
        const QString text = layout.text();
        const int first = text.indexOf(QString::fromUtf8(c.title).front());
        const int last = text.size() - (c.rightToLeft ? 2 : 1);  // before the closing isolate
        ASSERT_GT(first, 2);
        const double number = GlyphX(layout, 0), stop = GlyphX(layout, 1);
        EXPECT_LT(number, stop);
        for (int i = first; i <= last; ++i)
            if (!text.at(i).isSpace()) {
                EXPECT_LT(stop, GlyphX(layout, i)) << i;
            }
        if (c.rightToLeft)
            EXPECT_GT(GlyphX(layout, first), GlyphX(layout, last));
        else
            EXPECT_LT(GlyphX(layout, first), GlyphX(layout, last));
    }
}

// A right-to-left title with digits and Latin keeps them in its own run: after the number,
// never split around it.
TEST(Bidi, DigitsAndLatinInARightToLeftTitleStayInsideIt) {
    const std::string title = "\u05d7\u05d3\u05e9\u05d5\u05ea 2024 Qt";
    const std::string line = "3. " + IsolateRightToLeft(title);
    QFont font;
    font.setPixelSize(20);
    QTextLayout layout(QString::fromStdString(line), font);
    LayOutLine(layout);
    const QString text = layout.text();
    const int hebrew = text.indexOf(QChar(0x05d7)), year = text.indexOf(u"2024");
    const int latin = text.indexOf(u"Qt");
    // Right to left as a whole: the Hebrew word at the right, then the year, then "Qt".
    EXPECT_GT(GlyphX(layout, hebrew), GlyphX(layout, year));
    EXPECT_GT(GlyphX(layout, year), GlyphX(layout, latin));
    EXPECT_LT(GlyphX(layout, year), GlyphX(layout, year + 3));  // the digits read left to right
    EXPECT_LT(GlyphX(layout, 0), GlyphX(layout, latin));
}

// A line laid out by the engine starts at the left even when its first strong character is
// right to left and nothing isolates it.
TEST(Bidi, ALineWithoutIsolationStillStartsAtTheLeft) {
    QFont font;
    font.setPixelSize(20);
    QTextLayout layout(QString::fromUtf8("3. \u0645\u0631\u062d\u0628\u0627"), font);
    LayOutLine(layout);
    for (int i = 3; i < layout.text().size(); ++i)
        EXPECT_LT(GlyphX(layout, 0), GlyphX(layout, i)) << i;
    EXPECT_GT(GlyphX(layout, 3), GlyphX(layout, 7));
}

TEST(Bidi, OnlyTitlesWithRightToLeftTextAreIsolated) {
    EXPECT_EQ(IsolateRightToLeft("Plain title"), "Plain title");
    EXPECT_EQ(IsolateRightToLeft(""), "");
    EXPECT_EQ(IsolateRightToLeft("Pr\u00e4sident 2024"), "Pr\u00e4sident 2024");
    EXPECT_EQ(IsolateRightToLeft("Tel Aviv \u05ea\u05dc"), "\u2068Tel Aviv \u05ea\u05dc\u2069");
    EXPECT_EQ(IsolateRightToLeft("\u0645"), "\u2068\u0645\u2069");
}

}  // namespace
}  // namespace pelwick
