// Styles 1..57: the new picture, or a part of it, copied (stretched where the sizes differ)
// onto a rectangle that moves with the progress. Some styles copy extra pieces first; the
// last pair of rectangles is left in Dest and Src for the completion step.
#include <initializer_list>
#include <utility>

#include "slideshow/Styles.h"

namespace pelwick {

namespace {

using TPiece = std::pair<TRect, TRect>;  // Dest, Src

// Copies every piece but the last, which becomes Dest and Src.
void Pieces(TFrame& f, std::initializer_list<TPiece> pieces) {
    const TPiece* last = pieces.end() - 1;
    for (const TPiece* p = pieces.begin(); p != last; ++p)
        f.CopyPiece(p->first, p->second);
    f.Dest = last->first;
    f.Src = last->second;
}

// A piece: src, cut to the picture, mirrored onto dest. The destination's sides are swapped
// and pushed one pixel outward, as the mirrored copy has always been drawn.
void MirrorDraw(TFrame& f, TRect dest, TRect src, bool mirrorH, bool mirrorV) {
    src = IntersectRect(src, f.Picture.BoundsRect());
    if (mirrorH) dest = TRect{dest.Right + 1, dest.Top, dest.Left - 1, dest.Bottom};
    if (mirrorV) dest = TRect{dest.Left, dest.Bottom + 1, dest.Right, dest.Top - 1};
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

void UnrollFromLeft(TFrame& f) {
    const int W = f.W, H = f.H, X = f.X;
    const int e = X + Fold(X, W);
    MirrorDraw(f, TRect{X, 0, e, H}, TRect{e, 0, 2 * e - X, H}, true, false);
    f.Dest = f.Src = TRect{0, 0, X, H};
}

void UnrollFromRight(TFrame& f) {
    const int W = f.W, H = f.H, X = f.X, Z = W - X;
    const int e = Z - Fold(X, W);
    MirrorDraw(f, TRect{e, 0, Z, H}, TRect{2 * e - Z, 0, e, H}, true, false);
    f.Dest = f.Src = TRect{Z, 0, W, H};
}

void UnrollFromTop(TFrame& f) {
    const int W = f.W, H = f.H, Y = f.Y;
    const int e = Y + Fold(Y, H);
    MirrorDraw(f, TRect{0, Y, W, e}, TRect{0, e, W, 2 * e - Y}, false, true);
    f.Dest = f.Src = TRect{0, 0, W, Y};
}

void UnrollFromBottom(TFrame& f) {
    const int W = f.W, H = f.H, Y = f.Y, Z = H - Y;
    const int e = Z - Fold(Y, H);
    MirrorDraw(f, TRect{0, e, W, Z}, TRect{0, 2 * e - Z, W, e}, false, true);
    f.Dest = f.Src = TRect{0, Z, W, H};
}

// 1..17: across the width.
void Horizontal(TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, X = f.X;
    TRect& D = f.Dest;
    TRect& S = f.Src;
    switch (f.Style) {
        case 1:
            D.Left = W - X;
            break;
        case 2:
            D.Right = X;
            break;
        case 3:
            D.Left = W - X, D.Right = 2 * W - X;
            break;
        case 4:
            D.Left = X - W, D.Right = X;
            break;
        case 5:
            D.Right = S.Right = X;
            break;
        case 6:
            D.Left = S.Left = W - X;
            break;
        case 7:
            D.Right = 2 * W - X, S.Right = X;
            break;
        case 8:
            D.Left = X - W, S.Left = W - X;
            break;
        case 9:
            D.Left = X - W, D.Right = 2 * W - X, S.Left = v.hx, S.Right = v.v;
            break;
        case 10:
            D.Left = v.hx, D.Right = v.v;
            break;
        case 11:
            D.Left = S.Left = v.hx, D.Right = S.Right = v.v;
            break;
        case 12:
            Pieces(f, {{{0, 0, v.s, H}, {0, 0, v.s, H}}, {{v.k, 0, W, H}, {v.k, 0, W, H}}});
            break;
        case 13:
            Pieces(f, {{{0, 0, v.s, H}, {0, 0, v.q, H}}, {{v.k, 0, W, H}, {v.hw, 0, W, H}}});
            break;
        case 14:
            UnrollFromLeft(f);
            break;
        case 15:
            UnrollFromRight(f);
            break;
        case 16:
            Pieces(f, {{{0, 0, X, H}, {0, 0, X, H}}, {{X, 0, W, H}, {X, 0, X + W / 20, H}}});
            break;
        case 17:
            Pieces(f, {{{W - X, 0, W, H}, {W - X, 0, W, H}},
                       {{0, 0, W - X, H}, {W - X - W / 20, 0, W - X, H}}});
            break;
        default:
            break;
    }
}

// 18..34: down the height.
void Vertical(TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, Y = f.Y;
    const int top = (H - Y) / 2, bottom = (H + Y) / 2;
    TRect& D = f.Dest;
    TRect& S = f.Src;
    switch (f.Style) {
        case 18:
            D.Top = H - Y;
            break;
        case 19:
            D.Bottom = Y;
            break;
        case 20:
            D.Top = H - Y, D.Bottom = 2 * H - Y;
            break;
        case 21:
            D.Top = Y - H, D.Bottom = Y;
            break;
        case 22:
            D.Bottom = S.Bottom = Y;
            break;
        case 23:
            D.Top = S.Top = H - Y;
            break;
        case 24:
            D.Bottom = 2 * H - Y, S.Bottom = Y;
            break;
        case 25:
            D.Top = Y - H, S.Top = H - Y;
            break;
        case 26:
            D.Top = Y - H, D.Bottom = 2 * H - Y, S.Top = top, S.Bottom = bottom;
            break;
        case 27:
            D.Top = top, D.Bottom = bottom;
            break;
        case 28:
            D.Top = S.Top = top, D.Bottom = S.Bottom = bottom;
            break;
        case 29:
            Pieces(f, {{{0, 0, W, v.yh + 1}, {0, 0, W, v.yh + 1}},
                       {{0, H - v.yh - 1, W, H}, {0, H - v.yh - 1, W, H}}});
            break;
        case 30:
            Pieces(f, {{{0, 0, W, v.yh + 1}, {0, 0, W, v.r}},
                       {{0, H - v.yh - 1, W, H}, {0, v.hh, W, H}}});
            break;
        case 31:
            UnrollFromTop(f);
            break;
        case 32:
            UnrollFromBottom(f);
            break;
        case 33:
            Pieces(f, {{{0, 0, W, Y}, {0, 0, W, Y}}, {{0, Y, W, H}, {0, Y, W, Y + H / 20}}});
            break;
        case 34:
            Pieces(f, {{{0, H - Y, W, H}, {0, H - Y, W, H}},
                       {{0, 0, W, H - Y}, {0, H - Y - H / 20, W, H - Y}}});
            break;
        default:
            break;
    }
}

// 35..53: corners and the centre.
void Corners(TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y;
    const TRect middle{v.hx, (H - Y) / 2, v.v, (H + Y) / 2};
    TRect& D = f.Dest;
    TRect& S = f.Src;
    switch (f.Style) {
        case 35:
            D.Left = W - X, D.Top = H - Y;
            break;
        case 36:
            D.Left = W - X, D.Bottom = Y;
            break;
        case 37:
            D.Right = X, D.Bottom = Y;
            break;
        case 38:
            D.Right = X, D.Top = H - Y;
            break;
        case 39:
            D = {W - X, H - Y, 2 * W - X, 2 * H - Y};
            break;
        case 40:
            D = {W - X, Y - H, 2 * W - X, Y};
            break;
        case 41:
            D = {X - W, Y - H, X, Y};
            break;
        case 42:
            D = {X - W, H - Y, X, 2 * H - Y};
            break;
        case 43:
            D = S = {0, 0, X, Y};
            break;
        case 44:
            D = S = {0, H - Y, X, H};
            break;
        case 45:
            D = S = {W - X, H - Y, W, H};
            break;
        case 46:
            D = S = {W - X, 0, W, Y};
            break;
        case 47:
            D = {0, 0, 2 * W - X, 2 * H - Y}, S = {0, 0, X, Y};
            break;
        case 48:
            D = {0, Y - H, 2 * W - X, H}, S = {0, H - Y, X, H};
            break;
        case 49:
            D = {X - W, Y - H, W, H}, S = {W - X, H - Y, W, H};
            break;
        case 50:
            D = {X - W, 0, W, 2 * H - Y}, S = {W - X, 0, W, Y};
            break;
        case 51:
            D = {X - W, Y - H, 2 * W - X, 2 * H - Y}, S = middle;
            break;
        case 52:
            D = middle;
            break;
        case 53:
            D = S = middle;
            break;
        default:
            break;
    }
}

// 54..57: the four quarters or sides at once.
void Quarters(TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, Y = f.Y;
    const int yh = v.yh;
    switch (f.Style) {
        case 54:
            Pieces(f, {{{0, 0, W, yh}, {0, 0, W, yh}},
                       {{0, H - yh, W, H}, {0, H - yh, W, H}},
                       {{0, 0, v.u, H}, {0, 0, v.u, H}},
                       {{v.o, 0, W, H}, {v.o, 0, W, H}}});
            break;
        case 55:
            Pieces(f, {{{0, 0, v.s, yh + 1}, {0, 0, v.s, yh + 1}},
                       {{0, H - yh - 1, v.s, H}, {0, H - yh - 1, v.s, H}},
                       {{v.k, H - yh - 1, W, H}, {v.k, H - yh - 1, W, H}},
                       {{v.k, 0, W, yh + 1}, {v.k, 0, W, yh + 1}}});
            break;
        case 56:
            Pieces(f, {{{0, 0, v.s, yh + 1}, {0, 0, v.q, v.r}},
                       {{0, H - yh, v.s, H}, {0, v.r, v.q, H}},
                       {{v.o, H - yh, W, H}, {v.q, v.r, W, H}},
                       {{v.o, 0, W, yh + 1}, {v.q, 0, W, v.r}}});
            break;
        case 57:
            Pieces(f, {{{-v.hx, 0, v.s, v.r}, {0, 0, v.q, v.r}},
                       {{v.hw - 1, (Y - H) / 2, W, yh + 1}, {v.hw - 1, 0, W, v.r}},
                       {{v.o, v.hh - 1, W + v.hx, H}, {v.q, v.hh - 1, W, H}},
                       {{0, H - yh, v.q, H + (H - Y) / 2}, {0, v.r, v.q, H}}});
            break;
        default:
            break;
    }
}

}  // namespace

void RectStyleFrame(TFrame& frame) {
    const TFrame::TValues v = frame.Values();
    if (frame.Style <= 17)
        Horizontal(frame, v);
    else if (frame.Style <= 34)
        Vertical(frame, v);
    else if (frame.Style <= 53)
        Corners(frame, v);
    else
        Quarters(frame, v);
}

}  // namespace pelwick
