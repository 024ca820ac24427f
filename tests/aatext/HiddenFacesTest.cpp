// Lines in scripts no installed face draws, as on a machine without the Devanagari and emoji
// faces: this binary hides every face with Devanagari or colour glyphs from fontconfig before
// the application starts, so it runs alone.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QTemporaryDir>
#include <QTextLayout>
#include <cstdlib>

#include "BoxRuns.h"
#include "aatext/AAGlyphs.h"
#include "aatext/Bidi.h"
#include "aatext/MissingGlyphs.h"

namespace pelwick {
namespace {

using test::BoxRuns;

// Fontconfig reads its configuration once, when Qt first asks for a face: it is replaced
// before main creates the application.
class THiddenFaces {
  public:
    THiddenFaces() {
        const QString file = dir_.path() + "/fonts.conf";
        QFile conf(file);
        if (!dir_.isValid() || !conf.open(QIODevice::WriteOnly)) return;
        conf.write(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont>
    <pattern><patelt name="charset"><charset><int>0x0915</int></charset></patelt></pattern>
    <pattern><patelt name="color"><bool>true</bool></patelt></pattern>
  </rejectfont></selectfont>
</fontconfig>
)");
        conf.close();
        setenv("FONTCONFIG_FILE", QFile::encodeName(file).constData(), 1);
    }

  private:
    QTemporaryDir dir_;
};
const THiddenFaces HiddenFaces;

struct TScene {
    TScene() : Image(400, 60), Glyphs(&Image.Canvas()) {
        Image.Canvas().Font.Name = "Verdana";
        Image.Canvas().Font.Height = -15;
        Glyphs.SetQuality(aqHigh);
    }
    QFontMetrics Metrics() { return QFontMetrics(ToQFont(Image.Canvas().Font)); }
    TBitmap Image;
    TAAGlyphsEx Glyphs;
};

void ExpectHidden() {
    ASSERT_TRUE(QFontDatabase::families(QFontDatabase::Devanagari).isEmpty());
    TScene s;
    ASSERT_FALSE(s.Metrics().inFontUcs4(0x1F468));
}

// The line's start (its number) is drawn exactly as it is drawn alone: nothing after it
// turns it into a bar.
void ExpectStartDrawsAsAlone(TScene& s, const std::string& line, const std::string& start) {
    s.Glyphs.Mask().DrawText(start);
    const std::vector<std::uint8_t> alone = [&] {
        std::vector<std::uint8_t> v;
        const TAAMask& m = s.Glyphs.Mask();
        for (int y = 0; y < m.Height(); ++y)
            v.insert(v.end(), m.ScanLine(y), m.ScanLine(y) + m.Width());
        return v;
    }();
    const int width = s.Glyphs.Mask().Width(), height = s.Glyphs.Mask().Height();
    s.Glyphs.Mask().DrawText(line);
    const TAAMask& whole = s.Glyphs.Mask();
    ASSERT_EQ(whole.Height(), height);
    int inked = 0, differences = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = alone[std::size_t(y * width + x)];
            inked += v > 0;
            differences += whole.ScanLine(y)[x] != v;
        }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(differences, 0);
}

TEST(HiddenFaces, DevanagariWithoutAFaceIsASquarePerCharacterAndTheRestDraws) {
    ASSERT_NO_FATAL_FAILURE(ExpectHidden());
    TScene s;
    const std::string line = "2. \u0928\u092e\u0938\u094d\u0924\u0947 Delhi";
    const QString shown = MarkMissingGlyphs(s.Metrics(), QString::fromStdString(line));
    EXPECT_EQ(shown, QString::fromUtf8("2. \u25A1\u25A1\u25A1\u25A1\u25A1\u25A1 Delhi"));
    EXPECT_EQ(BoxRuns(ToQFont(s.Image.Canvas().Font), shown), 0);
    ExpectStartDrawsAsAlone(s, line, "2. ");
}

struct TEmojiCase {
    const char* line;
    const char* shown;
};

// Without an emoji face an emoji sequence is one square, its skin tone and keycap frame left
// out; a flag is its two letters; what the text faces draw stays.
TEST(HiddenFaces, EmojiWithoutAFaceAreOneSquareASequence) {
    ASSERT_NO_FATAL_FAILURE(ExpectHidden());
    const TEmojiCase cases[] = {
        {"1. \U0001F468\u200D\U0001F469\u200D\U0001F467 family", "1. \u25A1\u200D\u200D family"},
        {"2. \U0001F44D\U0001F3FD up", "2. \u25A1 up"},
        {"3. 1\uFE0F\u20E3 keycap", "3. 1\uFE0F keycap"},
        {"4. \U0001F1FA\U0001F1E6 flag", "4. UA flag"},
        {"5. \U0001F469\u200D\U0001F52C \U0001F600", "5. \u25A1\u200D \U0001F600"},
        {"6. \U0001F44D \U0001F44D", "6. \u25A1 \u25A1"},
    };
    TScene s;
    for (const TEmojiCase& c : cases) {
        SCOPED_TRACE(c.line);
        const QString shown = MarkMissingGlyphs(s.Metrics(), QString::fromUtf8(c.line));
        EXPECT_EQ(shown, QString::fromUtf8(c.shown));
        EXPECT_EQ(BoxRuns(ToQFont(s.Image.Canvas().Font), shown), 0);
        ExpectStartDrawsAsAlone(s, c.line, std::string(c.line, 3));
    }
}

}  // namespace
}  // namespace pelwick
