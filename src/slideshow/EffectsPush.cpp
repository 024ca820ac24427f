// The pushes and squeezes: the old picture moves (or is squeezed) out of the way
// while the new one comes in from the other side. Between them the two copies cover the
// whole picture, so every pixel is written once.
#include "slideshow/EffectsSupport.h"
#include "slideshow/Styles.h"

namespace pelwick {

void PushFrame(TFrame& frame, const TStyleParams& params) {
    // Along the axis from the edge the new picture comes in at: the new picture's far part
    // fills the extent; the old picture, slid on or squeezed whole, fills the rest.
    const TAlong a(frame, params);
    const bool squeezed = params.Motion == moSqueeze;
    const TRect oldDest = a.Band(a.E, a.L), oldSrc = a.Band(0, squeezed ? a.L : a.L - a.E);
    const TRect newDest = a.Band(0, a.E), newSrc = a.Band(a.L - a.E, a.L);
    TCanvas& canvas = frame.Screen.Canvas();
    // The old part first: without a snapshot of its own it is read from Screen, before the
    // new part covers it.
    if (!IsRectEmpty(oldDest)) canvas.CopyRect(oldDest, OldPicture(frame), oldSrc);
    if (!IsRectEmpty(newDest)) canvas.CopyRect(newDest, frame.Picture, newSrc);
    frame.Snapshot = nullptr;
}

}  // namespace pelwick
