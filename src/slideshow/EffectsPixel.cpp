// The named effects that work on pixels, and the blend of a rectangle. They read
// and write the 24-bit rows directly, three bytes a pixel and never past a row's last pixel
// (the padding of a row is not touched). Their loops work on a row's bytes with the same
// operation for each, which the compiler vectorises, once for each instruction set.
#include <algorithm>
#include <array>
#include <cstring>

#include "gfx/Rounding.h"
#include "gfx/Simd.h"
#include "slideshow/EffectsSupport.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

using std::uint16_t;
using std::uint8_t;

// d = s + floor(w * (n - s) / 256) per byte, computed as (s * (256 - w) + n * w) / 256: the
// two are equal, and the sum never exceeds 255 * 256, so 16-bit lanes hold it.
[[gnu::always_inline]] inline void MixBody(uint8_t* __restrict d, const uint8_t* __restrict s,
                                           const uint8_t* __restrict n,
                                           const uint16_t* __restrict w, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint16_t wi = w[i];
        const uint16_t v = static_cast<uint16_t>(static_cast<uint16_t>(s[i] * (256 - wi)) +
                                                 static_cast<uint16_t>(n[i] * wi));
        d[i] = static_cast<uint8_t>(v >> 8);
    }
}

// d = n where the byte's fixed number is below p, else s. Both bytes are read and masked,
// so the loop has no branch and no conditional load to keep it from being vectorised.
[[gnu::always_inline]] inline void ChooseBody(uint8_t* __restrict d, const uint8_t* __restrict s,
                                              const uint8_t* __restrict n,
                                              const uint8_t* __restrict chance, uint8_t p,
                                              size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t take = static_cast<uint8_t>(-static_cast<int>(chance[i] < p));
        d[i] = static_cast<uint8_t>((n[i] & take) | (s[i] & ~take));
    }
}

void MixPortable(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint16_t* w, size_t count) {
    MixBody(d, s, n, w, count);
}
void ChoosePortable(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint8_t* chance,
                    uint8_t p, size_t count) {
    ChooseBody(d, s, n, chance, p, count);
}

#ifdef PELWICK_X86_SIMD
PELWICK_TARGET("avx2")
void MixAvx2(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint16_t* w, size_t count) {
    MixBody(d, s, n, w, count);
}
PELWICK_TARGET("avx2")
void ChooseAvx2(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint8_t* chance, uint8_t p,
                size_t count) {
    ChooseBody(d, s, n, chance, p, count);
}
#endif

void Mix(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint16_t* w, size_t count) {
#ifdef PELWICK_X86_SIMD
    if (SimdLevel() >= slAvx2) return MixAvx2(d, s, n, w, count);
#endif
    MixPortable(d, s, n, w, count);
}

void Choose(uint8_t* d, const uint8_t* s, const uint8_t* n, const uint8_t* chance, uint8_t p,
            size_t count) {
#ifdef PELWICK_X86_SIMD
    if (SimdLevel() >= slAvx2) return ChooseAvx2(d, s, n, chance, p, count);
#endif
    ChoosePortable(d, s, n, chance, p, count);
}

bool Usable(const TFrame& f) {
    return f.W > 0 && f.H > 0 && f.Screen.PixelFormat() == pf24bit &&
           f.Picture.PixelFormat() == pf24bit && OldPicture(f).PixelFormat() == pf24bit &&
           f.Screen.Width() >= f.W && f.Screen.Height() >= f.H && f.Picture.Width() >= f.W &&
           f.Picture.Height() >= f.H && OldPicture(f).Width() >= f.W &&
           OldPicture(f).Height() >= f.H;
}

// The rows of a frame: the old row (a copy when Screen holds it, the loops want separate
// buffers), the new row and the row written.
class TRows {
  public:
    explicit TRows(TFrame& f) : f_(f), copy_(static_cast<size_t>(f.W) * 3) {}
    size_t Bytes() const { return copy_.size(); }
    uint8_t* Out(int y) { return f_.Screen.ScanLine(y); }
    const uint8_t* New(int y) const { return f_.Picture.ScanLine(y); }
    const uint8_t* Old(int y) {
        if (f_.Snapshot) return f_.Snapshot->ScanLine(y);
        std::memcpy(copy_.data(), f_.Screen.ScanLine(y), copy_.size());
        return copy_.data();
    }

  private:
    TFrame& f_;
    std::vector<uint8_t> copy_;
};

// The old picture is blown up into ever coarser blocks, then the new one comes in from
// coarse blocks to its own pixels; around the middle the two are blended.
void Pixelate(TFrame& f) {
    const int W = f.W, H = f.H, P = f.P;
    int X = f.X, Y = f.Y, k;
    if (P <= 50) {
        k = 180 - MulDiv(P, 82, 50);
    } else {
        X = W - X;
        Y = H - Y;
        k = 180 + MulDiv(P - 100, 82, 50);
    }
    const int xs = MulDiv(X, k, 100), ys = MulDiv(Y, k, 100);
    // At least two pixels across, but never past the picture (a picture a pixel wide).
    const int left = std::clamp(xs, 0, W - 1), top = std::clamp(ys, 0, H - 1);
    const int sw = std::min(std::max(W - 2 * xs, 2), W - left);
    const int sh = std::min(std::max(H - 2 * ys, 2), H - top);
    const TRect source{left, top, left + sw, top + sh};
    const TRect dest{-2 * xs, -2 * ys, W + 2 * xs, H + 2 * ys};

    TCanvas& canvas = f.Screen.Canvas();
    const TStretchMode mode = canvas.StretchMode;
    canvas.StretchMode = smReplicate;  // the blocks are whole pixels
    if (P >= 41 && P <= 59) {
        // The blended rectangle, made apart from Screen, is then blown up onto it.
        TBitmap blended = TBitmap::Uninitialized(sw, sh, pf24bit);
        blended.Canvas().CopyRect(blended.BoundsRect(), OldPicture(f), source);
        const std::vector<uint16_t> w(static_cast<size_t>(sw) * 3,
                                      static_cast<uint16_t>(MulDiv(256, (P - 41) * 5 + 5, 100)));
        std::vector<uint8_t> row(w.size());
        for (int y = 0; y < sh; ++y) {
            std::memcpy(row.data(), blended.ScanLine(y), row.size());
            Mix(blended.ScanLine(y), row.data(), f.Picture.ScanLine(top + y) + 3 * left, w.data(),
                w.size());
        }
        canvas.CopyRect(dest, blended, blended.BoundsRect());
    } else if (P > 50) {
        canvas.CopyRect(dest, f.Picture, source);
    } else if (f.Snapshot) {
        canvas.CopyRect(dest, *f.Snapshot, source);
    } else {
        TBitmap part = TBitmap::Uninitialized(sw, sh, pf24bit);
        part.Canvas().CopyRect(part.BoundsRect(), f.Screen, source);
        canvas.CopyRect(dest, part, part.BoundsRect());
    }
    canvas.StretchMode = mode;
    f.Snapshot = nullptr;  // the blown-up rectangle covers the whole picture
}

// Each pixel's number, drawn from the bottom row up and left to right, is kept for its
// three bytes, in the rows' own order.
void Dissolve(TFrame& f) {
    const int W = f.W, H = f.H;
    TFixedPattern local;
    const std::vector<uint8_t>& chance =
        FixedPattern(f, local, plPixels, [&](TRandomSequence& random, std::vector<uint8_t>& out) {
            out.resize(static_cast<size_t>(W) * 3 * H);
            for (int y = H - 1; y >= 0; --y)
                for (int x = 0; x < W; ++x)
                    std::memset(&out[(static_cast<size_t>(y) * W + x) * 3], random.Next(100), 3);
        });
    TRows rows(f);
    for (int y = 0; y < H; ++y)
        Choose(rows.Out(y), rows.Old(y), rows.New(y),
               &chance[static_cast<size_t>(y) * rows.Bytes()], static_cast<uint8_t>(f.P),
               rows.Bytes());
    f.Snapshot = nullptr;
}

// Whole rows (numbers from the bottom row up) or whole columns (left to right).
void RandomBars(TFrame& f, bool rowsOnly) {
    const int W = f.W, H = f.H;
    TFixedPattern local;
    const std::vector<uint8_t>& chance = FixedPattern(
        f, local, rowsOnly ? plRows : plColumns,
        [&](TRandomSequence& random, std::vector<uint8_t>& out) {
            if (rowsOnly) {
                out.resize(static_cast<size_t>(H));
                for (int y = H - 1; y >= 0; --y)
                    out[static_cast<size_t>(y)] = static_cast<uint8_t>(random.Next(100));
            } else {
                out.resize(static_cast<size_t>(W) * 3);
                for (int x = 0; x < W; ++x)
                    std::memset(&out[static_cast<size_t>(x) * 3], random.Next(100), 3);
            }
        });
    TRows rows(f);
    for (int y = 0; y < H; ++y) {
        if (rowsOnly) {
            if (chance[static_cast<size_t>(y)] < f.P)
                std::memcpy(rows.Out(y), rows.New(y), rows.Bytes());
            else if (f.Snapshot)
                std::memcpy(rows.Out(y), f.Snapshot->ScanLine(y), rows.Bytes());
        } else {
            Choose(rows.Out(y), rows.Old(y), rows.New(y), chance.data(), static_cast<uint8_t>(f.P),
                   rows.Bytes());
        }
    }
    f.Snapshot = nullptr;
}

}  // namespace

// The two channels that go first, by the transition's seed: a, then b, then the third.
std::array<int, 3> ChannelOrder(std::uint32_t seed) {
    TRandomSequence random(seed);
    const int a = random.Next(3), b = (a + 1 + random.Next(2)) % 3;
    return {a, b, 3 - a - b};
}

namespace {

// One channel after the other moves to the new picture's.
void ChannelMix(TFrame& f) {
    const std::array<int, 3> order = ChannelOrder(f.Seed);
    const int P = f.P;
    int moving[3] = {0, 0, 0};  // by position in order
    if (P <= 33) {
        moving[0] = MulDiv(256, P, 33);
    } else if (P <= 66) {
        moving[0] = 256;
        moving[1] = MulDiv(256, P - 33, 33);
    } else {
        moving[0] = moving[1] = 256;
        moving[2] = MulDiv(256, P - 66, 33);
    }
    std::uint16_t byChannel[3];
    for (int i = 0; i < 3; ++i)
        byChannel[order[static_cast<size_t>(i)]] = static_cast<uint16_t>(moving[i]);
    TRows rows(f);
    std::vector<uint16_t> w(rows.Bytes());
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = byChannel[i % 3];
    for (int y = 0; y < f.H; ++y)
        Mix(rows.Out(y), rows.Old(y), rows.New(y), w.data(), rows.Bytes());
    f.Snapshot = nullptr;
}

}  // namespace

void BlendRect(TBitmap& screen, const TBitmap& picture, int amount, int left, int top, int width,
               int height) {
    if (screen.PixelFormat() != pf24bit || picture.PixelFormat() != pf24bit) return;
    const TRect r = IntersectRect(
        IntersectRect(TRect{left, top, left + width, top + height}, screen.BoundsRect()),
        picture.BoundsRect());
    if (IsRectEmpty(r)) return;
    amount = std::clamp(amount, 0, 100);
    const size_t bytes = static_cast<size_t>(r.Right - r.Left) * 3;
    const std::vector<uint16_t> w(bytes, static_cast<uint16_t>(MulDiv(256, amount, 100)));
    std::vector<uint8_t> row(bytes);
    for (int y = r.Top; y < r.Bottom; ++y) {
        uint8_t* out = screen.ScanLine(y) + 3 * r.Left;
        std::memcpy(row.data(), out, bytes);
        Mix(out, row.data(), picture.ScanLine(y) + 3 * r.Left, w.data(), bytes);
    }
}

void PixelateFrame(TFrame& frame, const TStyleParams& /*params*/) {
    if (Usable(frame)) Pixelate(frame);
}

void DissolveFrame(TFrame& frame, const TStyleParams& /*params*/) {
    if (Usable(frame)) Dissolve(frame);
}

void RandomBarsFrame(TFrame& frame, const TStyleParams& params) {
    if (Usable(frame)) RandomBars(frame, params.Orientation == orHorizontal);
}

void ChannelMixFrame(TFrame& frame, const TStyleParams& /*params*/) {
    if (Usable(frame)) ChannelMix(frame);
}

}  // namespace pelwick
