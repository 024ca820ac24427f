#include "aatext/GlyphCache.h"

#include "aatext/Bidi.h"
#include "aatext/ColourGlyphs.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace pelwick {

namespace {

constexpr int Phases = 16;

// Tells raw fonts apart (the line's own face and its fallbacks) by their font file's header,
// which holds its checksum and dates, and the size and style they are used at; "" for a font
// without outline tables. The family name is no key: Qt 6.4 crashes asking a face without
// one (fontconfig lists such faces) for it.
std::string RawFontKey(const QRawFont& font) {
    const QByteArray head = font.fontTable("head");
    if (head.isEmpty()) return "";
    return head.toHex().toStdString() + '\x1f' +
           (font.styleName() + u'\x1f' + QString::number(font.pixelSize(), 'g', 8) + u'\x1f' +
            QString::number(font.weight()) + u'\x1f' + QString::number(int(font.style())))
               .toStdString();
}

// Sets every colour byte to the larger of what it holds and the glyph's coverage.
void Stamp(QImage& image, const TRect& area, const QImage& coverage, int left, int top) {
    const int x0 = std::max(left, area.Left), x1 = std::min(left + coverage.width(), area.Right);
    const int y0 = std::max(top, area.Top), y1 = std::min(top + coverage.height(), area.Bottom);
    for (int y = y0; y < y1; ++y) {
        const uchar* from = coverage.constScanLine(y - top) + (x0 - left);
        uchar* to = image.scanLine(y) + 4 * x0;
        for (int x = x0; x < x1; ++x, ++from, to += 4) {
            const uchar a = *from;
            if (a > to[0]) to[0] = to[1] = to[2] = a;
        }
    }
}

}  // namespace

void TGlyphCache::Draw(QImage& image, const TRect& area, const QFont& font, int x, int baseline,
                       const QString& text) {
    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    LayOutLine(layout);
    if (layout.lineCount() == 0) return;
    const QTextLine line = layout.lineAt(0);
    const double ascent = line.ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        // Characters no font draws (control characters, say) come as a run without a usable
        // font: nothing of it is drawn.
        if (!raw.isValid()) continue;
        const std::string key = RawFontKey(raw);
        if (key.empty()) continue;
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            const double penX = x + positions[i].x();
            const int whole = int(std::floor(penX));
            const int phase = std::min(Phases - 1, int(std::floor((penX - whole) * Phases + 0.5)));
            const int penY = baseline + int(std::lround(positions[i].y() - ascent));
            // Glyphs wholly outside the area (the tail of a very long line) cost nothing.
            const QRectF box = raw.boundingRect(indexes[i]);
            if (whole + box.left() - 2 >= area.Right || whole + box.right() + 2 < area.Left ||
                penY + box.top() - 2 >= area.Bottom || penY + box.bottom() + 2 < area.Top)
                continue;
            const TGlyph& g = Find(raw, key, indexes[i], phase);
            if (!g.coverage.isNull()) Stamp(image, area, g.coverage, whole + g.left, penY + g.top);
        }
    }
}

const TGlyphCache::TGlyph& TGlyphCache::Find(const QRawFont& font, const std::string& fontKey,
                                             quint32 index, int phase) {
    std::string key = fontKey;
    key += '\x1e';
    key += std::to_string(index);
    key += ':';
    key += std::to_string(phase);
    if (auto hit = glyphs_.find(key); hit != glyphs_.end()) {
        recent_.splice(recent_.begin(), recent_, hit->second);
        return hit->second->second;
    }
    TGlyph glyph;
    if (IsColourFont(font)) {
        QPoint offset;
        glyph.coverage = ColourGlyphCoverage(font, index, double(phase) / Phases, offset);
        glyph.left = offset.x();
        glyph.top = offset.y();
        return Keep(std::move(key), std::move(glyph));
    }
    QPainterPath path = font.pathForGlyph(index);
    path.translate(double(phase) / Phases, 0);
    const QRectF bounds = path.boundingRect();
    if (!path.isEmpty() && bounds.isValid()) {
        glyph.left = int(std::floor(bounds.left()));
        glyph.top = int(std::floor(bounds.top()));
        const int w = int(std::ceil(bounds.right())) - glyph.left + 1;
        const int h = int(std::ceil(bounds.bottom())) - glyph.top + 1;
        glyph.coverage = QImage(w, h, QImage::Format_Alpha8);
        glyph.coverage.fill(0);
        QPainter painter(&glyph.coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-glyph.left, -glyph.top);
        painter.fillPath(path, Qt::white);
    }
    return Keep(std::move(key), std::move(glyph));
}

const TGlyphCache::TGlyph& TGlyphCache::Keep(std::string key, TGlyph glyph) {
    bytes_ += std::size_t(glyph.coverage.sizeInBytes()) + key.size();
    recent_.emplace_front(std::move(key), std::move(glyph));
    glyphs_.emplace(recent_.front().first, recent_.begin());
    while (bytes_ > MaxBytes && recent_.size() > 1) {
        const auto& [oldKey, old] = recent_.back();
        bytes_ -= std::size_t(old.coverage.sizeInBytes()) + oldKey.size();
        glyphs_.erase(oldKey);
        recent_.pop_back();
    }
    return recent_.front().second;
}

void TGlyphCache::Clear() {
    glyphs_.clear();
    recent_.clear();
    bytes_ = 0;
}

}  // namespace pelwick
