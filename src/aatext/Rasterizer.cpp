#include "aatext/Rasterizer.h"

#include "aatext/ColourGlyphs.h"
#include "aatext/GlyphCache.h"
#include "aatext/MissingGlyphs.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cstring>
#include <list>
#include <unordered_map>
#include <vector>

namespace pelwick {

namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class TQtRasterizer : public TGlyphRasterizer {
  public:
    TSize TextExtent(const TFont& font, const std::string& text) override {
        // A line is measured several times while it is laid out and drawn, and a text is
        // laid out again whenever one of its lines changes; shaping is the costly part.
        std::string key = FontKey(font);
        key += text;
        if (auto hit = extents_.find(key); hit != extents_.end()) {
            recent_.splice(recent_.begin(), recent_, hit->second);
            return hit->second->second;
        }
        const TEntry& e = Lookup(font);
        const TSize extent{
            e.metrics.horizontalAdvance(MarkMissingGlyphs(e.metrics, ToQString(text))),
            e.metrics.ascent() + e.metrics.descent()};
        recent_.emplace_front(key, extent);
        extents_.emplace(std::move(key), recent_.begin());
        if (recent_.size() > MaxExtents) {
            extents_.erase(recent_.back().first);
            recent_.pop_back();
        }
        return extent;
    }

    // Qt draws text into 32-bit pictures along its fastest path, with exactly the coverage
    // it gives an 8-bit gray one: white on black, every channel holds it.
    TPixelFormat SurfaceFormat() const override { return pf32bit; }
    bool Repeatable() const override { return true; }

    void DrawText(TBitmap& surface, const TRect& clip, const TFont& font, int x, int y,
                  const std::string& text) override {
        const TRect area = IntersectRect(clip, surface.BoundsRect());
        if (surface.PixelFormat() == pf24bit || text.empty() || IsRectEmpty(area)) return;
        const TEntry& e = Lookup(font);
        if (surface.PixelFormat() == pf32bit) {
            QImage view = surface.AsQImage();
            Paint(view, area, e, font.Escapement, x, y, text);
            return;
        }
        // An 8-bit surface gets the coverage through a 32-bit picture.
        const int w = area.Right, h = area.Bottom;
        if (scratch_.width() < w || scratch_.height() < h)
            scratch_ = QImage(std::max(w, scratch_.width()), std::max(h, scratch_.height()),
                              QImage::Format_RGB32);
        for (int row = area.Top; row < h; ++row)
            std::memset(scratch_.scanLine(row) + 4 * area.Left, 0,
                        static_cast<std::size_t>(RectWidth(area)) * 4);
        Paint(scratch_, area, e, font.Escapement, x, y, text);
        for (int row = area.Top; row < h; ++row) {
            const std::uint8_t* from = scratch_.constScanLine(row) + 4 * area.Left;
            std::uint8_t* to = surface.ScanLine(row) + area.Left;
            for (int i = 0; i < RectWidth(area); ++i)
                to[i] = from[4 * i];
        }
        // A very long line leaves a large picture; it is not kept for the lines after it.
        if (std::int64_t(scratch_.width()) * scratch_.height() > MaxKeptScratch)
            scratch_ = QImage();
    }

    // Fonts must go before the application that made them.
    void Forget() {
        fonts_.clear();
        glyphs_.Clear();
        scratch_ = QImage();
    }

  private:
    struct TEntry {
        TFont description;
        QFont font;
        QFontMetrics metrics;
    };

    void Paint(QImage& image, const TRect& area, const TEntry& e, int escapement, int x, int y,
               const std::string& text) {
        const QString shown = MarkMissingGlyphs(e.metrics, ToQString(text));
        // Qt keeps rasterised glyphs only up to 64 pixels and fills every larger glyph's
        // outline anew each time; the enlarged title fonts are above that, so their glyphs
        // are filled once and kept here.
        if (escapement == 0 && !e.font.underline() && !e.font.strikeOut() &&
            e.font.pixelSize() > QtCachedGlyphLimit) {
            glyphs_.Draw(image, area, e.font, x, y + e.metrics.ascent(), shown);
            return;
        }
        QTransform at;
        at.translate(x, y);
        if (escapement != 0) at.rotate(-escapement / 10.0);
        {
            QPainter painter(&image);
            painter.setClipRect(QRect(area.Left, area.Top, RectWidth(area), RectHeight(area)));
            painter.setPen(Qt::white);
            painter.setFont(e.font);
            // Lines keep their start at the left whatever script they hold, as LayOutLine
            // lays out the large fonts' lines.
            painter.setLayoutDirection(Qt::LeftToRight);
            painter.setTransform(at);
            painter.drawText(QPoint(0, e.metrics.ascent()), shown);
        }
        // Qt's text drawing leaves colour glyphs out; they are added by their opacity.
        if (MayNeedColourFont(shown))
            DrawColourGlyphs(image, area, e.font, at, e.metrics.ascent(), shown);
    }

    // Escapement only turns the drawing and the colour is always white; neither changes
    // the face or the measurements.
    static TFont Plain(const TFont& font) {
        TFont key = font;
        key.Escapement = 0;
        key.Color = clWhite;
        return key;
    }

    // A text uses a handful of fonts, so a few are kept, the latest first.
    const TEntry& Lookup(const TFont& font) {
        const TFont key = Plain(font);
        auto hit = std::find_if(fonts_.begin(), fonts_.end(),
                                [&](const TEntry& e) { return e.description == key; });
        if (hit == fonts_.end()) {
            if (fonts_.size() >= MaxFonts) fonts_.pop_back();
            const QFont f = ToQFont(key);
            fonts_.insert(fonts_.begin(), TEntry{key, f, QFontMetrics(f)});
        } else if (hit != fonts_.begin()) {
            std::rotate(fonts_.begin(), hit, hit + 1);
        }
        return fonts_.front();
    }

    // The largest pixel size whose glyphs Qt's raster engine keeps rasterised.
    static constexpr int QtCachedGlyphLimit = 64;
    static constexpr std::size_t MaxFonts = 8;
    static constexpr std::size_t MaxExtents = 1024;
    static constexpr std::int64_t MaxKeptScratch = 4 << 20;
    std::vector<TEntry> fonts_;
    TGlyphCache glyphs_;
    std::list<std::pair<std::string, TSize>> recent_;
    std::unordered_map<std::string, std::list<std::pair<std::string, TSize>>::iterator> extents_;
    QImage scratch_;
};

const std::shared_ptr<TQtRasterizer>& QtRasterizer() {
    static const std::shared_ptr<TQtRasterizer> Shared = [] {
        qAddPostRoutine([] { QtRasterizer()->Forget(); });
        return std::make_shared<TQtRasterizer>();
    }();
    return Shared;
}

}  // namespace

std::string FontKey(const TFont& font) {
    std::string key = font.Name;
    key += '\0';
    for (int v : {font.Height, font.Size, int(font.Bold), int(font.Italic), int(font.Underline),
                  int(font.StrikeOut), int(font.Charset)}) {
        key += std::to_string(v);
        key += ',';
    }
    key += '\0';
    return key;
}

std::shared_ptr<TGlyphRasterizer> DefaultRasterizer() {
    return QtRasterizer();
}

}  // namespace pelwick
