#include "aatext/ColourGlyphs.h"

#include "aatext/Bidi.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace pelwick {

namespace {

// Sets each colour byte of image inside area to the larger of what it holds and the alpha of
// layer (premultiplied, area's size): a colour glyph's opacity is its coverage.
void StampAlpha(QImage& image, const TRect& area, const QImage& layer) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        const uchar* from = layer.constScanLine(y - area.Top);
        uchar* to = image.scanLine(y) + 4 * area.Left;
        for (int x = 0; x < RectWidth(area); ++x, from += 4, to += 4) {
            const uchar a = uchar(qAlpha(*reinterpret_cast<const QRgb*>(from)));
            if (a > to[0]) to[0] = to[1] = to[2] = a;
        }
    }
}

}  // namespace

bool IsColourFont(const QRawFont& font) {
    if (!font.isValid()) return false;
    // Tables come as copies: the small index of the colour bitmaps is asked for, not the
    // bitmaps themselves (megabytes in an emoji face).
    for (const char* table : {"CBLC", "COLR", "sbix"})
        if (!font.fontTable(table).isEmpty()) return true;
    return false;
}

bool MayNeedColourFont(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        // Pictographs, flags and skin tones lie above the basic plane; keycaps, joined
        // sequences and symbols asked to show as emoji carry a mark of their own; the rest
        // are the arrows, technical symbols and dingbats.
        if (QChar::isHighSurrogate(c) || c == 0x200D || c == 0x20E3 || c == 0xFE0F ||
            (c >= 0x2190 && c < 0x2C00))
            return true;
    }
    return false;
}

QImage ColourGlyphCoverage(const QRawFont& font, quint32 index, double shift, QPoint& offset) {
    const QRectF box = font.boundingRect(index).translated(shift, 0);
    if (box.isEmpty()) return {};
    offset = QPoint(int(std::floor(box.left())), int(std::floor(box.top())));
    const int w = int(std::ceil(box.right())) - offset.x() + 1;
    const int h = int(std::ceil(box.bottom())) - offset.y() + 1;
    QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes({index});
    run.setPositions({QPointF(shift - offset.x(), -offset.y())});
    {
        QPainter painter(&picture);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    return picture.convertToFormat(QImage::Format_Alpha8);
}

void DrawColourGlyphs(QImage& image, const TRect& area, const QFont& font, const QTransform& at,
                      double baseline, const QString& text) {
    QTextLayout layout(text, font);
    LayOutLine(layout);
    if (layout.lineCount() == 0) return;
    const double top = baseline - layout.lineAt(0).ascent();
    QImage layer;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (!IsColourFont(run.rawFont())) continue;
        if (layer.isNull()) {
            layer = QImage(RectWidth(area), RectHeight(area), QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
        }
        QPainter painter(&layer);
        painter.translate(-area.Left, -area.Top);
        painter.setTransform(at, true);
        painter.drawGlyphRun(QPointF(0, top), run);
    }
    if (!layer.isNull()) StampAlpha(image, area, layer);
}

}  // namespace pelwick
