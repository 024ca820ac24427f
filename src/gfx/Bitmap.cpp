#include "gfx/Bitmap.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstring>
#include <limits>

#include "gfx/Simd.h"
#include "gfx/Stretch.h"
#ifdef PELWICK_X86_SIMD
#include <immintrin.h>
#endif

namespace pelwick {

namespace {

// Bitmaps stay below 2 GiB so that every offset fits the platform's and Qt's int sizes.
constexpr std::int64_t MaxBitmapBytes = std::numeric_limits<int>::max();

QColor ToQColor(TColor c) {
    c = ColorToRGB(c);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Writes one colour into count pixels of a row.
void FillPixels(std::uint8_t* row, TPixelFormat format, TColor color, int count) {
    color = ColorToRGB(color);
    const std::uint8_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (format) {
        case pf8bit:
            std::memset(row, GrayOf(r, g, b), static_cast<size_t>(count));
            break;
        case pf24bit:
            if (r == g && g == b) {
                std::memset(row, r, static_cast<size_t>(count) * 3);
            } else {
                for (int x = 0; x < count; ++x) {
                    row[3 * x] = b;
                    row[3 * x + 1] = g;
                    row[3 * x + 2] = r;
                }
            }
            break;
        case pf32bit: {
            const std::uint32_t v =
                0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
            for (int x = 0; x < count; ++x)
                std::memcpy(row + 4 * x, &v, 4);
            break;
        }
    }
}

// The two conversions every frame goes through (24-bit pictures to the 32-bit screen buffer
// and back). Compilers turn the plain loops into slow shuffles, so on x86-64 one byte
// shuffle per four pixels does it when the processor has one (every one of the last
// fifteen years).
#ifdef PELWICK_X86_SIMD
bool HasByteShuffle() {
    return SimdLevel() >= slSsse3;
}

// Each step reads 16 bytes for 4 pixels (12 bytes), so it stops while 6 pixels remain.
PELWICK_TARGET("ssse3")
int Expand24To32Shuffle(std::uint8_t* dst, const std::uint8_t* src, int count) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 6 <= count; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x),
                         _mm_or_si128(_mm_shuffle_epi8(v, order), opaque));
    }
    return x;
}

// Each step writes 16 bytes of which 12 are its own, so it stops while 6 pixels remain.
PELWICK_TARGET("ssse3")
int Pack32To24Shuffle(std::uint8_t* dst, const std::uint8_t* src, int count) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= count; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * x), _mm_shuffle_epi8(v, order));
    }
    return x;
}
#endif

void Expand24To32(std::uint8_t* dst, const std::uint8_t* src, int count) {
    int x = 0;
#ifdef PELWICK_X86_SIMD
    if (HasByteShuffle()) x = Expand24To32Shuffle(dst, src, count);
#endif
    for (; x < count; ++x) {
        dst[4 * x] = src[3 * x];
        dst[4 * x + 1] = src[3 * x + 1];
        dst[4 * x + 2] = src[3 * x + 2];
        dst[4 * x + 3] = 0xFF;
    }
}

void Pack32To24(std::uint8_t* dst, const std::uint8_t* src, int count) {
    int x = 0;
#ifdef PELWICK_X86_SIMD
    if (HasByteShuffle()) x = Pack32To24Shuffle(dst, src, count);
#endif
    for (; x < count; ++x) {
        dst[3 * x] = src[4 * x];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x + 2];
    }
}

// Copies n bytes. Drawing through a region of thin bars or small cells copies a great many
// spans of a few pixels, for which a call to memcpy costs more than the copy itself; two
// overlapping moves of a fixed size do such a span at once.
inline void CopyBytes(std::uint8_t* d, const std::uint8_t* s, size_t n) {
    if (n >= 16 && n <= 32) {
        std::memcpy(d, s, 16);
        std::memcpy(d + n - 16, s + n - 16, 16);
    } else if (n >= 8 && n < 16) {
        std::memcpy(d, s, 8);
        std::memcpy(d + n - 8, s + n - 8, 8);
    } else if (n >= 4 && n < 8) {
        std::memcpy(d, s, 4);
        std::memcpy(d + n - 4, s + n - 4, 4);
    } else {
        std::memcpy(d, s, n);
    }
}

// Copies or converts count pixels of a row.
inline void PutPixels(std::uint8_t* dst, TPixelFormat dstFormat, const std::uint8_t* src,
                      TPixelFormat srcFormat, int count) {
    if (dstFormat == srcFormat && count > 0)
        CopyBytes(dst, src, static_cast<size_t>(count) * TBitmap::BytesPerPixel(srcFormat));
    else
        ConvertPixels(dst, dstFormat, src, srcFormat, count);
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if (!(color & clSystemColor)) return color & 0xFFFFFF;
    QPalette palette;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        palette = QGuiApplication::palette();
    QColor c;
    switch (color) {
        case clWindow:
            c = palette.color(QPalette::Base);
            break;
        case clWindowText:
            c = palette.color(QPalette::Text);
            break;
        case clBtnFace:
            c = palette.color(QPalette::Button);
            break;
        default:
            c = Qt::black;
            break;
    }
    return RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue()));
}

QFont ToQFont(const TFont& font) {
    // Beyond this the font engines give up; larger requests get the largest font.
    static constexpr std::int64_t MaxPixelSize = 32767;
    auto pixels = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, 1, MaxPixelSize));
    };
    QFont f(QString::fromStdString(font.Name));
    if (font.Height < 0) {
        f.setPixelSize(pixels(-static_cast<std::int64_t>(font.Height)));
    } else if (font.Height > 0) {
        // A cell height: the face's ascent plus descent at a reference size gives the scale.
        constexpr int referenceSize = 256;
        f.setPixelSize(referenceSize);
        const QFontMetrics metrics(f);
        const int cell = std::max(1, metrics.ascent() + metrics.descent());
        f.setPixelSize(
            pixels((static_cast<std::int64_t>(font.Height) * referenceSize + cell / 2) / cell));
    } else {
        f.setPointSize(std::clamp(font.Size, 1, 16384));
    }
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    return f;
}

TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(r)) return TRect{};
    return r;
}

void ConvertPixels(std::uint8_t* dst, TPixelFormat dstFormat, const std::uint8_t* src,
                   TPixelFormat srcFormat, int count) {
    if (count <= 0) return;
    if (dstFormat == srcFormat) {
        std::memcpy(dst, src, static_cast<size_t>(count) * TBitmap::BytesPerPixel(srcFormat));
        return;
    }
    if (srcFormat == pf24bit && dstFormat == pf32bit) {
        Expand24To32(dst, src, count);
        return;
    }
    if (srcFormat == pf32bit && dstFormat == pf24bit) {
        Pack32To24(dst, src, count);
        return;
    }
    if (srcFormat == pf8bit) {
        const int bpp = TBitmap::BytesPerPixel(dstFormat);
        for (int x = 0; x < count; ++x) {
            dst[bpp * x] = dst[bpp * x + 1] = dst[bpp * x + 2] = src[x];
            if (bpp == 4) dst[bpp * x + 3] = 0xFF;
        }
        return;
    }
    const int bpp = TBitmap::BytesPerPixel(srcFormat);  // to gray
    for (int x = 0; x < count; ++x)
        dst[x] = GrayOf(src[bpp * x + 2], src[bpp * x + 1], src[bpp * x]);
}

// ---- TBitmap

int TBitmap::StrideFor(int width, TPixelFormat format) {
    return static_cast<int>((static_cast<std::int64_t>(width) * BytesPerPixel(format) + 3) & ~3LL);
}

void TBitmap::Allocate(int width, int height, TPixelFormat format) {
    if (width < 0 || height < 0) throw Exception("Invalid bitmap size");
    const std::int64_t stride =
        (static_cast<std::int64_t>(width) * BytesPerPixel(format) + 3) & ~3LL;
    if (stride * height > MaxBitmapBytes) throw Exception("Bitmap too large");
    std::unique_ptr<std::uint8_t[]> data;
    const std::int64_t bytes = stride * height;
    if (bytes > 0) data.reset(new std::uint8_t[static_cast<size_t>(bytes)]);
    // Rows are handed out whole (and compared whole), so their padding is defined.
    const int used = width * BytesPerPixel(format);
    if (stride > used)
        for (int y = 0; y < height; ++y)
            std::memset(data.get() + stride * y + used, 0, static_cast<size_t>(stride - used));
    data_ = std::move(data);
    width_ = width;
    height_ = height;
    format_ = format;
    stride_ = static_cast<int>(stride);
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : canvas_(new TCanvas(this)) {
    Allocate(width, height, format);
    if (data_) std::memset(data_.get(), 0, ByteSize());
}

TBitmap TBitmap::Uninitialized(int width, int height, TPixelFormat format) {
    TBitmap b;
    b.Allocate(width, height, format);
    return b;
}

TBitmap::TBitmap(const TBitmap& other) : canvas_(new TCanvas(this)) {
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    Allocate(other.width_, other.height_, other.format_);
    if (data_) std::memcpy(data_.get(), other.data_.get(), ByteSize());
    canvas_->Brush = other.canvas_->Brush;
    canvas_->Font = other.canvas_->Font;
    canvas_->StretchMode = other.canvas_->StretchMode;
    canvas_->clip_ = other.canvas_->clip_;
    return *this;
}

// A canvas is a few dozen bytes; failing to allocate one ends the program like any other
// exhausted memory would.
TBitmap::TBitmap(TBitmap&& other) noexcept
    : canvas_(new TCanvas(this)) {  // NOLINT(bugprone-unhandled-exception-at-new)
    *this = std::move(other);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this == &other) return *this;
    data_ = std::move(other.data_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    stride_ = std::exchange(other.stride_, 0);
    format_ = other.format_;
    canvas_->Brush = other.canvas_->Brush;
    canvas_->Font = other.canvas_->Font;
    canvas_->StretchMode = other.canvas_->StretchMode;
    canvas_->clip_ = std::move(other.canvas_->clip_);
    other.canvas_->clip_.reset();
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    TBitmap fresh = Uninitialized(width, height, format_);  // throws before anything changes
    const int keepW = std::min(width, width_), keepH = std::min(height, height_);
    const int bpp = BytesPerPixel();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = fresh.ScanLine(y);
        int from = 0;
        if (y < keepH) {
            std::memcpy(row, ScanLine(y), static_cast<size_t>(keepW) * bpp);
            from = keepW;
        }
        FillPixels(row + from * bpp, format_, canvas_->Brush.Color, width - from);
    }
    data_ = std::move(fresh.data_);
    width_ = width;
    height_ = height;
    stride_ = fresh.stride_;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    TBitmap converted = Uninitialized(width_, height_, format);
    for (int y = 0; y < height_; ++y) {
        ConvertPixels(converted.ScanLine(y), format, ScanLine(y), format_, width_);
        const int used = width_ * converted.BytesPerPixel();
        std::memset(converted.ScanLine(y) + used, 0, static_cast<size_t>(converted.stride_ - used));
    }
    data_ = std::move(converted.data_);
    stride_ = converted.stride_;
    format_ = format;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
    const std::uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    if (format_ == pf8bit) return RGB(p[0], p[0], p[0]);
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    FillPixels(ScanLine(y) + x * BytesPerPixel(), format_, color, 1);
}

QImage TBitmap::AsQImage() {
    if (Empty()) return QImage();
    const QImage::Format f = format_ == pf8bit    ? QImage::Format_Grayscale8
                             : format_ == pf24bit ? QImage::Format_BGR888
                                                  : QImage::Format_RGB32;
    return QImage(data_.get(), width_, height_, stride_, f);
}

QImage TBitmap::ToQImage() const {
    if (Empty()) return QImage();
    if (format_ == pf8bit) return const_cast<TBitmap*>(this)->AsQImage().copy();
    QImage image(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y)
        ConvertPixels(image.scanLine(y), pf32bit, ScanLine(y), format_, width_);
    return image;
}

TBitmap TBitmap::FromQImage(const QImage& image, TColor background, TPixelFormat format) {
    TBitmap b(image.width(), image.height(), format);
    if (b.Empty()) return b;
    b.Canvas().Brush.Color = background;
    b.Canvas().FillRect(b.BoundsRect());
    QImage view = b.AsQImage();
    QPainter painter(&view);
    painter.drawImage(0, 0, image);
    return b;
}

// ---- TCanvas

template <class F>
void TCanvas::ForEachVisible(const TRect& area, F&& f) const {
    const TRect inside = IntersectRect(area, owner_->BoundsRect());
    if (IsRectEmpty(inside)) return;
    if (!clip_) {
        f(inside);
        return;
    }
    for (const TRect& r : clip_->Rects()) {
        const TRect part = IntersectRect(inside, r);
        if (!IsRectEmpty(part)) f(part);
    }
}

std::vector<TRect> TCanvas::VisibleParts(const TRect& area) const {
    std::vector<TRect> parts;
    ForEachVisible(area, [&](const TRect& part) { parts.push_back(part); });
    return parts;
}

void TCanvas::FillRect(const TRect& r) {
    if (Brush.Style == TBrush::bsClear) return;
    const int bpp = owner_->BytesPerPixel();
    ForEachVisible(r, [&](const TRect& part) {
        for (int y = part.Top; y < part.Bottom; ++y)
            FillPixels(owner_->ScanLine(y) + part.Left * bpp, owner_->PixelFormat(), Brush.Color,
                       part.Right - part.Left);
    });
}

void TCanvas::Draw(int x, int y, const TBitmap& src) {
    if (src.Empty()) return;
    if (&src == owner_) {         // a copy onto itself may overlap
        const TBitmap copy(src);  // NOLINT(performance-unnecessary-copy-initialization)
        Draw(x, y, copy);
        return;
    }
    const TRect area{x, y, x + src.Width(), y + src.Height()};
    const int dbpp = owner_->BytesPerPixel(), sbpp = src.BytesPerPixel();
    ForEachVisible(area, [&](const TRect& part) {
        for (int row = part.Top; row < part.Bottom; ++row)
            PutPixels(owner_->ScanLine(row) + part.Left * dbpp, owner_->PixelFormat(),
                      src.ScanLine(row - y) + (part.Left - x) * sbpp, src.PixelFormat(),
                      part.Right - part.Left);
    });
}

namespace {

bool Unscaled(const TRect& dest, const TRect& source) {
    return RectWidth(dest) == RectWidth(source) && RectHeight(dest) == RectHeight(source) &&
           RectWidth(source) > 0 && RectHeight(source) > 0;
}

}  // namespace

TRect TCanvas::CopiedArea(const TRect& dest, const TBitmap& src, const TRect& source) {
    const TRect s = IntersectRect(source, src.BoundsRect());
    if (src.Empty() || IsRectEmpty(s)) return TRect{};
    if (Unscaled(dest, source))
        return OffsetRect(s, dest.Left - source.Left, dest.Top - source.Top);
    if (dest.Left == dest.Right || dest.Top == dest.Bottom) return TRect{};
    return TRect{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom),
                 std::max(dest.Left, dest.Right), std::max(dest.Top, dest.Bottom)};
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) {
    if (src.Empty()) return;
    if (&src == owner_) {         // a copy onto itself may overlap
        const TBitmap copy(src);  // NOLINT(performance-unnecessary-copy-initialization)
        CopyRect(dest, copy, source);
        return;
    }
    if (Unscaled(dest, source)) {
        // Unscaled: the part of source inside src, at the matching place of dest.
        const TRect s = IntersectRect(source, src.BoundsRect());
        if (IsRectEmpty(s)) return;
        const int dx = dest.Left - source.Left, dy = dest.Top - source.Top;
        const int dbpp = owner_->BytesPerPixel(), sbpp = src.BytesPerPixel();
        ForEachVisible(OffsetRect(s, dx, dy), [&](const TRect& part) {
            for (int row = part.Top; row < part.Bottom; ++row)
                PutPixels(owner_->ScanLine(row) + part.Left * dbpp, owner_->PixelFormat(),
                          src.ScanLine(row - dy) + (part.Left - dx) * sbpp, src.PixelFormat(),
                          part.Right - part.Left);
        });
        return;
    }
    const TRect area{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom),
                     std::max(dest.Left, dest.Right), std::max(dest.Top, dest.Bottom)};
    ForEachVisible(area, [&](const TRect& part) {
        StretchBitmap(*owner_, dest, src, source, StretchMode, part);
    });
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& src) {
    CopyRect(dest, src, src.BoundsRect());
}

void TCanvas::FillPattern(const TRect& r, const TBitmap& tile) {
    if (tile.Empty()) return;
    const int tw = tile.Width(), th = tile.Height();
    const int dbpp = owner_->BytesPerPixel(), sbpp = tile.BytesPerPixel();
    ForEachVisible(r, [&](const TRect& part) {
        for (int y = part.Top; y < part.Bottom; ++y) {
            const std::uint8_t* srcRow = tile.ScanLine((y - r.Top) % th);
            std::uint8_t* dstRow = owner_->ScanLine(y);
            int x = part.Left;
            while (x < part.Right) {
                const int tx = (x - r.Left) % tw;
                const int n = std::min(tw - tx, part.Right - x);
                ConvertPixels(dstRow + x * dbpp, owner_->PixelFormat(), srcRow + tx * sbpp,
                              tile.PixelFormat(), n);
                x += n;
            }
        }
    });
}

void TCanvas::SetClipRegion(const TRegion* region) {
    if (region)
        clip_ = *region;
    else
        clip_.reset();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (owner_->Empty() || text.empty()) return;
    QImage view = owner_->AsQImage();
    QPainter painter(&view);
    if (clip_) painter.setClipRegion(clip_->AsQRegion());
    const QFont font = ToQFont(Font);
    painter.setFont(font);
    const QString s = QString::fromStdString(text);
    const QFontMetrics metrics(font);
    const QRect cell(x, y, metrics.horizontalAdvance(s), metrics.height());
    if (Brush.Style == TBrush::bsSolid) painter.fillRect(cell, ToQColor(Brush.Color));
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(x, y + metrics.ascent(), s);
}

TSize TCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics metrics(ToQFont(Font));
    return TSize{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

}  // namespace pelwick
