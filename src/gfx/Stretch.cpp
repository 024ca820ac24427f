#include "gfx/Stretch.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "gfx/Simd.h"
#ifdef PELWICK_X86_SIMD
#include <immintrin.h>
#endif

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
// [i * sl / dl, (i + 1) * sl / dl). Replication takes the source pixel under its centre.
// Halftone averages the source pixels that start inside that interval when shrinking (so
// every source pixel counts once) and the one or two it overlaps when enlarging.
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
        } else if (sl >= dl) {
            first = static_cast<int>((i * sl + dl - 1) / dl);
            last = static_cast<int>(((i + 1) * sl + dl - 1) / dl);
        } else {
            first = static_cast<int>(i * sl / dl);
            last = static_cast<int>(((i + 1) * sl + dl - 1) / dl);
        }
        if (last <= first) last = first + 1;
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

// How a replicated row is fetched with byte shuffles: each shuffle step fills the 16
// destination bytes from target on with the source bytes in its window (16 bytes at source,
// or 32 in a wide plan, as two loads), put in place by its orders; the pixels no shuffle can
// take are copied one by one afterwards.
struct TGatherPlan {
    struct alignas(16) TOrder {
        std::uint8_t byte[16];
    };
    bool wide = false;
    std::vector<int> source, target;
    std::vector<TOrder> order;                 // one a step, two in a wide plan
    std::vector<std::pair<int, int>> singles;  // source and target byte offsets
};

// The source pixels of a replicated row are the same for every destination row, so the
// steps that fetch them are worked out once per copy. A shuffle step takes as many of the
// next destination pixels as fit in 16 bytes and have their sources inside its window: for
// enlargements and mild reductions five pixels of three bytes from a 16-byte window, for
// halving or more a 32-byte window reaches more. Its 16-byte store spills into the next
// pixels, which later steps (and the single pixels, copied last) write over, so a step near
// the span's end, or whose window would pass readable, leaves its first pixel to the single
// copies instead.
TGatherPlan PlanGather(const std::vector<int>& offsets, int bpp, int readable, bool wide) {
    TGatherPlan plan;
    plan.wide = wide;
    const int window = wide ? 32 : 16, n = static_cast<int>(offsets.size());
    const auto at = [&](int i) { return offsets[static_cast<size_t>(i)]; };
    for (int i = 0; i < n;) {
        int lo = at(i), hi = lo + bpp, k = 1;
        while (k < 16 / bpp && i + k < n) {
            const int nlo = std::min(lo, at(i + k)), nhi = std::max(hi, at(i + k) + bpp);
            if (nhi - nlo > window) break;
            lo = nlo, hi = nhi, ++k;
        }
        if (i * bpp + 16 > n * bpp || lo + window > readable) {
            plan.singles.emplace_back(at(i), i * bpp);
            ++i;
            continue;
        }
        TGatherPlan::TOrder orders[2];
        std::memset(orders, 0x80, sizeof orders);
        for (int j = 0; j < k; ++j)
            for (int b = 0; b < bpp; ++b) {
                const int from = at(i + j) - lo + b;
                orders[from / 16].byte[j * bpp + b] = static_cast<std::uint8_t>(from % 16);
            }
        plan.source.push_back(lo);
        plan.target.push_back(i * bpp);
        plan.order.insert(plan.order.end(), orders, orders + (wide ? 2 : 1));
        i += k;
    }
    return plan;
}

// The narrow plan, unless the wide one takes so many fewer steps that its second load and
// shuffle pay.
TGatherPlan BestGather(const std::vector<int>& offsets, int bpp, int readable) {
    TGatherPlan narrow = PlanGather(offsets, bpp, readable, false);
    TGatherPlan wide = PlanGather(offsets, bpp, readable, true);
    return 3 * wide.source.size() < 2 * narrow.source.size() ? wide : narrow;
}

template <int Bpp>
void GatherPixels(std::uint8_t* d, const std::uint8_t* s, const std::vector<int>& offsets) {
    for (const int o : offsets) {
        std::memcpy(d, s + o, Bpp);
        d += Bpp;
    }
}

void GatherRowPortable(std::uint8_t* d, const std::uint8_t* s, const std::vector<int>& offsets,
                       int bpp) {
    if (bpp == 3)
        GatherPixels<3>(d, s, offsets);
    else if (bpp == 4)
        GatherPixels<4>(d, s, offsets);
    else
        GatherPixels<1>(d, s, offsets);
}

#ifdef PELWICK_X86_SIMD
PELWICK_TARGET("ssse3")
void GatherRowSsse3(std::uint8_t* d, const std::uint8_t* s, const TGatherPlan& plan, int bpp) {
    const size_t steps = plan.source.size();
    const int* source = plan.source.data();
    const int* target = plan.target.data();
    const TGatherPlan::TOrder* order = plan.order.data();
    const auto load = [](const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); };
    if (plan.wide) {
        for (size_t i = 0; i < steps; ++i) {
            const std::uint8_t* from = s + source[i];
            const __m128i a = _mm_shuffle_epi8(load(from), load(order[2 * i].byte));
            const __m128i b = _mm_shuffle_epi8(load(from + 16), load(order[2 * i + 1].byte));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + target[i]), _mm_or_si128(a, b));
        }
    } else {
        for (size_t i = 0; i < steps; ++i) {
            const __m128i v = _mm_shuffle_epi8(load(s + source[i]), load(order[i].byte));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + target[i]), v);
        }
    }
    for (const auto& [from, to] : plan.singles)
        std::memcpy(d + to, s + from, static_cast<size_t>(bpp));
}
#endif

void Prefetch(const std::uint8_t* p, int bytes) {
#if defined(__GNUC__) || defined(__clang__)
    for (int i = 0; i < bytes; i += 64)
        __builtin_prefetch(p + i);
#else
    (void)p, (void)bytes;
#endif
}

// Replication between bitmaps of one format, a row at a time: a destination row whose source
// row is the one above's is a copy of the row above, one whose columns map one to one a copy
// of the source row, any other gathers its pixels.
void ReplicateSameFormat(TBitmap& dst, const TBitmap& src, const TRect& visible,
                         const std::vector<TSpan>& cols, const std::vector<TSpan>& rows) {
    const int bpp = dst.BytesPerPixel();
    const size_t bytes = static_cast<size_t>(RectWidth(visible)) * bpp;
    std::vector<int> offsets;
    offsets.reserve(cols.size());
    bool straight = true;
    for (const TSpan& c : cols) {
        offsets.push_back(c.First * bpp);
        straight = straight && offsets.back() == offsets.front() + bpp * int(offsets.size() - 1);
    }
#ifdef PELWICK_X86_SIMD
    const bool shuffles = !straight && SimdLevel() >= slSsse3;
#else
    const bool shuffles = false;
#endif
    const TGatherPlan plan = shuffles ? BestGather(offsets, bpp, src.Stride()) : TGatherPlan();
    const auto [lowest, highest] = std::minmax_element(offsets.begin(), offsets.end());
    const std::uint8_t* previous = nullptr;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const size_t row = static_cast<size_t>(y - visible.Top);
        const std::uint8_t* s = src.ScanLine(rows[row].First);
        std::uint8_t* d = dst.ScanLine(y) + visible.Left * bpp;
        // A gathered row reads a short stretch of a row a stride away, which the processor
        // does not foresee: the next one is fetched while this one is gathered.
        if (!straight && row + 1 < rows.size() && rows[row + 1].First != rows[row].First)
            Prefetch(src.ScanLine(rows[row + 1].First) + *lowest, *highest + bpp - *lowest);
        if (s == previous) {
            std::memcpy(d, dst.ScanLine(y - 1) + visible.Left * bpp, bytes);
        } else if (straight) {
            std::memcpy(d, s + offsets.front(), bytes);
        } else {
#ifdef PELWICK_X86_SIMD
            if (shuffles) {
                GatherRowSsse3(d, s, plan, bpp);
                previous = s;
                continue;
            }
#endif
            GatherRowPortable(d, s, offsets, bpp);
        }
        previous = s;
    }
}

// Adds (or with First, stores) count pixels of a source row into three running sums per
// pixel. The 24-bit case is one flat loop the compiler vectorises.
template <int Bpp, bool First>
void AccumulateRow(std::uint32_t* __restrict acc, const std::uint8_t* __restrict s, int count) {
    if constexpr (Bpp == 3) {
        for (int i = 0; i < count * 3; ++i)
            acc[i] = (First ? 0 : acc[i]) + s[i];
    } else {
        for (int x = 0; x < count; ++x) {
            const int k = Bpp == 1 ? x : 4 * x;
            const int o = Bpp == 1 ? 0 : 1, t = Bpp == 1 ? 0 : 2;
            acc[3 * x] = (First ? 0 : acc[3 * x]) + s[k];
            acc[3 * x + 1] = (First ? 0 : acc[3 * x + 1]) + s[k + o];
            acc[3 * x + 2] = (First ? 0 : acc[3 * x + 2]) + s[k + t];
        }
    }
}

template <bool First>
void Accumulate(int bpp, std::uint32_t* acc, const std::uint8_t* s, int count) {
    if (bpp == 3)
        AccumulateRow<3, First>(acc, s, count);
    else if (bpp == 4)
        AccumulateRow<4, First>(acc, s, count);
    else
        AccumulateRow<1, First>(acc, s, count);
}

// Blocks of more rows than 32-bit column sums can hold: every pixel summed on its own.
void HalftoneHuge(TBitmap& dst, const TBitmap& src, const TRect& visible,
                  const std::vector<TSpan>& cols, const std::vector<TSpan>& rows) {
    const int dbpp = dst.BytesPerPixel(), sbpp = src.BytesPerPixel();
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const TSpan& rs = rows[static_cast<size_t>(y - visible.Top)];
        std::uint8_t* d = dst.ScanLine(y) + visible.Left * dbpp;
        for (const TSpan& c : cols) {
            std::uint64_t sum[3] = {0, 0, 0};
            for (int sy = rs.First; sy < rs.Last; ++sy)
                for (int sx = c.First; sx < c.Last; ++sx) {
                    unsigned b, g, r;
                    ReadRgb(src.ScanLine(sy) + sx * sbpp, sbpp, b, g, r);
                    sum[0] += b, sum[1] += g, sum[2] += r;
                }
            const std::uint64_t n =
                static_cast<std::uint64_t>(rs.Last - rs.First) * (c.Last - c.First);
            WriteRgb(d, dbpp, unsigned((sum[0] + n / 2) / n), unsigned((sum[1] + n / 2) / n),
                     unsigned((sum[2] + n / 2) / n));
            d += dbpp;
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
    // Small blocks (every ordinary reduction) use 32-bit sums and a table of reciprocals.
    const bool small = maxCount <= (1 << 20);
    std::vector<std::uint64_t> recip;
    if (small) {
        recip.resize(static_cast<size_t>(maxCount) + 1);
        for (std::int64_t n = 1; n <= maxCount; ++n)
            recip[static_cast<size_t>(n)] = ((std::uint64_t(1) << 32) + n / 2) / n;
    }
    if (static_cast<std::int64_t>(maxRows) * 255 > 0xFFFFFFFFLL) {
        HalftoneHuge(dst, src, visible, cols, rows);
        return;
    }
    const int width = maxX - minX;
    std::vector<std::uint32_t> acc(static_cast<size_t>(width) * 3);
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const TSpan& rs = rows[static_cast<size_t>(y - visible.Top)];
        Accumulate<true>(sbpp, acc.data(), src.ScanLine(rs.First) + minX * sbpp, width);
        for (int sy = rs.First + 1; sy < rs.Last; ++sy)
            Accumulate<false>(sbpp, acc.data(), src.ScanLine(sy) + minX * sbpp, width);
        std::uint8_t* d = dst.ScanLine(y) + visible.Left * dbpp;
        const std::uint32_t rowCount = static_cast<std::uint32_t>(rs.Last - rs.First);
        for (const TSpan& c : cols) {
            const std::uint32_t* a = acc.data() + (c.First - minX) * 3;
            const std::uint32_t n = rowCount * static_cast<std::uint32_t>(c.Last - c.First);
            unsigned b, g, r;
            if (small) {
                std::uint32_t sb = 0, sg = 0, sr = 0;
                for (int x = 0; x < c.Last - c.First; ++x, a += 3)
                    sb += a[0], sg += a[1], sr += a[2];
                const std::uint64_t m = recip[n];
                b = unsigned((sb * m + (std::uint64_t(1) << 31)) >> 32);
                g = unsigned((sg * m + (std::uint64_t(1) << 31)) >> 32);
                r = unsigned((sr * m + (std::uint64_t(1) << 31)) >> 32);
            } else {
                std::uint64_t sb = 0, sg = 0, sr = 0;
                for (int x = 0; x < c.Last - c.First; ++x, a += 3)
                    sb += a[0], sg += a[1], sr += a[2];
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
    if (mode == smReplicate && dst.PixelFormat() == src.PixelFormat() && &dst != &src)
        ReplicateSameFormat(dst, src, visible, cols, rows);
    else if (mode == smReplicate)
        Replicate(dst, src, visible, cols, rows);
    else
        Halftone(dst, src, visible, cols, rows);
}

}  // namespace pelwick
