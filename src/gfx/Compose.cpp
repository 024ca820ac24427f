#include "gfx/Compose.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "gfx/Simd.h"

namespace pelwick {

namespace {

// A band with more spans than this is composed through a mask of its row: copying spans of
// a few pixels one by one (thin bars, scattered cells) costs more per byte than choosing
// every byte.
constexpr size_t MaxCopiedSpans = 16;

// d = m ? n : o for every byte, eight at a time as masked words; the compiler vectorises the
// one body for each instruction set it is built for.
[[gnu::always_inline]] inline void SelectBody(std::uint8_t* d, const std::uint8_t* o,
                                              const std::uint8_t* n, const std::uint8_t* m,
                                              size_t bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a, b, c;
        std::memcpy(&a, o + i, 8);
        std::memcpy(&b, n + i, 8);
        std::memcpy(&c, m + i, 8);
        const std::uint64_t r = (b & c) | (a & ~c);
        std::memcpy(d + i, &r, 8);
    }
    for (; i < bytes; ++i)
        d[i] = m[i] ? n[i] : o[i];
}

void SelectPortable(std::uint8_t* d, const std::uint8_t* o, const std::uint8_t* n,
                    const std::uint8_t* m, size_t bytes) {
    SelectBody(d, o, n, m, bytes);
}

#ifdef PELWICK_X86_SIMD
PELWICK_TARGET("avx2")
void SelectAvx2(std::uint8_t* d, const std::uint8_t* o, const std::uint8_t* n,
                const std::uint8_t* m, size_t bytes) {
    SelectBody(d, o, n, m, bytes);
}
#endif

void Select(std::uint8_t* d, const std::uint8_t* o, const std::uint8_t* n, const std::uint8_t* m,
            size_t bytes) {
#ifdef PELWICK_X86_SIMD
    if (SimdLevel() >= slAvx2) return SelectAvx2(d, o, n, m, bytes);
#endif
    SelectPortable(d, o, n, m, bytes);
}

using TSpans = std::vector<std::pair<int, int>>;  // [left, right) in pixels, sorted

// A copy between different bitmaps of the few hundred bytes a span or gap usually has, in
// whole words with an overlapping last one: the library's copy starts each call with more
// work than such a span takes, and a frame of shreds has tens of thousands of them.
[[gnu::always_inline]] inline void CopyBytes(std::uint8_t* __restrict d,
                                             const std::uint8_t* __restrict s, size_t n) {
    if (n >= 512) {
        std::memcpy(d, s, n);
        return;
    }
    const auto move = [&](size_t at, auto word) {
        std::memcpy(&word, s + at, sizeof word);
        std::memcpy(d + at, &word, sizeof word);
    };
    struct TWords {
        std::uint64_t w[4];
    };
    if (n >= 32) {
        for (size_t i = 0; i + 32 < n; i += 32)
            move(i, TWords{});
        move(n - 32, TWords{});
    } else if (n >= 8) {
        for (size_t i = 0; i + 8 < n; i += 8)
            move(i, std::uint64_t{});
        move(n - 8, std::uint64_t{});
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i] = s[i];
    }
}

// One row from spans: the gaps from o, the spans from n.
void CopySpans(std::uint8_t* d, const std::uint8_t* o, const std::uint8_t* n, const TSpans& spans,
               int width, int bpp) {
    int x = 0;
    for (const auto& [left, right] : spans) {
        CopyBytes(d + x * bpp, o + x * bpp, static_cast<size_t>(left - x) * bpp);
        CopyBytes(d + left * bpp, n + left * bpp, static_cast<size_t>(right - left) * bpp);
        x = right;
    }
    CopyBytes(d + x * bpp, o + x * bpp, static_cast<size_t>(width - x) * bpp);
}

// Composes the rows of dst band by band from the top; the rows no band covers come from
// outside.
class TBandComposer {
  public:
    TBandComposer(TBitmap& dst, const TBitmap& outside, const TBitmap& inside)
        : dst_(dst),
          outside_(outside),
          inside_(inside),
          width_(dst.Width()),
          height_(dst.Height()),
          bpp_(dst.BytesPerPixel()),
          rowBytes_(static_cast<size_t>(width_) * bpp_) {}

    void Band(int top, int bottom, const TSpans& bandSpans) {
        spans_.clear();
        for (const auto& [l, r] : bandSpans) {
            const int left = std::max(l, 0), right = std::min(r, width_);
            if (left < right) spans_.emplace_back(left, right);
        }
        const int from = std::max(top, y_), to = std::min(bottom, height_);
        if (spans_.empty() || from >= to) return;
        CopyOutside(from);
        if (spans_.size() <= MaxCopiedSpans || to - from == 1) {
            for (; y_ < to; ++y_)
                CopySpans(dst_.ScanLine(y_), outside_.ScanLine(y_), inside_.ScanLine(y_), spans_,
                          width_, bpp_);
            return;
        }
        // Bands of thin bars and grids repeat their spans: the mask is kept while they do.
        if (spans_ != maskSpans_) {
            mask_.assign(rowBytes_, 0);
            for (const auto& [left, right] : spans_)
                std::memset(mask_.data() + left * bpp_, 0xFF,
                            static_cast<size_t>(right - left) * bpp_);
            maskSpans_ = spans_;
        }
        for (; y_ < to; ++y_)
            Select(dst_.ScanLine(y_), outside_.ScanLine(y_), inside_.ScanLine(y_), mask_.data(),
                   rowBytes_);
    }

    void Finish() { CopyOutside(height_); }

  private:
    void CopyOutside(int to) {
        for (; y_ < to; ++y_)
            std::memcpy(dst_.ScanLine(y_), outside_.ScanLine(y_), rowBytes_);
    }

    TBitmap& dst_;
    const TBitmap &outside_, &inside_;
    const int width_, height_, bpp_;
    const size_t rowBytes_;
    int y_ = 0;  // the rows above are composed
    TSpans spans_, maskSpans_;
    std::vector<std::uint8_t> mask_;
};

bool Alike(const TBitmap& dst, const TBitmap& outside, const TBitmap& inside) {
    const auto same = [&](const TBitmap& b) {
        return &b != &dst && b.Width() == dst.Width() && b.Height() == dst.Height() &&
               b.PixelFormat() == dst.PixelFormat();
    };
    return same(outside) && same(inside);
}

void DrawOver(TBitmap& dst, const TBitmap& outside, const TBitmap& inside, const TRegion& region) {
    dst.Canvas().Draw(0, 0, outside);
    const std::optional<TRegion> clip = dst.Canvas().ClipRegion();
    dst.Canvas().SetClipRegion(&region);
    dst.Canvas().Draw(0, 0, inside);
    dst.Canvas().SetClipRegion(clip ? &*clip : nullptr);
}

}  // namespace

void ComposeThroughRegion(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                          const TRegion& region) {
    if (!Alike(dst, outside, inside)) return DrawOver(dst, outside, inside, region);
    TBandComposer composer(dst, outside, inside);
    const std::vector<TRect> rects = region.Rects();  // in bands, top to bottom
    TSpans spans;
    for (size_t i = 0; i < rects.size();) {
        const int top = rects[i].Top, bottom = rects[i].Bottom;
        spans.clear();
        for (; i < rects.size() && rects[i].Top == top; ++i)
            spans.emplace_back(rects[i].Left, rects[i].Right);
        composer.Band(top, bottom, spans);
    }
    composer.Finish();
}

void ComposeThroughRects(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                         const TRectRegion& shape) {
    if (!Alike(dst, outside, inside)) return DrawOver(dst, outside, inside, shape.Region());
    TBandComposer composer(dst, outside, inside);
    shape.Bands([&composer](int top, int bottom, const TSpans& spans) {
        composer.Band(top, bottom, spans);
    });
    composer.Finish();
}

std::vector<TRect> BandRects(const TBandSource& bands) {
    std::vector<TRect> rects;
    bands([&rects](int top, int bottom, const TSpans& spans) {
        for (const auto& [left, right] : spans)
            rects.push_back(TRect{left, top, right, bottom});
    });
    return rects;
}

void ComposeThroughBands(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                         const TBandSource& bands) {
    if (!Alike(dst, outside, inside))
        return DrawOver(dst, outside, inside, TRectRegion(BandRects(bands)).Region());
    TBandComposer composer(dst, outside, inside);
    bands([&composer](int top, int bottom, const TSpans& spans) {
        composer.Band(top, bottom, spans);
    });
    composer.Finish();
}

}  // namespace pelwick
