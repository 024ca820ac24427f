// Lines in the world's scripts through the real faces: shaped where the script joins, no
// square where a face draws, colour emoji as coverage. A row whose face the machine lacks is
// left out with a message (scripts/packages.txt installs them all).
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QStringList>
#include <QTextLayout>

#include "aatext/AAGlyphs.h"
#include "aatext/Bidi.h"
#include "aatext/MissingGlyphs.h"

namespace pelwick {
namespace {

const QFont& PanelFont() {
    static const QFont font = [] {
        QFont f("Verdana");
        f.setPixelSize(60);
        return f;
    }();
    return font;
}

bool FaceDraws(const QString& text) {
    const QFontMetrics metrics(PanelFont());
    for (const char32_t c : text.toUcs4())
        if (c > 0x2000 && c != 0x200D && c != 0xFE0F && !metrics.inFontUcs4(c)) return false;
    return true;
}

int DrawnGlyphs(const QString& text) {
    QTextLayout layout(text, PanelFont());
    LayOutLine(layout);
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        glyphs += int(run.glyphIndexes().size());
    return glyphs;
}

struct TScriptCase {
    const char* script;
    const char* text;
    bool joins;                   // shaping draws fewer glyphs than the text has characters
    const char* shown = nullptr;  // what is drawn, when it is not the text
};

TEST(ScriptFaces, EachScriptDrawsShapedInItsFaceWithoutSquares) {
    const TScriptCase cases[] = {
        {"Arabic", "\u0627\u0644\u0633\u0644\u0627\u0645", true},  // lam and alef join
        {"Hebrew", "\u05e9\u05dc\u05d5\u05dd", false},
        {"Devanagari", "\u0915\u094d\u0937\u0947\u0924\u094d\u0930", true},  // conjuncts
        {"CJK", "\u65e5\u672c\u8a9e\u65b0\u95fb", false},
        {"emoji", "\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F44D\U0001F3FD", true},
        {"keycap", "1\uFE0F\u20E3", false, "1\uFE0F"},  // the frame alone would hide the digit
    };
    const QFontMetrics metrics(PanelFont());
    QStringList absent;
    for (const TScriptCase& c : cases) {
        SCOPED_TRACE(c.script);
        const QString text = QString::fromUtf8(c.text);
        if (!FaceDraws(text)) {
            absent << c.script;
            continue;
        }
        const QString line = "3. " + text;
        const QString shown = MarkMissingGlyphs(metrics, line);
        EXPECT_EQ(shown, c.shown ? "3. " + QString::fromUtf8(c.shown) : line);
        const int glyphs = DrawnGlyphs(shown), characters = int(shown.toUcs4().size());
        if (c.joins)
            EXPECT_LT(glyphs, characters);
        else
            EXPECT_GE(glyphs, characters - 1);  // at most a mark joins its letter
    }
    if (!absent.isEmpty())
        GTEST_SKIP() << "no face on this machine for " << absent.join(", ").toStdString()
                     << " (scripts/packages.txt lists them)";
}

struct TColourCase {
    int height;  // of the text font; the enlarged -19 is past what Qt keeps drawn
    int turn;    // escapement in degrees
};

// A colour face's emoji counts by its opacity: drawn in the text's colour, shaped as the
// emoji, neither missing nor a filled block.
TEST(ScriptFaces, ColourEmojiDrawAsTheirSilhouetteInTheTextColour) {
    const char* emoji[] = {
        "\U0001F468\u200D\U0001F469\u200D\U0001F467",  // family
        "\U0001F44D\U0001F3FD",                        // thumbs up, medium skin tone
        "\U0001F1FA\U0001F1E6",                        // flag
        "\U0001F469\u200D\U0001F52C",                  // woman scientist
    };
    if (!FaceDraws(QString::fromUtf8(emoji[0])))
        GTEST_SKIP() << "no colour emoji face on this machine (fonts-noto-color-emoji)";
    const TColourCase cases[] = {{-15, 0}, {-19, 0}, {-15, 30}};
    for (const TColourCase& c : cases) {
        for (const char* e : emoji) {
            SCOPED_TRACE(std::string(e) + " " + std::to_string(c.height) + " " +
                         std::to_string(c.turn));
            TBitmap image(120, 120);
            image.Canvas().Font.Name = "Verdana";
            image.Canvas().Font.Height = c.height;
            image.Canvas().Font.Color = clRed;
            image.Canvas().Font.Escapement = c.turn * 10;
            image.Canvas().Brush.Style = TBrush::bsClear;
            TAAGlyphsEx glyphs(&image.Canvas());
            glyphs.SetQuality(aqHigh);
            glyphs.TextOutput(10, 10, e);
            int inked = 0, solid = 0, area = 0, foreign = 0;
            const TAAMask& mask = glyphs.Mask();
            for (int y = 0; y < mask.Height(); ++y)
                for (int x = 0; x < mask.Width(); ++x) {
                    ++area;
                    inked += mask.ScanLine(y)[x] > 0;
                    solid += mask.ScanLine(y)[x] == 255;
                }
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x)
                    foreign += GetGValue(image.Pixel(x, y)) + GetBValue(image.Pixel(x, y)) > 0;
            const int em = c.height * c.height;
            EXPECT_GT(inked, em / 4);
            EXPECT_GT(solid, em / 8);
            EXPECT_LT(inked, area * 9 / 10);
            EXPECT_EQ(foreign, 0);
        }
    }
}

}  // namespace
}  // namespace pelwick
