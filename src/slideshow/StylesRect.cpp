// The rectangle styles: the new picture, or a part of it, copied (stretched where the sizes
// differ) onto a rectangle that moves with the progress. Some styles copy extra pieces
// first; the last pair of rectangles is left in Dest and Src for the completion step.
#include <array>
#include <initializer_list>
#include <utility>

#include "slideshow/Styles.h"

namespace pelwick {

namespace {

// An interval along one axis, and where a part of the picture goes along it (dest) from
// where (src).
struct TSpan {
    int lo, hi;
};
struct TMove {
    TSpan dest, src;
};
// The moves along one axis: one, or one at each edge.
struct TMoves {
    std::array<TMove, 2> at;
    int count;
};
TMoves One(TSpan dest, TSpan src) {
    return {{TMove{dest, src}, TMove{}}, 1};
}

// The moves along an axis of length L whose extent is E at this progress.
TMoves AxisMoves(TMotion motion, TEdge edge, int L, int E) {
    const TSpan whole{0, L};
    const int rest = L - E;  // what the band does not show yet
    if (edge == edNone) return One(whole, whole);
    if (edge == edSides) {
        // Half the extent at each edge, a pixel wider (s and k); squeezed, each half of the
        // picture goes into its own band, the left one with the middle column (q and hw).
        const TSpan nearBand{0, E / 2 + 1}, farBand{L - E / 2 - 1, L};
        if (motion == moReveal) return {{TMove{nearBand, nearBand}, TMove{farBand, farBand}}, 2};
        return {{TMove{nearBand, {0, L / 2 + 1}}, TMove{farBand, {L / 2, L}}}, 2};
    }
    const TSpan band = edge == edNear  ? TSpan{0, E}
                       : edge == edFar ? TSpan{rest, L}
                                       : TSpan{rest / 2, (L + E) / 2};  // hx and v
    switch (motion) {
        case moReveal:
            return One(band, band);
        case moSlide: {
            // The whole picture, its edge moving in with the band's inner side.
            const int shift = edge == edFar ? rest : edge == edNear ? -rest : 0;
            return One({shift, L + shift}, whole);
        }
        case moZoom:
            // The band's part blown up so that its inner sides lie as far past the picture
            // as the band is short of it.
            return One({edge == edNear ? 0 : -rest, edge == edFar ? L : L + rest}, band);
        case moSqueeze:
        default:
            return One(band, whole);
    }
}

using TPiece = std::pair<TRect, TRect>;  // Dest, Src

// Copies every piece but the last, which becomes Dest and Src.
void Pieces(TFrame& f, std::initializer_list<TPiece> pieces) {
    const TPiece* last = pieces.end() - 1;
    for (const TPiece* p = pieces.begin(); p != last; ++p)
        f.CopyPiece(p->first, p->second);
    f.Dest = last->first;
    f.Src = last->second;
}

// A piece: src, cut to the picture, mirrored along the axis onto dest. The destination's
// sides are swapped and pushed one pixel outward, as the mirrored copy has always been drawn.
void MirrorDraw(TFrame& f, const TAlong& a, TRect dest, TRect src) {
    src = IntersectRect(src, f.Picture.BoundsRect());
    if (a.Down)
        dest = TRect{dest.Left, dest.Bottom + 1, dest.Right, dest.Top - 1};
    else
        dest = TRect{dest.Right + 1, dest.Top, dest.Left - 1, dest.Bottom};
    if (!IsRectEmpty(src)) f.CopyPiece(dest, src);
}

// How far the mirrored strip reaches past the unrolled part whose edge has come a pixels
// of n from the side the roll starts at: half the way at the start and at the end, a tenth
// of n between.
int Fold(int a, int n) {
    if (a < n / 5) return a / 2;
    if (n < a + n / 5) return (n - a) / 2;
    return n / 10;
}

}  // namespace

void MoveFrame(TFrame& frame, const TStyleParams& params) {
    const TMoves across = AxisMoves(params.Motion, params.X, frame.W, frame.X);
    const TMoves down = AxisMoves(params.Motion, params.Y, frame.H, frame.Y);
    const int count = across.count * down.count;
    for (int i = 0; i < count; ++i) {
        const TMove& a = across.at[static_cast<size_t>(i / down.count)];
        const TMove& d = down.at[static_cast<size_t>(i % down.count)];
        const TRect dest{a.dest.lo, d.dest.lo, a.dest.hi, d.dest.hi};
        const TRect src{a.src.lo, d.src.lo, a.src.hi, d.src.hi};
        if (i + 1 < count) {
            frame.CopyPiece(dest, src);
        } else {
            frame.Dest = dest;
            frame.Src = src;
        }
    }
}

void UnrollFrame(TFrame& frame, const TStyleParams& params) {
    const TAlong a(frame, params);
    const int e = a.E + Fold(a.E, a.L);
    MirrorDraw(frame, a, a.Band(a.E, e), a.Band(e, 2 * e - a.E));
    frame.Dest = frame.Src = a.Band(0, a.E);
}

void BuildUpFrame(TFrame& frame, const TStyleParams& params) {
    const TAlong a(frame, params);
    Pieces(frame,
           {{a.Band(0, a.E), a.Band(0, a.E)}, {a.Band(a.E, a.L), a.Band(a.E, a.E + a.L / 20)}});
}

void RevealInToCentreFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const TFrame::TValues v = frame.Values();
    const int W = frame.W, H = frame.H;
    Pieces(frame, {{{0, 0, W, v.yh}, {0, 0, W, v.yh}},
                   {{0, H - v.yh, W, H}, {0, H - v.yh, W, H}},
                   {{0, 0, v.u, H}, {0, 0, v.u, H}},
                   {{v.o, 0, W, H}, {v.o, 0, W, H}}});
}

void QuartersExpandFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const TFrame::TValues v = frame.Values();
    const int W = frame.W, H = frame.H;
    Pieces(frame, {{{0, 0, v.s, v.yh + 1}, {0, 0, v.q, v.r}},
                   {{0, H - v.yh, v.s, H}, {0, v.r, v.q, H}},
                   {{v.o, H - v.yh, W, H}, {v.q, v.r, W, H}},
                   {{v.o, 0, W, v.yh + 1}, {v.q, 0, W, v.r}}});
}

void QuartersSlideFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const TFrame::TValues v = frame.Values();
    const int W = frame.W, H = frame.H, Y = frame.Y;
    Pieces(frame, {{{-v.hx, 0, v.s, v.r}, {0, 0, v.q, v.r}},
                   {{v.hw - 1, (Y - H) / 2, W, v.yh + 1}, {v.hw - 1, 0, W, v.r}},
                   {{v.o, v.hh - 1, W + v.hx, H}, {v.q, v.hh - 1, W, H}},
                   {{0, H - v.yh, v.q, H + (H - Y) / 2}, {0, v.r, v.q, H}}});
}

}  // namespace pelwick
