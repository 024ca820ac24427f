// The pushes and squeezes, 129..136: the old picture moves (or is squeezed) out of the way
// while the new one comes in from the other side. Between them the two copies cover the
// whole picture, so every pixel is written once.
#include "slideshow/EffectsSupport.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

// Where the old picture goes and from where (the whole of it when squeezed), and where the
// new picture's part goes and from where.
struct TPush {
    TRect oldDest, oldSrc, newDest, newSrc;
};

TPush PushOf(const TFrame& f) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y;
    const TRect all{0, 0, W, H};
    switch (f.Style) {
        case 129:
            return {{X, 0, W, H}, {0, 0, W - X, H}, {0, 0, X, H}, {W - X, 0, W, H}};
        case 130:
            return {{0, 0, W - X, H}, {X, 0, W, H}, {W - X, 0, W, H}, {0, 0, X, H}};
        case 131:
            return {{X, 0, W, H}, all, {0, 0, X, H}, {W - X, 0, W, H}};
        case 132:
            return {{0, 0, W - X, H}, all, {W - X, 0, W, H}, {0, 0, X, H}};
        case 133:
            return {{0, Y, W, H}, {0, 0, W, H - Y}, {0, 0, W, Y}, {0, H - Y, W, H}};
        case 134:
            return {{0, 0, W, H - Y}, {0, Y, W, H}, {0, H - Y, W, H}, {0, 0, W, Y}};
        case 135:
            return {{0, Y, W, H}, all, {0, 0, W, Y}, {0, H - Y, W, H}};
        default:  // 136
            return {{0, 0, W, H - Y}, all, {0, H - Y, W, H}, {0, 0, W, Y}};
    }
}

}  // namespace

void PushEffectFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const TPush push = PushOf(frame);
    TCanvas& canvas = frame.Screen.Canvas();
    // The old part first: without a snapshot of its own it is read from Screen, before the
    // new part covers it.
    if (!IsRectEmpty(push.oldDest)) canvas.CopyRect(push.oldDest, OldPicture(frame), push.oldSrc);
    if (!IsRectEmpty(push.newDest)) canvas.CopyRect(push.newDest, frame.Picture, push.newSrc);
    frame.Snapshot = nullptr;
}

}  // namespace pelwick
