// The pivots: the new picture turned about a point just outside one of its corners,
// from a quarter turn at the start to none at the end, drawn straight onto the 24-bit rows.
// Where the turned picture does not reach, the old snapshot stays.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "slideshow/EffectsSupport.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

// Nearest integer, ties to even, for |v| < 2^51: adding and taking away 1.5 * 2^52 rounds
// in the processor's mode (to nearest, ties to even), exactly as Round does, without a
// library call per pixel.
inline int RoundEven(double v) {
    constexpr double shift = 6755399441055744.0;
    return static_cast<int>((v + shift) - shift);
}

// Source pixel (x', y') of destination pixel (x, y), turned by a about the pivot:
//   x' = px + round((x - px) cos a - (y - py) sin a)
//   y' = py + round((x - px) sin a + (y - py) cos a)
// The terms of x are computed once per frame and those of y once per row, so a pixel costs
// two additions; the sums are the formula's own, so the rounding is too.
class TTurn {
  public:
    TTurn(int w, int px, int py, double a)
        : px_(px), py_(py), cos_(std::cos(a)), sin_(std::sin(a)), xCos_(w), xSin_(w) {
        for (int x = 0; x < w; ++x) {
            xCos_[x] = (x - px) * cos_;
            xSin_[x] = (x - px) * sin_;
        }
    }

    void SetRow(int y) {
        ySin_ = (y - py_) * sin_;
        yCos_ = (y - py_) * cos_;
    }
    int SourceX(int x) const { return px_ + RoundEven(xCos_[x] - ySin_); }
    int SourceY(int x) const { return py_ + RoundEven(xSin_[x] + yCos_); }

  private:
    int px_, py_;
    double cos_, sin_;
    std::vector<double> xCos_, xSin_;
    double ySin_ = 0, yCos_ = 0;
};

// The first x in [0, w] for which pred holds, pred being false and then true along the row.
template <class F>
int FirstWhere(int w, F pred) {
    int lo = 0, hi = w;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (pred(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void PivotDraw(TFrame& f, int px, int py) {
    const int W = f.W, H = f.H;
    if (f.Screen.PixelFormat() != pf24bit || f.Picture.PixelFormat() != pf24bit ||
        f.Screen.Width() < W || f.Screen.Height() < H || f.Picture.Width() < W ||
        f.Picture.Height() < H || W <= 0 || H <= 0)
        return;
    // Between a quarter turn and none both sine and cosine are positive, so along a row both
    // source coordinates only grow: the pixels whose source lies inside the picture form
    // one run, found by halving, and the run needs no test per pixel.
    TTurn turn(W, px, py, (100 - f.P) * std::numbers::pi / 200);
    for (int y = 0; y < H; ++y) {
        turn.SetRow(y);
        const int first =
            FirstWhere(W, [&](int x) { return turn.SourceX(x) >= 0 && turn.SourceY(x) >= 0; });
        const int end =
            FirstWhere(W, [&](int x) { return turn.SourceX(x) >= W || turn.SourceY(x) >= H; });
        std::uint8_t* out = f.Screen.ScanLine(y);
        for (int x = first; x < end; ++x) {
            const std::uint8_t* in = f.Picture.ScanLine(turn.SourceY(x)) + 3 * turn.SourceX(x);
            out[3 * x] = in[0];
            out[3 * x + 1] = in[1];
            out[3 * x + 2] = in[2];
        }
    }
}

}  // namespace

void PivotFrame(TFrame& frame, const TStyleParams& params) {
    // The picture turns over the old one, which Screen must hold first.
    UseSnapshot(frame);
    PivotDraw(frame, params.X == edFar ? frame.W : -1, params.Y == edFar ? frame.H : -1);
}

}  // namespace pelwick
