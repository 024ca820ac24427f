#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/Geometry.h"
#include "gfx/Color.h"
#include "gfx/Region.h"

namespace pelwick {

// pf8bit: one gray byte per pixel. pf24bit: blue, green, red bytes. pf32bit: blue, green,
// red and an unused byte (kept 0xFF), which is Qt's RGB32 so it reaches the screen as is.
enum TPixelFormat { pf8bit, pf24bit, pf32bit };
// smHalftone: each destination pixel is the average of the source pixels it covers;
// smReplicate: each destination pixel copies the source pixel under its centre.
enum TStretchMode { smHalftone, smReplicate };

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TBrush {
    enum TBrushStyle { bsSolid, bsClear };

    TBrushStyle Style = bsSolid;
    TColor Color = clWhite;
};

// Character sets of a font description; they only travel with the font, since Qt picks
// glyphs by Unicode.
inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

// A font by its logical description. Height follows the platform's convention: negative is
// the character height in pixels, positive the cell height, 0 takes Size in points.
// Escapement turns the text counter-clockwise about the top-left corner of its first
// character cell, in tenths of a degree.
struct TFont {
    std::string Name = "DejaVu Sans";
    int Height = 0;
    int Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = clWindowText;
    int Escapement = 0;
    std::uint8_t Charset = DEFAULT_CHARSET;
    friend bool operator==(const TFont&, const TFont&) = default;
};

// The Qt font of a description (Escapement is left to the caller). Faces this machine lacks
// resolve through the system's font substitution.
QFont ToQFont(const TFont& font);

class TBitmap;

// The drawing state and operations of one bitmap. Every operation clips to the bitmap and
// to the selected clip region.
class TCanvas {
  public:
    TBrush Brush;
    TFont Font;
    TStretchMode StretchMode = smHalftone;

    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Fills r with the brush; a clear brush fills nothing.
    void FillRect(const TRect& r);
    // Copies src unscaled with its top-left at (x, y).
    void Draw(int x, int y, const TBitmap& src);
    // Copies source of src onto dest, stretched by StretchMode when the sizes differ and
    // mirrored when dest's right is left of its left (or its bottom above its top).
    void CopyRect(const TRect& dest, const TBitmap& src, const TRect& source);
    // The pixels that CopyRect(dest, src, source) writes, before the bitmap and the clip cut
    // them: all of dest when it stretches, else the part of source inside src, moved to
    // dest; empty when nothing is copied.
    static TRect CopiedArea(const TRect& dest, const TBitmap& src, const TRect& source);
    void StretchDraw(const TRect& dest, const TBitmap& src);
    // Fills r with src repeated from r's top-left corner.
    void FillPattern(const TRect& r, const TBitmap& tile);

    // Selects a copy of region as clip; nullptr removes the clip.
    void SetClipRegion(const TRegion* region);
    bool HasClip() const { return clip_.has_value(); }
    const std::optional<TRegion>& ClipRegion() const { return clip_; }

    // Text in Font and Font.Color with its top-left at (x, y); the brush fills the text's
    // cell first unless it is clear.
    void TextOut(int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text) const;

    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }

    // The bitmap this canvas draws on.
    TBitmap& Bitmap() { return *owner_; }
    const TBitmap& Bitmap() const { return *owner_; }
    // The parts of area that drawing reaches: inside the bitmap and the clip region.
    std::vector<TRect> VisibleParts(const TRect& area) const;

  private:
    friend class TBitmap;
    explicit TCanvas(TBitmap* owner) : owner_(owner) {}
    template <class F>
    void ForEachVisible(const TRect& area, F&& f) const;

    TBitmap* owner_;
    std::optional<TRegion> clip_;
    std::recursive_mutex lock_;
};

// A device-independent bitmap with rows padded to 32-bit words, row 0 at the top.
class TBitmap {
  public:
    explicit TBitmap(int width = 0, int height = 0, TPixelFormat format = pf24bit);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    ~TBitmap();

    // A bitmap whose pixels are not initialised, for decoders that write every row.
    static TBitmap Uninitialized(int width, int height, TPixelFormat format = pf24bit);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TPixelFormat PixelFormat() const { return format_; }
    int BytesPerPixel() const { return BytesPerPixel(format_); }
    static int BytesPerPixel(TPixelFormat format) {
        return format == pf8bit ? 1 : format == pf24bit ? 3 : 4;
    }
    int Stride() const { return stride_; }
    static int StrideFor(int width, TPixelFormat format);
    TRect BoundsRect() const { return TRect{0, 0, width_, height_}; }

    // Resizes, keeping the pixels that stay inside and filling the rest with the brush
    // colour. Raises Exception for a negative or too large size.
    void SetSize(int width, int height);
    // Converts the pixels to another format.
    void SetPixelFormat(TPixelFormat format);

    std::uint8_t* ScanLine(int y) { return data_.get() + static_cast<std::ptrdiff_t>(y) * stride_; }
    const std::uint8_t* ScanLine(int y) const {
        return data_.get() + static_cast<std::ptrdiff_t>(y) * stride_;
    }
    std::uint8_t* Bits() { return data_.get(); }
    const std::uint8_t* Bits() const { return data_.get(); }
    std::size_t ByteSize() const { return static_cast<std::size_t>(stride_) * height_; }

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    TCanvas& Canvas() { return *canvas_; }
    const TCanvas& Canvas() const { return *canvas_; }

    // Qt's view of the pixels, sharing them: valid while the bitmap keeps its size.
    QImage AsQImage();
    // A copy for Qt in RGB32 (gray stays gray).
    QImage ToQImage() const;
    // A bitmap of the given format from any image; translucent pixels are blended over
    // background.
    static TBitmap FromQImage(const QImage& image, TColor background,
                              TPixelFormat format = pf24bit);

  private:
    void Allocate(int width, int height, TPixelFormat format);
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf24bit;
    int stride_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
    std::unique_ptr<TCanvas> canvas_;
};

// Converts count pixels of one format to another (rows may not overlap).
void ConvertPixels(std::uint8_t* dst, TPixelFormat dstFormat, const std::uint8_t* src,
                   TPixelFormat srcFormat, int count);

// The gray level that a colour turns into in an 8-bit bitmap.
inline std::uint8_t GrayOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint8_t>((r * 77 + g * 150 + b * 29 + 128) >> 8);
}

TRect IntersectRect(const TRect& a, const TRect& b);
inline bool IsRectEmpty(const TRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}
inline TRect OffsetRect(const TRect& r, int dx, int dy) {
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace pelwick
