// Every transition style's frames, pinned by checksum: a change to the style code that moves
// one pixel of one frame fails here, with the style and size it moved in.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "SlideshowTestSupport.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {
namespace {

struct TSize {
    int W, H;
};
// Odd sizes, one wide and one tall: the longer side leads the progress, and halves round.
constexpr TSize Sizes[] = {{301, 217}, {97, 131}};
constexpr int Progresses[] = {1, 25, 50, 75, 99};
constexpr std::uint32_t Seed = 0x5EED1234u;

// FNV-1a over the frame's rows (their pixels only, never the padding).
std::uint64_t Checksum(const TBitmap& b, std::uint64_t h) {
    for (int y = 0; y < b.Height(); ++y) {
        const std::uint8_t* row = b.ScanLine(y);
        for (int i = 0; i < 3 * b.Width(); ++i)
            h = (h ^ row[i]) * 0x100000001B3ull;
    }
    return h;
}

// A second picture unlike test::Pattern in every channel, so that no frame can pass by
// showing the wrong one.
TBitmap Rings(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int d = (x - w / 3) * (x - w / 3) + (y - h / 2) * (y - h / 2);
            row[3 * x] = static_cast<std::uint8_t>(d / 7);
            row[3 * x + 1] = static_cast<std::uint8_t>(255 - x);
            row[3 * x + 2] = static_cast<std::uint8_t>(x ^ y);
        }
    }
    return b;
}

// The frames of style at every progress of Progresses on a control of the pictures' size,
// folded into one checksum.
std::uint64_t StyleChecksum(int style, TSize size) {
    TGlimrascreen c;
    c.SetAutoSize(false);
    c.SetColor(clBlack);
    c.resize(size.W, size.H);
    c.SetThreaded(false);
    c.SetCenter(true);
    test::ShowAtOnce(c, test::Pattern(size.W, size.H));
    c.SetStyle(style);
    c.SetManual(true);
    c.Picture().SetBitmap(Rings(size.W, size.H));
    c.StartTransition();
    c.SetTransitionSeed(Seed);
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (const int p : Progresses) {
        c.SetProgress(p);
        h = Checksum(c.ScreenBitmap(), h);
    }
    c.StopTransition();
    return h;
}

struct TRow {
    int Style;
    std::uint64_t Wide, Tall;  // the checksums at Sizes[0] and Sizes[1]
};

// Written from the frames as they were when the catalogue was made table-driven.
constexpr TRow Expected[] = {
#include "StyleChecksums.inc"
};

TEST(StyleChecksums, EveryStyleComposesTheFramesItAlwaysHas) {
    static_assert(std::size(Expected) == TEffectTable::Last);
    std::string moved;
    for (const TRow& row : Expected) {
        const std::uint64_t wide = StyleChecksum(row.Style, Sizes[0]);
        const std::uint64_t tall = StyleChecksum(row.Style, Sizes[1]);
        if (wide == row.Wide && tall == row.Tall) continue;
        char line[96];
        std::snprintf(line, sizeof line, "    {%d, 0x%016" PRIX64 "u, 0x%016" PRIX64 "u},\n",
                      row.Style, wide, tall);
        moved += line;
    }
    EXPECT_TRUE(moved.empty()) << "styles whose frames moved (their rows as they are now):\n"
                               << moved;
}

}  // namespace
}  // namespace pelwick
