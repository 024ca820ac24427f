#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QString>
#include <QTextLayout>

#include "aatext/Bidi.h"

namespace pelwick::test {

// Glyph runs whose font has no outline tables: Qt's stand-in that draws a box per character
// when no face has the script.
inline int BoxRuns(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    LayOutLine(layout);
    int boxes = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        boxes += run.rawFont().fontTable("head").isEmpty();
    return boxes;
}

}  // namespace pelwick::test
