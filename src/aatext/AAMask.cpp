#include "aatext/AAMask.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "gfx/Simd.h"
#ifdef PELWICK_X86_SIMD
#include <emmintrin.h>
#endif

#include "aatext/AAGlyphs.h"
#include "aatext/Rasterizer.h"
#include "app/Process.h"
#include "app/Utf8.h"
#include "gfx/Rounding.h"

namespace pelwick {

namespace {

// Surfaces larger than this are not kept for the next line once a smaller one will do.
constexpr std::int64_t KeptSurfaceBytes = 4 << 20;
// Drawings kept for reuse: enough for the lines of a few texts.
constexpr std::size_t KeptDrawings = 96;
constexpr std::size_t KeptDrawingBytes = 4 << 20;

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// (v + scale - 1) div scale for the non-negative sizes of a measurement.
int CeilDiv(int v, int scale) {
    return static_cast<int>((static_cast<std::int64_t>(std::max(v, 0)) + scale - 1) / scale);
}

// One output row from scale surface rows, by the reduction filter of the quality. Step is
// the surface's bytes per pixel; the coverage is the pixel's first byte.
template <int Step>
void ReduceRow(TAAQuality quality, const TBitmap& surface, int y, int width, std::uint8_t* out) {
    switch (quality) {
        case aqHigh: {
            const std::uint8_t* a = surface.ScanLine(4 * y);
            const std::uint8_t* b = surface.ScanLine(4 * y + 1);
            const std::uint8_t* c = surface.ScanLine(4 * y + 2);
            const std::uint8_t* d = surface.ScanLine(4 * y + 3);
            int x = 0;
#ifdef PELWICK_X86_SIMD
            if (Step == 4 && SimdLevel() >= slSse2) {
                // One block is four 16-byte loads; the coverage is each pixel's low byte.
                const __m128i low = _mm_set1_epi32(0xFF);
                auto load = [&](const std::uint8_t* row) {
                    return _mm_and_si128(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16 * x)), low);
                };
                for (; x < width; ++x) {
                    __m128i sum = _mm_add_epi32(_mm_add_epi32(load(a), load(b)),
                                                _mm_add_epi32(load(c), load(d)));
                    sum = _mm_add_epi32(sum, _mm_srli_si128(sum, 8));
                    sum = _mm_add_epi32(sum, _mm_srli_si128(sum, 4));
                    out[x] = static_cast<std::uint8_t>(_mm_cvtsi128_si32(sum) >> 4);
                }
            }
#endif
            for (; x < width; ++x) {
                unsigned sum = 0;
                for (int k = 4 * x * Step; k < (4 * x + 4) * Step; k += Step)
                    sum += unsigned(a[k]) + b[k] + c[k] + d[k];
                out[x] = static_cast<std::uint8_t>(sum >> 4);
            }
            break;
        }
        case aqNormal: {
            // Weights 1 1 1/2 / 1 1 1 / 1/2 1 1: the two corners count half (their sum is
            // halved, remainder dropped), so the weights add up to 8 and full ink stays 255.
            const std::uint8_t* a = surface.ScanLine(3 * y);
            const std::uint8_t* b = surface.ScanLine(3 * y + 1);
            const std::uint8_t* c = surface.ScanLine(3 * y + 2);
            for (int x = 0; x < width; ++x) {
                const int k0 = 3 * x * Step, k1 = k0 + Step, k2 = k0 + 2 * Step;
                const unsigned sum = unsigned(a[k0]) + a[k1] + b[k0] + b[k1] + b[k2] + c[k1] +
                                     c[k2] + ((unsigned(a[k2]) + c[k0]) >> 1);
                out[x] = static_cast<std::uint8_t>(sum >> 3);
            }
            break;
        }
        case aqLow: {
            const std::uint8_t* a = surface.ScanLine(2 * y);
            const std::uint8_t* b = surface.ScanLine(2 * y + 1);
            for (int x = 0; x < width; ++x) {
                const int k0 = 2 * x * Step, k1 = k0 + Step;
                out[x] = static_cast<std::uint8_t>((unsigned(a[k0]) + a[k1] + b[k0] + b[k1]) >> 2);
            }
            break;
        }
        case aqNone: {
            const std::uint8_t* a = surface.ScanLine(y);
            if constexpr (Step == 1) {
                std::memcpy(out, a, static_cast<std::size_t>(width));
            } else {
                for (int x = 0; x < width; ++x)
                    out[x] = a[x * Step];
            }
            break;
        }
    }
}

}  // namespace

int ScaleOf(TAAQuality quality) {
    switch (quality) {
        case aqHigh:
            return 4;
        case aqNormal:
            return 3;
        case aqLow:
            return 2;
        case aqNone:
            return 1;
    }
    return 1;
}

void TAAMask::SetQuality(TAAQuality quality) {
    if (quality < aqHigh || quality > aqNone) quality = aqNormal;
    quality_ = quality;
    scale_ = ScaleOf(quality);
}

void TAAMask::Assign(const TAAMask& source) {
    if (&source == this) return;
    quality_ = source.quality_;
    scale_ = source.scale_;
    width_ = source.width_;
    height_ = source.height_;
    stride_ = source.stride_;
    left_ = source.left_;
    fullWidth_ = source.fullWidth_;
    data_.assign(source.data_.begin(), source.data_.end());
    rotationOffset_ = source.rotationOffset_;
}

void TAAMask::SetSize(int width, int height) {
    left_ = 0;
    fullWidth_ = std::max(width, 0);
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    stride_ = ClampToInt((static_cast<std::int64_t>(width_) + 3) / 4 * 4);
    const std::int64_t bytes = static_cast<std::int64_t>(stride_) * height_;
    if (bytes > std::numeric_limits<int>::max()) {
        width_ = height_ = stride_ = 0;
        data_.clear();
        throw Exception("Text mask too large");
    }
    data_.assign(static_cast<std::size_t>(bytes), 0);
}

std::uint8_t* TAAMask::ScanLine(int row) {
    if (row < 0 || row >= height_) throw EInvalidLine();
    return data_.data() + static_cast<std::ptrdiff_t>(height_ - 1 - row) * stride_;
}

const std::uint8_t* TAAMask::ScanLine(int row) const {
    if (row < 0 || row >= height_) throw EInvalidLine();
    return data_.data() + static_cast<std::ptrdiff_t>(height_ - 1 - row) * stride_;
}

TSize TAAMask::Measure(const std::string& text, TFont* enlarged) {
    rotationOffset_ = TPoint{};
    TCanvas* canvas = font_ ? font_->Canvas() : nullptr;
    if (!canvas) return TSize{};
    const TFont& font = canvas->Font;
    TFont big = font;
    if (font.Height != 0)
        big.Height = ClampToInt(static_cast<std::int64_t>(font.Height) * scale_);
    else
        big.Size = ClampToInt(static_cast<std::int64_t>(font.Size) * scale_);
    const TSize raw = font_->Rasterizer().TextExtent(big, text);
    int cx = CeilDiv(raw.Width, scale_);
    const int cy = CeilDiv(raw.Height, scale_);
    if (font.Italic && !text.empty()) {
        // Slanted glyphs lean past their advance; the extent makes room for that.
        cx = ClampToInt(cx + static_cast<std::int64_t>(
                                 Round(static_cast<double>(cx) / utf8::CharCount(text) * 0.3)));
    }
    if (enlarged) *enlarged = big;
    if (font.Escapement == 0) return TSize{cx, cy};

    const double angle = font.Escapement * std::numbers::pi / 1800;
    const double w2 = cx / 2.0, h2 = cy / 2.0, s = std::sin(-angle), c = std::cos(-angle);
    const TPoint p[4] = {
        {Round(-w2 * c + h2 * s), Round(-w2 * s - h2 * c)},
        {Round(w2 * c + h2 * s), Round(w2 * s - h2 * c)},
        {Round(-w2 * c - h2 * s), Round(-w2 * s + h2 * c)},
        {Round(w2 * c - h2 * s), Round(w2 * s + h2 * c)},
    };
    int minX = p[0].X, maxX = p[0].X, minY = p[0].Y, maxY = p[0].Y;
    for (const TPoint& q : p) {
        minX = std::min(minX, q.X);
        maxX = std::max(maxX, q.X);
        minY = std::min(minY, q.Y);
        maxY = std::max(maxY, q.Y);
    }
    const TSize box{maxX - minX, maxY - minY};
    rotationOffset_ = TPoint{box.Width / 2 + p[0].X, box.Height / 2 + p[0].Y};
    return box;
}

TSize TAAMask::TextExtent(const std::string& text) {
    return Measure(text, nullptr);
}

void TAAMask::DrawText(const std::string& text, int visibleLeft, int visibleRight) {
    if (!font_ || !font_->Canvas()) return;
    TFont big;
    const TSize extent = Measure(text, &big);
    const int spanLeft = std::clamp(visibleLeft, 0, std::max(extent.Width, 0));
    const int spanRight = std::clamp(visibleRight, spanLeft, std::max(extent.Width, 0));
    std::string key;
    if (font_->Rasterizer().Repeatable()) {
        key = FontKey(big) + std::to_string(big.Escapement) + ',' + std::to_string(int(quality_)) +
              ',' + std::to_string(spanLeft) + ',' + std::to_string(spanRight) + '\0' + text;
        if (Reuse(key)) return;
    }
    const int spanWidth = spanRight - spanLeft;
    SetSize(spanWidth, extent.Height);
    left_ = spanLeft;
    fullWidth_ = std::max(extent.Width, 0);
    if (width_ == 0 || height_ == 0) return;

    const std::int64_t needW = static_cast<std::int64_t>(spanWidth) * scale_;
    const std::int64_t needH = static_cast<std::int64_t>(height_) * scale_;
    if (needW > std::numeric_limits<int>::max() || needH > std::numeric_limits<int>::max())
        throw Exception("Text too large to draw");
    const TPixelFormat format = font_->Rasterizer().SurfaceFormat() == pf32bit ? pf32bit : pf8bit;
    const std::int64_t bpp = TBitmap::BytesPerPixel(format);
    const std::int64_t keptBytes = static_cast<std::int64_t>(surface_.Stride()) * surface_.Height();
    if (surface_.PixelFormat() != format || surface_.Width() < needW || surface_.Height() < needH ||
        (keptBytes > KeptSurfaceBytes && keptBytes > 4 * needW * needH * bpp)) {
        surface_ = TBitmap();  // the old surface goes before the new one is made
        surface_ = TBitmap(static_cast<int>(needW), static_cast<int>(needH), format);
        surfaceClear_ = true;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(needW) * surface_.BytesPerPixel();
    if (!surfaceClear_)
        for (int y = 0; y < needH; ++y)
            std::memset(surface_.ScanLine(y), 0, rowBytes);
    surfaceClear_ = false;  // until every drawn row has been read and cleared again
    font_->Rasterizer().DrawText(surface_, TRect{0, 0, int(needW), int(needH)}, big,
                                 (rotationOffset_.X - spanLeft) * scale_,
                                 rotationOffset_.Y * scale_, text);
    // Each group of rows is cleared while it is still in the cache, ready for the next line.
    for (int y = 0; y < height_; ++y) {
        if (format == pf32bit)
            ReduceRow<4>(quality_, surface_, y, width_, ScanLine(y));
        else
            ReduceRow<1>(quality_, surface_, y, width_, ScanLine(y));
        for (int row = y * scale_; row < (y + 1) * scale_; ++row)
            std::memset(surface_.ScanLine(row), 0, rowBytes);
    }
    surfaceClear_ = true;
    if (!key.empty()) Keep(std::move(key));
}

void TAAMask::ForgetDrawings() {
    drawings_.clear();
    drawingBytes_ = 0;
}

bool TAAMask::Reuse(const std::string& key) {
    auto hit = std::find_if(drawings_.begin(), drawings_.end(),
                            [&](const TDrawing& d) { return d.Key == key; });
    if (hit == drawings_.end()) return false;
    drawings_.splice(drawings_.begin(), drawings_, hit);
    width_ = hit->Width;
    height_ = hit->Height;
    stride_ = hit->Stride;
    left_ = hit->Left;
    fullWidth_ = hit->FullWidth;
    data_.assign(hit->Data.begin(), hit->Data.end());
    return true;
}

void TAAMask::Keep(std::string key) {
    if (data_.size() > KeptDrawingBytes / 4) return;  // a rare giant line is not worth it
    drawings_.push_front(
        TDrawing{std::move(key), width_, height_, stride_, left_, fullWidth_, data_});
    drawingBytes_ += data_.size();
    while (drawings_.size() > KeptDrawings || drawingBytes_ > KeptDrawingBytes) {
        drawingBytes_ -= drawings_.back().Data.size();
        drawings_.pop_back();
    }
}

void TAAMask::Blur(int amount) {
    if (amount <= 0 || width_ == 0 || height_ == 0) return;
    amount = std::min(amount, 100);
    const int k = Round(amount * 255 / 100.0);
    const int w = width_, h = height_;
    // The 5 x 5 sums are separable: row sums over the clamped columns, then the clamped rows
    // of those. Offsets beyond an edge repeat the edge pixel.
    std::vector<int> rowSums(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = ScanLine(y);
        int* sums = rowSums.data() + static_cast<std::ptrdiff_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            int sum = 0;
            for (int dx = -2; dx <= 2; ++dx)
                sum += row[std::clamp(x + dx, 0, w - 1)];
            sums[x] = sum;
        }
    }
    for (int y = 0; y < h; ++y) {
        const int* rows[5];
        for (int dy = -2; dy <= 2; ++dy)
            rows[dy + 2] =
                rowSums.data() + static_cast<std::ptrdiff_t>(std::clamp(y + dy, 0, h - 1)) * w;
        std::uint8_t* out = ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int sum = rows[0][x] + rows[1][x] + rows[2][x] + rows[3][x] + rows[4][x];
            const int v = (sum + 12) / 25;  // nearest; 25 is odd, so there are no ties
            const int d = out[x];
            out[x] = static_cast<std::uint8_t>(k == 255 ? v : d + (((v - d) * k) >> 8));
        }
    }
}

void TAAMask::Outline() {
    if (width_ < 3 || height_ < 3) return;
    std::vector<std::uint8_t> source(data_);
    auto row = [&](int y) {
        return source.data() + static_cast<std::ptrdiff_t>(height_ - 1 - y) * stride_;
    };
    for (int y = 1; y <= height_ - 2; ++y) {
        const std::uint8_t *a = row(y - 1), *m = row(y), *b = row(y + 1);
        std::uint8_t* out = ScanLine(y);
        for (int x = 1; x <= width_ - 2; ++x) {
            const int s = std::abs(b[x] - a[x]) + std::abs(m[x + 1] - m[x - 1]) +
                          std::abs(b[x - 1] - a[x + 1]) + std::abs(b[x + 1] - a[x - 1]);
            out[x] = static_cast<std::uint8_t>(std::min(s / 4, 255));
        }
    }
}

void TAAMask::Spray(int amount) {
    if (amount <= 0 || width_ == 0 || height_ == 0) return;
    amount = std::min(amount, 100);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* out = ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            const int c = Random(amount + 1);
            const int r1 = Random(2 * c), r2 = Random(2 * c);
            const int sx = std::clamp(x + c - r1, 0, width_ - 1);
            const int sy = std::clamp(y + c - r2, 0, height_ - 1);
            out[x] = ScanLine(sy)[sx];
        }
    }
}

void TAAMask::HorzMirror() {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = ScanLine(y);
        std::reverse(row, row + width_);
    }
}

void TAAMask::VertMirror() {
    for (int i = 0; i < height_ / 2; ++i)
        std::swap_ranges(ScanLine(i), ScanLine(i) + width_, ScanLine(height_ - 1 - i));
}

}  // namespace pelwick
