#include "gfx/Stretch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pelwick {

namespace {

// Where each destination column (or row) of the visible span finds its source pixels:
// [first, last) in source coordinates.
struct TSpan {
    int First;
    int Last;
};

// Maps destination positions [visibleFrom, visibleTo) of a destination run that starts at
// destStart, has destLength (> 0) pixels and may be mirrored, onto a source run
// [srcStart, srcStart + srcLength). A destination pixel covers the source interval
// [i * sl / dl, (i + 1) * sl / dl); halftone takes every source pixel that interval
// touches, replication the one under its centre.
std::vector<TSpan> MapSpans(int destStart, int destLength, bool mirrored, int visibleFrom,
                            int visibleTo, int srcStart, int srcLength, TStretchMode mode) {
    std::vector<TSpan> spans;
    spans.reserve(static_cast<size_t>(visibleTo - visibleFrom));
    const std::int64_t sl = srcLength, dl = destLength;
    for (int d = visibleFrom; d < visibleTo; ++d) {
        std::int64_t i = d - destStart;
        if (mirrored) i = dl - 1 - i;
        int first, last;
        if (mode == smReplicate) {
            first = static_cast<int>((2 * i + 1) * sl / (2 * dl));
            last = first + 1;
        } else {
            first = static_cast<int>(i * sl / dl);
            last = static_cast<int>(((i + 1) * sl + dl - 1) / dl);
            if (last <= first) last = first + 1;
        }
        spans.push_back(TSpan{srcStart + first, srcStart + last});
    }
    return spans;
}

inline void ReadRgb(const std::uint8_t* p, int bpp, unsigned& b, unsigned& g, unsigned& r) {
    if (bpp == 1) {
        b = g = r = p[0];
    } else {
        b = p[0];
        g = p[1];
        r = p[2];
    }
}

inline void WriteRgb(std::uint8_t* p, int bpp, unsigned b, unsigned g, unsigned r) {
    if (bpp == 1) {
        p[0] = GrayOf(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                      static_cast<std::uint8_t>(b));
        return;
    }
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
    if (bpp == 4) p[3] = 0xFF;
}

void Replicate(TBitmap& dst, const TBitmap& src, const TRect& visible,
               const std::vector<TSpan>& cols, const std::vector<TSpan>& rows) {
    const int dbpp = dst.BytesPerPixel(), sbpp = src.BytesPerPixel();
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const std::uint8_t* s = src.ScanLine(rows[static_cast<size_t>(y - visible.Top)].First);
        std::uint8_t* d = dst.ScanLine(y) + visible.Left * dbpp;
        for (const TSpan& c : cols) {
            unsigned b, g, r;
            ReadRgb(s + c.First * sbpp, sbpp, b, g, r);
            WriteRgb(d, dbpp, b, g, r);
            d += dbpp;
        }
    }
}

// Adds count pixels of a source row into three running sums per pixel.
template <int Bpp>
void AccumulateRow(std::uint32_t* acc, const std::uint8_t* s, int count) {
    if constexpr (Bpp == 3) {
        for (int i = 0; i < count * 3; ++i)
            acc[i] += s[i];
    } else {
        for (int x = 0; x < count; ++x) {
            if constexpr (Bpp == 1) {
                acc[3 * x] += s[x];
                acc[3 * x + 1] += s[x];
                acc[3 * x + 2] += s[x];
            } else {
                acc[3 * x] += s[4 * x];
                acc[3 * x + 1] += s[4 * x + 1];
                acc[3 * x + 2] += s[4 * x + 2];
            }
        }
    }
}

// Each destination pixel: the sums of its source block, divided by the block's pixel count
// through a reciprocal (rounded to nearest) so that no division runs per pixel.
void Halftone(TBitmap& dst, const TBitmap& src, const TRect& visible,
              const std::vector<TSpan>& cols, const std::vector<TSpan>& rows) {
    const int dbpp = dst.BytesPerPixel(), sbpp = src.BytesPerPixel();
    int minX = cols.front().First, maxX = cols.front().Last, maxCols = 0, maxRows = 0;
    for (const TSpan& c : cols) {
        minX = std::min(minX, c.First);
        maxX = std::max(maxX, c.Last);
        maxCols = std::max(maxCols, c.Last - c.First);
    }
    for (const TSpan& r : rows)
        maxRows = std::max(maxRows, r.Last - r.First);
    const std::int64_t maxCount = static_cast<std::int64_t>(maxCols) * maxRows;
    std::vector<std::uint64_t> recip;
    if (maxCount <= (1 << 20)) {
        recip.resize(static_cast<size_t>(maxCount) + 1);
        for (std::int64_t n = 1; n <= maxCount; ++n)
            recip[static_cast<size_t>(n)] = ((std::uint64_t(1) << 32) + n / 2) / n;
    }
    std::vector<std::uint32_t> acc(static_cast<size_t>(maxX - minX) * 3);
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const TSpan& rs = rows[static_cast<size_t>(y - visible.Top)];
        std::fill(acc.begin(), acc.end(), 0u);
        const int width = maxX - minX;
        for (int sy = rs.First; sy < rs.Last; ++sy) {
            const std::uint8_t* s = src.ScanLine(sy) + minX * sbpp;
            if (sbpp == 3)
                AccumulateRow<3>(acc.data(), s, width);
            else if (sbpp == 4)
                AccumulateRow<4>(acc.data(), s, width);
            else
                AccumulateRow<1>(acc.data(), s, width);
        }
        std::uint8_t* d = dst.ScanLine(y) + visible.Left * dbpp;
        const std::uint64_t rowCount = static_cast<std::uint64_t>(rs.Last - rs.First);
        for (const TSpan& c : cols) {
            std::uint64_t sb = 0, sg = 0, sr = 0;
            for (int x = c.First; x < c.Last; ++x) {
                const std::uint32_t* a = acc.data() + (x - minX) * 3;
                sb += a[0];
                sg += a[1];
                sr += a[2];
            }
            const std::uint64_t n = rowCount * static_cast<std::uint64_t>(c.Last - c.First);
            unsigned b, g, r;
            if (n == 1) {
                b = unsigned(sb), g = unsigned(sg), r = unsigned(sr);
            } else if (!recip.empty()) {
                const std::uint64_t m = recip[n];
                b = unsigned((sb * m + (std::uint64_t(1) << 31)) >> 32);
                g = unsigned((sg * m + (std::uint64_t(1) << 31)) >> 32);
                r = unsigned((sr * m + (std::uint64_t(1) << 31)) >> 32);
            } else {
                b = unsigned((sb + n / 2) / n), g = unsigned((sg + n / 2) / n);
                r = unsigned((sr + n / 2) / n);
            }
            WriteRgb(d, dbpp, std::min(b, 255u), std::min(g, 255u), std::min(r, 255u));
            d += dbpp;
        }
    }
}

}  // namespace

void StretchBitmap(TBitmap& dst, const TRect& dest, const TBitmap& src, const TRect& source,
                   TStretchMode mode, const TRect& clip) {
    const TRect s = IntersectRect(source, src.BoundsRect());
    if (IsRectEmpty(s) || dest.Left == dest.Right || dest.Top == dest.Bottom) return;
    const bool mirrorX = dest.Right < dest.Left, mirrorY = dest.Bottom < dest.Top;
    const TRect area{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom),
                     std::max(dest.Left, dest.Right), std::max(dest.Top, dest.Bottom)};
    const TRect visible = IntersectRect(IntersectRect(area, clip), dst.BoundsRect());
    if (IsRectEmpty(visible)) return;
    const auto cols = MapSpans(area.Left, RectWidth(area), mirrorX, visible.Left, visible.Right,
                               s.Left, RectWidth(s), mode);
    const auto rows = MapSpans(area.Top, RectHeight(area), mirrorY, visible.Top, visible.Bottom,
                               s.Top, RectHeight(s), mode);
    if (mode == smReplicate)
        Replicate(dst, src, visible, cols, rows);
    else
        Halftone(dst, src, visible, cols, rows);
}

}  // namespace pelwick
