#include "slideshow/EffectsSupport.h"

#include "gfx/Compose.h"
#include "gfx/RectRegion.h"

namespace pelwick {

void UseSnapshot(TFrame& f) {
    if (!f.Snapshot) return;
    f.Screen.Canvas().Draw(0, 0, *f.Snapshot);
    f.Snapshot = nullptr;
}

void ClipAndCopy(TFrame& f, const std::optional<TRegion>& region) {
    if (!region) return;
    if (f.Snapshot) {
        // Every pixel once, from whichever picture the region says.
        ComposeThroughRegion(f.Screen, *f.Snapshot, f.Picture, *region);
        f.Snapshot = nullptr;
        return;
    }
    TCanvas& canvas = f.Screen.Canvas();
    canvas.SetClipRegion(&*region);
    canvas.Draw(0, 0, f.Picture);
    canvas.SetClipRegion(nullptr);
}

void ClipAndCopy(TFrame& f, TComplexRegion& rects) {
    if (rects.Count() == 0) return;
    if (!f.Snapshot) return ClipAndCopy(f, rects.CreateRegion());
    ComposeThroughRects(f.Screen, *f.Snapshot, f.Picture, TRectRegion(rects.TakeRects()));
    f.Snapshot = nullptr;
}

void ClipAndCopy(TFrame& f, const TBandSource& bands) {
    if (!f.Snapshot) {
        const std::vector<TRect> rects = BandRects(bands);
        if (!rects.empty()) ClipAndCopy(f, TRectRegion(rects).Region());
        return;
    }
    ComposeThroughBands(f.Screen, *f.Snapshot, f.Picture, bands);
    f.Snapshot = nullptr;
}

const std::vector<std::uint8_t>& FixedPattern(TFrame& f, TFixedPattern& local,
                                              TPatternLayout layout, const TPatternFill& fill) {
    TFixedPattern& p = f.Pattern ? *f.Pattern : local;
    if (!p.Valid || p.Seed != f.Seed || p.Layout != layout || p.W != f.W || p.H != f.H) {
        p.Bytes.clear();
        TRandomSequence random(f.Seed);
        fill(random, p.Bytes);
        p.Valid = true;
        p.Seed = f.Seed;
        p.Layout = layout;
        p.W = f.W;
        p.H = f.H;
    }
    return p.Bytes;
}

}  // namespace pelwick
