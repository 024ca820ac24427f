#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/Geometry.h"
#include "gfx/Bitmap.h"
#include "gfx/RandomSequence.h"
#include "gfx/RectRegion.h"
#include "gfx/Region.h"
#include "gfx/RegionBuilders.h"

namespace pelwick {

// What the numbers of a fixed pattern stand for: one for each square cell, pixel, row or
// column. Each layout is drawn in one way, so the layout, the seed and the picture's size
// tell a pattern apart.
enum TPatternLayout { plNone, plSquareCells, plPixels, plRows, plColumns };

// The numbers a named effect draws by chance for a whole transition (which cells, pixels,
// rows or columns come first), drawn once when the transition's first frame needs them and
// kept for its other frames, laid out as the effect reads them.
struct TFixedPattern {
    bool Valid = false;
    std::uint32_t Seed = 0;
    TPatternLayout Layout = plNone;
    int W = 0, H = 0;
    std::vector<std::uint8_t> Bytes;
};

// One frame of a transition as a style's routine sees it. Screen holds the old snapshot on
// entry (or see Snapshot); the routine composes into it, or leaves rectangles or a region
// for the completion step that follows, which draws the snapshot and the new picture.
struct TFrame {
    TBitmap& Screen;
    const TBitmap& Picture;  // the new picture, of Screen's size, 24-bit
    int W, H;                // the picture's size
    int X, Y;                // the extents at this progress
    int P;                   // the progress, 1..99
    int BS;                  // the band step: the larger side times Step / 90
    // Fixed for one transition and different between transitions: styles that decide by
    // chance per cell seed their numbers with it, so the revealed part only grows.
    std::uint32_t Seed = 0;
    // Numbers for the patterns that change from frame to frame (ragged shreds, speckles);
    // the engine seeds it from Seed and P, so a frame can be composed again alike.
    TRandomSequence Random{};
    // Set when Screen does not hold the snapshot yet: the routine reads the old picture
    // from here (the cross-fade, which reads every old pixel anyway, saves the copy). A
    // routine that composes every pixel itself clears it; one that draws over the old picture
    // puts it on Screen first. Rectangles and regions leave it to the completion step, which
    // draws it only where the new picture does not go; from any other routine that leaves it
    // set, the engine draws it whole (a frame with nothing drawn shows the old picture).
    const TBitmap* Snapshot = nullptr;
    // Where the engine keeps a transition's fixed pattern; none for a frame composed alone.
    TFixedPattern* Pattern = nullptr;

    // Rectangle styles: Src of Picture is copied onto Dest of Screen, stretched where the
    // sizes differ and mirrored where Dest's right lies left of its left (or its bottom
    // above its top); first the extra pieces, in order, then Dest and Src.
    struct TPiece {
        TRect Dest, Src;
    };
    std::vector<TPiece> Pieces{};
    TRect Dest{0, 0, W, H};
    TRect Src{0, 0, W, H};
    // Region styles: Picture is drawn through it, or through Shape, the rectangles that
    // shapes of many pieces (bars, shreds, triangles, speckles) are kept as.
    std::optional<TRegion> Region{};
    std::optional<TRectRegion> Shape{};

    // Adds an extra piece of a rectangle style, copied before Dest and Src and repainted.
    void CopyPiece(const TRect& dest, const TRect& src) { Pieces.push_back(TPiece{dest, src}); }

    // The values the built-in styles' geometry is written in; "/" truncates toward zero.
    struct TValues {
        int hx;  // (W - X) / 2: the left edge of a band X wide centred across W
        int u;   // X / 2: the width of each of two bands at the sides that share X
        int s;   // u + 1: the right edge of the left one of those bands, a pixel wider
        int o;   // W - u: the left edge of the right one
        int k;   // o - 1: the left edge of the right one, a pixel wider
        int v;   // (W + X) / 2: the right edge of the band X wide centred across W
        int hw;  // W / 2: the middle column, where the right half begins
        int q;   // hw + 1: the right edge of the left half when it takes the middle column too
        int hh;  // H / 2: the middle row, where the bottom half begins
        int r;   // hh + 1: the bottom edge of the top half when it takes the middle row too
        int yh;  // Y / 2: the height of each of two bands at the top and bottom that share Y
    };
    TValues Values() const;
    TFrameExtents Extents() const { return TFrameExtents{W, H, X, Y, P}; }
};

// What a style leaves for the completion step of its frame. Every routine is called only
// between progress 0 and 100; the engine draws those ends itself.
enum TEffectKind {
    ekRects,   // Dest and Src, after the pieces: the copies of Src onto Dest
    ekRegion,  // Region or Shape: the whole picture drawn through it
    ekDrawn,   // nothing: a built-in style that composed the frame itself
    ekEffect,  // nothing: a named effect, which composes its frame itself too
};

// Where a style works along one axis of the picture: from its near edge (the left, or the
// top), from its far edge (the right, or the bottom), about its middle, from both edges at
// once, or not at all (the axis stays whole).
enum TEdge { edNone, edNear, edFar, edMiddle, edSides };

// How the new picture comes through a rectangle style's band, or how a push moves the old
// picture out of its way.
enum TMotion {
    moSqueeze,  // the whole picture squeezed into the band
    moSlide,    // the whole picture, unscaled, slid in behind the band's leading edge
    moReveal,   // the picture's own part under the band, in place
    moZoom,     // the picture's part under the band, blown up past the band's open sides
};

// Which way a style's blinds, random bars or zigzag band lie.
enum TOrientation { orHorizontal, orVertical };

// The corner ellipse of a curved reveal.
enum TCorner {
    cnWidthCircle,   // a circle twice the picture's width across
    cnHeightCircle,  // a circle twice the picture's height across
    cnEllipse,       // twice the picture's width by twice its height
};

// A style's own parameters, fixed in its row of the catalogue. The routine of a family reads
// those it needs, once per frame, and never asks which style it draws.
struct TStyleParams {
    TEdge X = edNone, Y = edNone;  // where the style works across the width, down the height
    TMotion Motion = moSqueeze;
    TOrientation Orientation = orHorizontal;
    int Reach = 1;  // how far the shape reaches, in extents (X across, Y down)
    TBarKind HBars = bkNone, VBars = bkNone;  // bars across the width, down the height
    bool Snap = false;  // a first-phase reach of the bars within BS of the edge takes the edge
    TShredKind HShreds = skNone, VShreds = skNone;  // ragged bands or speckles across, down
    TCorner Corner = cnEllipse;
    bool Inward = false;  // closing in toward the centre, rather than opening out from it
    bool Clockwise = false;
};

using TFrameProc = void (*)(TFrame& frame, const TStyleParams& params);

// A row of the style catalogue, in the order the catalogue lists them: what the style
// leaves for the completion step, the routine of its family, the parameters that make the
// routine draw this style, and the style's name. A row gives all four: every style is drawn.
struct TEffect {
    constexpr TEffect(TEffectKind kind, TFrameProc proc, TStyleParams params, const char* name)
        : Kind(kind), Proc(proc), Params(params), Name(name) {}

    TEffectKind Kind;
    TFrameProc Proc;
    TStyleParams Params;
    const char* Name;

    void Compose(TFrame& frame) const { Proc(frame, Params); }
};

// The catalogue of transition styles, numbered 1..172 as the Style property counts them.
class TEffectTable {
  public:
    static constexpr int First = 1;
    static constexpr int Last = 172;

    constexpr explicit TEffectTable(const std::array<TEffect, Last>& entries) : entries_(entries) {}
    // The entry of style 1..Last.
    constexpr const TEffect& operator[](int style) const { return entries_[style - First]; }
    static constexpr bool Contains(int style) { return style >= First && style <= Last; }

  private:
    std::array<TEffect, Last> entries_;
};

extern const TEffectTable EffectTable;

}  // namespace pelwick
