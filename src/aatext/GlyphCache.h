#pragma once

#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QString>
#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>

#include "app/Geometry.h"

namespace pelwick {

// Glyphs of large fonts, filled from their outlines once and kept, so that a line in such a
// font costs a lookup and a copy per glyph. Glyphs are kept at a quarter-pixel of horizontal
// phase; the line is shaped by Qt, fallback fonts included.
class TGlyphCache {
  public:
    // Draws text in white onto image (32-bit, coverage in every colour byte; black where
    // nothing is drawn) with the pen at (x, baseline), inside area only. Glyphs that fall
    // outside area are not drawn or filled at all.
    void Draw(QImage& image, const TRect& area, const QFont& font, int x, int baseline,
              const QString& text);
    void Clear();
    std::size_t Bytes() const { return bytes_; }

  private:
    struct TGlyph {
        QImage coverage;        // Alpha8
        int left = 0, top = 0;  // offset from the pen to the image's top-left corner
    };
    using TList = std::list<std::pair<std::string, TGlyph>>;

    const TGlyph& Find(const QRawFont& font, const std::string& fontKey, quint32 index, int phase);
    const TGlyph& Keep(std::string key, TGlyph glyph);

    static constexpr std::size_t MaxBytes = 8 << 20;
    TList recent_;
    std::unordered_map<std::string, TList::iterator> glyphs_;
    std::size_t bytes_ = 0;
};

}  // namespace pelwick
