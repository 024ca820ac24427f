#include "aatext/Rasterizer.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace pelwick {

namespace {

class TQtRasterizer : public TGlyphRasterizer {
  public:
    TSize TextExtent(const TFont& font, const std::string& text) override {
        const Entry& e = Lookup(font);
        const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return TSize{e.metrics.horizontalAdvance(s), e.metrics.ascent() + e.metrics.descent()};
    }

    void DrawText(TBitmap& surface, const TRect& clip, const TFont& font, int x, int y,
                  const std::string& text) override {
        if (surface.Empty() || text.empty() || IsRectEmpty(clip)) return;
        const Entry& e = Lookup(font);
        QImage view = surface.AsQImage();
        QPainter painter(&view);
        painter.setClipRect(QRect(clip.Left, clip.Top, RectWidth(clip), RectHeight(clip)));
        painter.setPen(Qt::white);
        painter.setFont(e.font);
        painter.translate(x, y);
        if (font.Escapement != 0) painter.rotate(-font.Escapement / 10.0);
        painter.drawText(QPoint(0, e.metrics.ascent()),
                         QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    // Fonts must go before the application that made them.
    void Forget() { fonts_.clear(); }

  private:
    struct Entry {
        TFont description;
        QFont font;
        QFontMetrics metrics;
    };

    // A line's text is measured and drawn in one font, and a text uses a handful of them,
    // so a few fonts are kept, the latest first.
    const Entry& Lookup(const TFont& font) {
        TFont key = font;
        key.Escapement = 0;  // drawing turns the text; the face is the same
        key.Color = clWhite;
        auto hit = std::find_if(fonts_.begin(), fonts_.end(),
                                [&](const Entry& e) { return e.description == key; });
        if (hit == fonts_.end()) {
            if (fonts_.size() >= MaxFonts) fonts_.pop_back();
            const QFont f = ToQFont(key);
            fonts_.insert(fonts_.begin(), Entry{key, f, QFontMetrics(f)});
        } else if (hit != fonts_.begin()) {
            std::rotate(fonts_.begin(), hit, hit + 1);
        }
        return fonts_.front();
    }

    static constexpr std::size_t MaxFonts = 8;
    std::vector<Entry> fonts_;
};

const std::shared_ptr<TQtRasterizer>& QtRasterizer() {
    static const std::shared_ptr<TQtRasterizer> rasterizer = [] {
        qAddPostRoutine([] { QtRasterizer()->Forget(); });
        return std::make_shared<TQtRasterizer>();
    }();
    return rasterizer;
}

}  // namespace

std::shared_ptr<TGlyphRasterizer> DefaultRasterizer() {
    return QtRasterizer();
}

}  // namespace pelwick
