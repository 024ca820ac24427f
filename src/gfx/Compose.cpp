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

// One row from spans: the gaps from o, the spans from n.
void CopySpans(std::uint8_t* d, const std::uint8_t* o, const std::uint8_t* n, const TSpans& spans,
               int width, int bpp) {
    int x = 0;
    for (const auto& [left, right] : spans) {
        std::memcpy(d + x * bpp, o + x * bpp, static_cast<size_t>(left - x) * bpp);
        std::memcpy(d + left * bpp, n + left * bpp, static_cast<size_t>(right - left) * bpp);
        x = right;
    }
    std::memcpy(d + x * bpp, o + x * bpp, static_cast<size_t>(width - x) * bpp);
}

}  // namespace

void ComposeThroughRegion(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                          const TRegion& region) {
    const int W = dst.Width(), H = dst.Height(), bpp = dst.BytesPerPixel();
    const bool alike = outside.Width() == W && outside.Height() == H && inside.Width() == W &&
                       inside.Height() == H && outside.PixelFormat() == dst.PixelFormat() &&
                       inside.PixelFormat() == dst.PixelFormat() && &outside != &dst &&
                       &inside != &dst;
    if (!alike) {
        dst.Canvas().Draw(0, 0, outside);
        const std::optional<TRegion> clip = dst.Canvas().ClipRegion();
        dst.Canvas().SetClipRegion(&region);
        dst.Canvas().Draw(0, 0, inside);
        dst.Canvas().SetClipRegion(clip ? &*clip : nullptr);
        return;
    }
    const size_t rowBytes = static_cast<size_t>(W) * bpp;
    const std::vector<TRect> rects = region.Rects();  // in bands, top to bottom
    TSpans spans;
    std::vector<std::uint8_t> mask;
    int y = 0;  // the rows above are composed
    for (size_t i = 0; i < rects.size();) {
        const int top = rects[i].Top, bottom = rects[i].Bottom;
        spans.clear();
        for (; i < rects.size() && rects[i].Top == top; ++i) {
            const int left = std::max(rects[i].Left, 0), right = std::min(rects[i].Right, W);
            if (left < right) spans.emplace_back(left, right);
        }
        const int from = std::max(top, y), to = std::min(bottom, H);
        if (spans.empty() || from >= to) continue;
        for (; y < from; ++y)
            std::memcpy(dst.ScanLine(y), outside.ScanLine(y), rowBytes);
        if (spans.size() <= MaxCopiedSpans || to - from == 1) {
            for (; y < to; ++y)
                CopySpans(dst.ScanLine(y), outside.ScanLine(y), inside.ScanLine(y), spans, W, bpp);
            continue;
        }
        mask.assign(rowBytes, 0);
        for (const auto& [left, right] : spans)
            std::memset(mask.data() + left * bpp, 0xFF, static_cast<size_t>(right - left) * bpp);
        for (; y < to; ++y)
            Select(dst.ScanLine(y), outside.ScanLine(y), inside.ScanLine(y), mask.data(), rowBytes);
    }
    for (; y < H; ++y)
        std::memcpy(dst.ScanLine(y), outside.ScanLine(y), rowBytes);
}

}  // namespace pelwick
