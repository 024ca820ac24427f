#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include "app/Geometry.h"

class QFont;
class QRawFont;
class QTransform;

namespace pelwick {

// The text engine draws coverage, never colour: a colour glyph (an emoji of a colour face)
// counts by its opacity alone, so it shows as its silhouette in the text's colour.

// Whether font draws its glyphs as pictures (colour bitmaps or colour layers). Such glyphs
// have no outline to fill, and Qt's own text drawing leaves them out of a picture.
bool IsColourFont(const QRawFont& font);

// Whether text holds a character that may fall to a colour face: a pictograph, a flag's
// letter, a keycap, an emoji joiner or presentation selector. Lines without one are spared
// laying out again.
bool MayNeedColourFont(const QString& text);

// The coverage of font's glyph at index drawn with its pen shift pixels right of a whole
// pixel (an Alpha8 image), and where its top-left corner lies from the pen; a null image for
// a glyph that draws nothing.
QImage ColourGlyphCoverage(const QRawFont& font, quint32 index, double shift, QPoint& offset);

// Adds the coverage of text's colour glyphs to image (32-bit, coverage in each colour byte),
// inside area only: text laid out as the engine lays out a line, its baseline at baseline
// in the coordinates that at maps onto image.
void DrawColourGlyphs(QImage& image, const TRect& area, const QFont& font, const QTransform& at,
                      double baseline, const QString& text);

}  // namespace pelwick
