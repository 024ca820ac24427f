// The region styles' shapes and the pivots, from their routines called directly.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "SlideshowTestSupport.h"
#include "gfx/Rounding.h"
#include "slideshow/Effects.h"

namespace pelwick {
namespace {

// A style's frame as the engine builds it, the old picture black.
struct TDirect {
    TBitmap screen, picture;
    TFrame frame;
    TDirect(int w, int h, int style, int p, int bs = 0, std::uint64_t seed = 1)
        : screen(w, h), picture(test::Solid(w, h, clBlue)), frame{screen, picture, w, h,
                                                                  0,      0,       p, bs} {
        if (h > w) {
            frame.Y = MulDiv(h, p, 100);
            frame.X = MulDiv(frame.Y, w, h);
        } else {
            frame.X = MulDiv(w, p, 100);
            frame.Y = MulDiv(frame.X, h, w);
        }
        frame.Random.Seed(seed);
        EffectTable[style].Compose(frame);
        region = frame.Shape ? frame.Shape->Region() : frame.Region.value_or(TRegion());
    }
    TRegion region;
    bool New(int x, int y) const { return region.Contains(x, y); }
    int NewCount() const {
        int n = 0;
        for (int y = 0; y < frame.H; ++y)
            for (int x = 0; x < frame.W; ++x)
                n += New(x, y);
        return n;
    }
};

TEST(StylesRegion, BarsFromTheRightInBothPhases) {
    // 400 x 300 at 25 with BS = 0: A = 200, the bars (200, 0, 400, 5), (200, 10, 400, 15), ...
    const TDirect quarter(400, 300, 60, 25);
    for (int y : {0, 4, 10, 14, 290, 294})
        EXPECT_TRUE(quarter.New(200, y) && quarter.New(399, y) && !quarter.New(199, y)) << y;
    for (int y : {5, 9, 15, 295, 299})
        EXPECT_FALSE(quarter.New(399, y)) << y;
    // At 75, A = 600: the first phase's rows are full, the others revealed from 200 to 400.
    const TDirect most(400, 300, 60, 75);
    for (int y : {0, 4, 290, 294})
        EXPECT_TRUE(most.New(0, y) && most.New(399, y)) << y;
    for (int y : {5, 9, 295, 299})
        EXPECT_TRUE(most.New(200, y) && most.New(399, y) && !most.New(199, y)) << y;
}

// Criss-crossing bars from two opposite corners show where both have reached.
TEST(StylesRegion, CrossedBarsAreTheIntersectionOfBothCorners) {
    for (int p : {20, 45, 70}) {
        const TDirect both(90, 60, 99, p, 5), fromBottomRight(90, 60, 86, p, 5),
            fromTopLeft(90, 60, 89, p, 5);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 90; ++x)
                ASSERT_EQ(both.New(x, y), fromBottomRight.New(x, y) && fromTopLeft.New(x, y))
                    << x << "," << y << " at " << p;
    }
}

// 81 and 82 are 80 mirrored; 83's corner ellipse is as high as it is wide.
TEST(StylesRegion, TheBottomRightCurveHasACornerOfItsOwn) {
    const int W = 160, H = 90;
    for (int p : {30, 60}) {
        const TDirect a(W, H, 80, p), b(W, H, 81, p), c(W, H, 82, p), d(W, H, 83, p);
        int differs = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                ASSERT_EQ(a.New(x, y), b.New(W - 1 - x, y)) << x << "," << y;
                ASSERT_EQ(a.New(x, y), c.New(x, H - 1 - y)) << x << "," << y;
                differs += a.New(x, y) != d.New(W - 1 - x, H - 1 - y);
            }
        EXPECT_GT(differs, 20) << p;
    }
}

// The ragged and speckled styles with fixed numbers: the solid part is new, nothing is new
// beyond the ragged zone, and the new share grows with the progress.
TEST(StylesRegion, RaggedAndSpeckledEdgesStayInTheirZones) {
    const int W = 120, H = 80;
    struct TRow {
        int style;
        // The rectangles surely new and surely old at extents X, Y.
        std::function<TRect(int X, int Y)> solid, old;
    };
    const int cw = W / 7, ch = H / 7;  // shreds' ragged reach
    const int fw = std::max(W / 10 / 20, 2), fh = std::max(H / 10 / 20, 2);
    const int zw = fw * (W / 10 / fw), zh = fh * (H / 10 / fh);  // speckles' zone
    const TRow rows[] = {
        {65,
         [&](int X, int) {
             return TRect{W - X + cw - 1, 0, W, H};
         },
         [&](int X, int) {
             return TRect{0, 0, W - X - cw + 1, H};
         }},
        {77,
         [&](int, int Y) {
             return TRect{0, 0, W, Y - ch + 1};
         },
         [&](int, int Y) {
             return TRect{0, Y + ch - 1, W, H};
         }},
        {67,
         [&](int X, int) {
             return TRect{(W - X + cw) / 2, 0, (W + X - cw) / 2, H};
         },
         [&](int X, int) {
             return TRect{0, 0, (W - X - cw) / 2, H};
         }},
        {123,
         [&](int X, int) {
             return TRect{W - X, 0, W, H};
         },
         [&](int X, int) {
             return TRect{0, 0, W - X - zw, H};
         }},
        {126,
         [&](int, int Y) {
             return TRect{0, 0, W, Y};
         },
         [&](int, int Y) {
             return TRect{0, Y + zh, W, H};
         }},
        {127, [](int, int) { return TRect{}; }, [](int, int) { return TRect{}; }},
        {85, [](int, int) { return TRect{}; },
         [&](int, int) {
             return TRect{W / 2, H / 2, W / 2 + 1, H / 2 + 1};
         }},
    };
    for (const TRow& row : rows)
        for (std::uint64_t seed : {1, 2, 3}) {
            int share = 0, first = -1;
            for (int p : {10, 50, 90}) {
                const TDirect d(W, H, row.style, p, 0, seed);
                const TRect solid =
                    IntersectRect(row.solid(d.frame.X, d.frame.Y), TRect{0, 0, W, H});
                const TRect old = IntersectRect(row.old(d.frame.X, d.frame.Y), TRect{0, 0, W, H});
                auto in = [](const TRect& r, int x, int y) {
                    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
                };
                for (int y = 0; y < H; ++y)
                    for (int x = 0; x < W; ++x) {
                        ASSERT_TRUE(!in(solid, x, y) || d.New(x, y))
                            << row.style << " at " << p << ": " << x << "," << y;
                        ASSERT_TRUE(!in(old, x, y) || !d.New(x, y))
                            << row.style << " at " << p << ": " << x << "," << y;
                    }
                EXPECT_GE(d.NewCount(), share) << row.style << " at " << p;
                share = d.NewCount();
                if (first < 0) first = share;
            }
            EXPECT_GT(share, first) << row.style;
        }
}

// The pivots against the formula, pixel by pixel: each new pixel knows where it came from.
TEST(StylesRegion, PivotsTurnEveryPixelAsTheFormulaRoundsIt) {
    for (const auto& [w, h] : {std::pair{61, 37}, std::pair{37, 61}, std::pair{9, 1}}) {
        TBitmap picture(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.SetPixel(x, y, RGB(x, y, 200));
        const std::pair<int, int> pivots[] = {{-1, -1}, {-1, h}, {w, -1}, {w, h}};
        for (int style = 119; style <= 122; ++style)
            for (int p : {1, 13, 50, 64, 99}) {
                TBitmap screen(w, h);
                TFrame frame{screen, picture, w, h, 0, 0, p, 0};
                EffectTable[style].Compose(frame);
                const auto [px, py] = pivots[style - 119];
                const double a = (100 - p) * std::numbers::pi / 200;
                int wrong = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int sx = px + Round((x - px) * std::cos(a) - (y - py) * std::sin(a));
                        const int sy = py + Round((x - px) * std::sin(a) + (y - py) * std::cos(a));
                        const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
                        wrong += screen.Pixel(x, y) != (inside ? RGB(sx, sy, 200) : clBlack);
                    }
                EXPECT_EQ(wrong, 0) << style << " at " << p << " on " << w << "x" << h;
            }
    }
}

// At 99 the picture is turned by 0.9 degrees about the top-left corner: the old picture
// shows only in the thin wedges it uncovers along the left and the bottom edge, widest
// towards the bottom-left and the bottom-right corners.
TEST(StylesRegion, PivotFromTheTopLeftAlmostDone) {
    TBitmap screen = test::Solid(400, 300, clRed);
    const TBitmap picture = test::Solid(400, 300, clBlue);
    TFrame frame{screen, picture, 400, 300, 396, 297, 99, 0};
    EffectTable[119].Compose(frame);
    EXPECT_EQ(screen.Pixel(0, 0), clBlue);
    EXPECT_EQ(screen.Pixel(399, 0), clBlue);
    EXPECT_EQ(screen.Pixel(0, 299), clRed);
    EXPECT_EQ(screen.Pixel(399, 299), clRed);
    int old = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (screen.Pixel(x, y) == clRed) {
                ++old;
                // tan 0.9 degrees is 0.0157
                EXPECT_TRUE(x <= (y + 1) * 0.0158 + 1 || 299 - y <= (x + 1) * 0.0158 + 1)
                    << x << "," << y;
            }
    EXPECT_GT(old, 1500);
}

}  // namespace
}  // namespace pelwick
