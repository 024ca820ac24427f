#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QTextLayout>

#include "BoxRuns.h"
#include "aatext/Bidi.h"
#include "aatext/MissingGlyphs.h"

namespace pelwick {
namespace {

using test::BoxRuns;

// Lines in scripts with and without an installed face: whatever the machine has, the line
// is drawn in real faces only, a square standing for each character none of them has.
TEST(MissingGlyphs, ACharacterNoFaceDrawsIsOneSquareAndTheRestDraws) {
    QFont font("Verdana");
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    const char* lines[] = {
        "2. \u0928\u092e\u0938\u094d\u0924\u0947 Delhi",  // Devanagari
        "3. \u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35",        // Thai
        "4. \u65e5\u672c\u8a9e \u0645\u0631\u062d\u0628\u0627",
        "5. \U0010FFFD private \U0010FFFD",  // no face has these
        "6. \U0001F1FA\U0001F1E6 flag, \U0001F600 face",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        const QString text = QString::fromUtf8(line);
        const QString shown = MarkMissingGlyphs(metrics, text);
        EXPECT_EQ(BoxRuns(font, shown), 0);
        ASSERT_EQ(shown.toUcs4().size(), text.toUcs4().size());  // one for one
        const QList<uint> before = text.toUcs4(), after = shown.toUcs4();
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (after[i] == before[i]) continue;
            const bool regional = before[i] >= 0x1F1E6 && before[i] <= 0x1F1FF;
            EXPECT_EQ(after[i], regional ? 'A' + (before[i] - 0x1F1E6) : 0x25A1u);
            EXPECT_FALSE(metrics.inFontUcs4(before[i]));
        }
        EXPECT_TRUE(shown.startsWith(text.left(3)));  // the number and its blank stay
    }
    EXPECT_EQ(MarkMissingGlyphs(metrics, QString::fromUtf8("5. \U0010FFFD x")),
              QString::fromUtf8("5. \u25A1 x"));
}

TEST(MissingGlyphs, LinesEveryFaceDrawsStayAsTheyAre) {
    QFont font("Verdana");
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    for (const char* line : {"1. Hello", "", "Pr\u00e4sident \u2068x\u2069\u200d", "\t"}) {
        const QString text = QString::fromUtf8(line);
        EXPECT_EQ(MarkMissingGlyphs(metrics, text), text) << line;
    }
}

}  // namespace
}  // namespace pelwick
