#include "gfx/RegionBuilders.h"

#include <algorithm>

namespace pelwick {

namespace {

// The bars, shreds and speckles are written across rows; the same shapes down columns are
// those with x and y exchanged. length is the size along the reach (W across rows), span
// the size across it (H).
struct TAxis {
    TComplexRegion& out;
    bool down;  // columns: x and y exchanged
    int length, span;

    void Add(int a0, int b0, int a1, int b1) const {
        if (down)
            out.AddRect(b0, a0, b1, a1);
        else
            out.AddRect(a0, b0, a1, b1);
    }
};

TAxis Across(TComplexRegion& out, const TFrameExtents& e) {
    return TAxis{out, false, e.W, e.H};
}
TAxis Down(TComplexRegion& out, const TFrameExtents& e) {
    return TAxis{out, true, e.H, e.W};
}

void Bars(const TAxis& axis, int A, TBarKind kind, int snap) {
    const int L = axis.length, S = axis.span;
    if (A <= L) {
        if (L - A < snap) A = L;
        for (int i = 0; i < S + 5; i += 10) {
            if (kind == bkFromFar || kind == bkFarThenNear || kind == bkFromBoth)
                axis.Add(L - A, i, L, i + 5);
            if (kind == bkFromNear || kind == bkNearThenFar) axis.Add(0, i, A, i + 5);
            if (kind == bkFromBoth) axis.Add(0, i + 5, A, i + 10);
        }
        return;
    }
    for (int i = 5; i < S + 5; i += 10) {
        axis.Add(0, i - 5, L, i);
        if (kind == bkFromFar || kind == bkNearThenFar) axis.Add(2 * L - A, i, L, i + 5);
        if (kind == bkFromNear || kind == bkFarThenNear) axis.Add(0, i, A - L, i + 5);
    }
}

void Shred(const TAxis& axis, int A, TShredKind kind, TRandomSequence& random) {
    const int L = axis.length, S = axis.span, half = L / 2;
    const int c = A < L ? L / 7 : 0;
    // The two numbers of one ragged end are drawn in this order: the first added, the
    // second taken away.
    auto ragged = [&] {
        const int first = random.Next(c);
        return first - random.Next(c);
    };
    for (int t = 0; t < S; t += 5) {
        const int b = t + 5 + S % 5;
        switch (kind) {
            case skFromFar:
                axis.Add(L - A + ragged(), t, L, b);
                break;
            case skFromNear:
                axis.Add(0, t, A + ragged(), b);
                break;
            case skOutFromMiddle:
                axis.Add((L - A + ragged()) / 2, t, half, b);
                axis.Add(half, t, (L + A + ragged()) / 2, b);
                break;
            case skInToMiddle:
                axis.Add(L - (A + ragged()) / 2, t, L, b);
                axis.Add(0, t, (A + ragged()) / 2, b);
                break;
            default:
                return;
        }
    }
}

void Speckle(const TAxis& axis, int reach, TShredKind kind, TRandomSequence& random) {
    if (kind != skFromFar && kind != skFromNear) return;
    const int L = axis.length, S = axis.span;
    const int e = reach < L ? L / 10 : 0;
    const int f = std::max(e / 20, 2);
    const int n = e / f;
    const int near = ((3 * e) / f) / 4;
    for (int t = 0; t < S; t += f / 2) {
        // From the far edge the solid part stands there and grows back; from the near one it
        // grows from 0.
        if (kind == skFromFar)
            axis.Add(L - reach, t, L, t + f);
        else
            axis.Add(0, t, reach, t + f);
        for (int i = n; i >= 1; --i) {
            const int g = i <= near ? 1 : 0;
            if (random.Next(i) > g) continue;
            if (kind == skFromFar)
                axis.Add(L - reach - f * i, t, L - reach - f * i + f, t + f);
            else
                axis.Add(reach + f * i - f, t, reach + f * i, t + f);
        }
    }
}

}  // namespace

TRegion RoundRectRegion(int x1, int y1, int x2, int y2, int ew, int eh) {
    return TRegion::RoundRect(TRect{x1, y1, x2, y2}, ew, eh);
}

void BarsRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, TBarKind hKind,
                TBarKind vKind, int snap) {
    if (hKind != bkNone) Bars(Across(out, e), A, hKind, snap);
    if (vKind != bkNone) Bars(Down(out, e), B, vKind, snap);
}

void ShredRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, TShredKind hKind,
                 TShredKind vKind, TRandomSequence& random) {
    if (hKind != skNone) Shred(Across(out, e), A, hKind, random);
    if (vKind != skNone) Shred(Down(out, e), B, vKind, random);
}

void SpeckleRegion(TComplexRegion& out, const TFrameExtents& e, TShredKind hKind, TShredKind vKind,
                   TRandomSequence& random) {
    if (hKind != skNone) Speckle(Across(out, e), e.X, hKind, random);
    if (vKind != skNone) Speckle(Down(out, e), e.Y, vKind, random);
}

void SquaresRegion(TComplexRegion& out, const TFrameExtents& e, TRandomSequence& random) {
    const int d = std::max(e.P / 10 + std::min(e.W, e.H) / 50, 1);
    for (int x = 0; x < e.W; x += d)
        for (int y = 0; y < e.H; y += d)
            if (random.Next(100) < e.P) out.AddRect(x - d, y - d, x + d, y + d);
}

}  // namespace pelwick
