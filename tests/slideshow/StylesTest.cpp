// The transition styles as the control composes them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "SlideshowTestSupport.h"
#include "gfx/Rounding.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {
namespace {

using test::Solid;

constexpr TColor OldColor = clRed, NewColor = clBlue;

// A control as big as its pictures that shows an old picture and then composes one frame of
// a fresh transition by hand. Since the screen showed only the old picture before the frame,
// it shows the whole frame exactly when every pixel the frame changed was invalidated.
class TStage {
  public:
    TStage(int w, int h) {
        c_.SetAutoSize(false);
        c_.SetColor(clBlack);
        c_.resize(w, h);
        c_.SetThreaded(false);
        c_.SetCenter(true);
    }
    const TBitmap& Frame(int style, int p, const TBitmap& old, const TBitmap& now) {
        if (c_.Running()) c_.StopTransition();
        test::ShowAtOnce(c_, old);
        c_.SetStyle(style);
        c_.SetManual(true);
        c_.Picture().SetBitmap(now);
        c_.StartTransition();
        c_.SetProgress(p);
        return c_.ScreenBitmap();
    }
    // The frame of the running transition at p.
    const TBitmap& Step(int p) {
        c_.SetProgress(p);
        return c_.ScreenBitmap();
    }
    // Whether the screen shows the frame just composed.
    bool ShowsFrame() const { return test::ShowsAt(c_, c_.ScreenBitmap(), 0, 0); }
    TGlimrascreen& Control() { return c_; }

  private:
    TGlimrascreen c_;
};

// The values the styles are written in, computed here from their definitions.
struct TG {
    int W, H, X, Y, hx, u, s, o, k, v, hw, q, hh, r, yh;
    TG(int w, int h, int p) : W(w), H(h) {
        const TPoint progress = test::ProgressXY(w, h, p);
        X = progress.X, Y = progress.Y;
        hx = (W - X) / 2, u = X / 2, s = u + 1, o = W - u, k = o - 1, v = (W + X) / 2;
        hw = W / 2, q = hw + 1, hh = H / 2, r = hh + 1, yh = Y / 2;
    }
};

// One copy of a rectangle style: src of the new picture onto dest; mirrored across (1) or
// down (2) with the mirrored copy's destination pushed one pixel outward on both sides.
struct TCopy {
    TRect dest, src;
    int mirror = 0;
};
using TCopies = std::vector<TCopy>;

TCopy Same(const TRect& r) {
    return TCopy{r, r};
}

// Each style's copies, pieces first: one row per style.
TCopies Copies(int style, const TG& g) {
    const int W = g.W, H = g.H, X = g.X, Y = g.Y;
    const TRect F{0, 0, W, H};
    const int top = (H - Y) / 2, bottom = (H + Y) / 2;
    switch (style) {
        case 1:
            return {{{W - X, 0, W, H}, F}};
        case 2:
            return {{{0, 0, X, H}, F}};
        case 3:
            return {{{W - X, 0, 2 * W - X, H}, F}};
        case 4:
            return {{{X - W, 0, X, H}, F}};
        case 5:
            return {Same({0, 0, X, H})};
        case 6:
            return {Same({W - X, 0, W, H})};
        case 7:
            return {{{0, 0, 2 * W - X, H}, {0, 0, X, H}}};
        case 8:
            return {{{X - W, 0, W, H}, {W - X, 0, W, H}}};
        case 9:
            return {{{X - W, 0, 2 * W - X, H}, {g.hx, 0, g.v, H}}};
        case 10:
            return {{{g.hx, 0, g.v, H}, F}};
        case 11:
            return {Same({g.hx, 0, g.v, H})};
        case 12:
            return {Same({0, 0, g.s, H}), Same({g.k, 0, W, H})};
        case 13:
            return {{{0, 0, g.s, H}, {0, 0, g.q, H}}, {{g.k, 0, W, H}, {g.hw, 0, W, H}}};
        case 14: {
            const int e = X + (X < W / 5 ? X / 2 : W < X + W / 5 ? (W - X) / 2 : W / 10);
            return {{{X, 0, e, H}, {e, 0, 2 * e - X, H}, 1}, Same({0, 0, X, H})};
        }
        case 15: {
            const int Z = W - X, e = Z - (X < W / 5 ? X / 2 : Z < W / 5 ? Z / 2 : W / 10);
            return {{{e, 0, Z, H}, {2 * e - Z, 0, e, H}, 1}, Same({Z, 0, W, H})};
        }
        case 16:
            return {Same({0, 0, X, H}), {{X, 0, W, H}, {X, 0, X + W / 20, H}}};
        case 17:
            return {Same({W - X, 0, W, H}), {{0, 0, W - X, H}, {W - X - W / 20, 0, W - X, H}}};
        case 18:
            return {{{0, H - Y, W, H}, F}};
        case 19:
            return {{{0, 0, W, Y}, F}};
        case 20:
            return {{{0, H - Y, W, 2 * H - Y}, F}};
        case 21:
            return {{{0, Y - H, W, Y}, F}};
        case 22:
            return {Same({0, 0, W, Y})};
        case 23:
            return {Same({0, H - Y, W, H})};
        case 24:
            return {{{0, 0, W, 2 * H - Y}, {0, 0, W, Y}}};
        case 25:
            return {{{0, Y - H, W, H}, {0, H - Y, W, H}}};
        case 26:
            return {{{0, Y - H, W, 2 * H - Y}, {0, top, W, bottom}}};
        case 27:
            return {{{0, top, W, bottom}, F}};
        case 28:
            return {Same({0, top, W, bottom})};
        case 29:
            return {Same({0, 0, W, g.yh + 1}), Same({0, H - g.yh - 1, W, H})};
        case 30:
            return {{{0, 0, W, g.yh + 1}, {0, 0, W, g.r}},
                    {{0, H - g.yh - 1, W, H}, {0, g.hh, W, H}}};
        case 31: {
            const int e = Y + (Y < H / 5 ? Y / 2 : H < Y + H / 5 ? (H - Y) / 2 : H / 10);
            return {{{0, Y, W, e}, {0, e, W, 2 * e - Y}, 2}, Same({0, 0, W, Y})};
        }
        case 32: {
            const int Z = H - Y, e = Z - (Y < H / 5 ? Y / 2 : Z < H / 5 ? Z / 2 : H / 10);
            return {{{0, e, W, Z}, {0, 2 * e - Z, W, e}, 2}, Same({0, Z, W, H})};
        }
        case 33:
            return {Same({0, 0, W, Y}), {{0, Y, W, H}, {0, Y, W, Y + H / 20}}};
        case 34:
            return {Same({0, H - Y, W, H}), {{0, 0, W, H - Y}, {0, H - Y - H / 20, W, H - Y}}};
        case 35:
            return {{{W - X, H - Y, W, H}, F}};
        case 36:
            return {{{W - X, 0, W, Y}, F}};
        case 37:
            return {{{0, 0, X, Y}, F}};
        case 38:
            return {{{0, H - Y, X, H}, F}};
        case 39:
            return {{{W - X, H - Y, 2 * W - X, 2 * H - Y}, F}};
        case 40:
            return {{{W - X, Y - H, 2 * W - X, Y}, F}};
        case 41:
            return {{{X - W, Y - H, X, Y}, F}};
        case 42:
            return {{{X - W, H - Y, X, 2 * H - Y}, F}};
        case 43:
            return {Same({0, 0, X, Y})};
        case 44:
            return {Same({0, H - Y, X, H})};
        case 45:
            return {Same({W - X, H - Y, W, H})};
        case 46:
            return {Same({W - X, 0, W, Y})};
        case 47:
            return {{{0, 0, 2 * W - X, 2 * H - Y}, {0, 0, X, Y}}};
        case 48:
            return {{{0, Y - H, 2 * W - X, H}, {0, H - Y, X, H}}};
        case 49:
            return {{{X - W, Y - H, W, H}, {W - X, H - Y, W, H}}};
        case 50:
            return {{{X - W, 0, W, 2 * H - Y}, {W - X, 0, W, Y}}};
        case 51:
            return {{{X - W, Y - H, 2 * W - X, 2 * H - Y}, {g.hx, top, g.v, bottom}}};
        case 52:
            return {{{g.hx, top, g.v, bottom}, F}};
        case 53:
            return {Same({g.hx, top, g.v, bottom})};
        case 54:
            return {Same({0, 0, W, g.yh}), Same({0, H - g.yh, W, H}), Same({0, 0, g.u, H}),
                    Same({g.o, 0, W, H})};
        case 55:
            return {Same({0, 0, g.s, g.yh + 1}), Same({0, H - g.yh - 1, g.s, H}),
                    Same({g.k, H - g.yh - 1, W, H}), Same({g.k, 0, W, g.yh + 1})};
        case 56:
            return {{{0, 0, g.s, g.yh + 1}, {0, 0, g.q, g.r}},
                    {{0, H - g.yh, g.s, H}, {0, g.r, g.q, H}},
                    {{g.o, H - g.yh, W, H}, {g.q, g.r, W, H}},
                    {{g.o, 0, W, g.yh + 1}, {g.q, 0, W, g.r}}};
        case 57:
            return {{{-g.hx, 0, g.s, g.r}, {0, 0, g.q, g.r}},
                    {{g.hw - 1, (Y - H) / 2, W, g.yh + 1}, {g.hw - 1, 0, W, g.r}},
                    {{g.o, g.hh - 1, W + g.hx, H}, {g.q, g.hh - 1, W, H}},
                    {{0, H - g.yh, g.q, H + (H - Y) / 2}, {0, g.r, g.q, H}}};
        default:
            return {};
    }
}

TRect Normalized(const TRect& r) {
    return TRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                 std::max(r.Top, r.Bottom)};
}

// The pixels that show the new picture after the copies. An unscaled copy brings only the
// part of its source inside the picture; a stretched one fills its whole destination.
std::vector<bool> NewPixels(const TG& g, const TCopies& copies) {
    std::vector<bool> mask(static_cast<size_t>(g.W * g.H));
    const TRect bounds{0, 0, g.W, g.H};
    for (const TCopy& c : copies) {
        const TRect src = IntersectRect(c.src, bounds);
        if (IsRectEmpty(src)) continue;
        TRect area = c.dest;
        if (c.mirror == 1) area = {c.dest.Right + 1, c.dest.Top, c.dest.Left - 1, c.dest.Bottom};
        if (c.mirror == 2) area = {c.dest.Left, c.dest.Bottom + 1, c.dest.Right, c.dest.Top - 1};
        if (RectWidth(c.dest) == RectWidth(c.src) && RectHeight(c.dest) == RectHeight(c.src) &&
            !c.mirror)
            area = OffsetRect(src, c.dest.Left - c.src.Left, c.dest.Top - c.src.Top);
        else if (area.Left == area.Right || area.Top == area.Bottom)
            continue;
        area = IntersectRect(Normalized(area), bounds);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                mask[static_cast<size_t>(y * g.W + x)] = true;
    }
    return mask;
}

// The pixels of frame that differ from the expected new ones.
int Wrong(const TBitmap& frame, const std::vector<bool>& expected) {
    int wrong = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            wrong += (frame.Pixel(x, y) == NewColor) != expected[size_t(y * frame.Width() + x)];
    return wrong;
}

// Each progress from a fresh transition (everything the frame changed reaches the screen),
// and then going back from 99 in one transition (nothing of a later frame stays behind).
TEST(Styles, EveryRectangleStyleShowsTheNewPictureExactlyWhereItsRectanglesSay) {
    for (const auto& [w, h] : {std::pair{61, 37}, std::pair{37, 61}}) {
        const TBitmap old = Solid(w, h, OldColor), now = Solid(w, h, NewColor);
        TStage stage(w, h);
        for (int style = 1; style <= 57; ++style) {
            for (int p : {1, 50, 99}) {
                const TG g(w, h, p);
                EXPECT_EQ(Wrong(stage.Frame(style, p, old, now), NewPixels(g, Copies(style, g))), 0)
                    << "style " << style << " at " << p << " on " << w << "x" << h;
                EXPECT_TRUE(stage.ShowsFrame()) << "style " << style << " at " << p;
            }
            for (int p : {50, 1}) {
                const TG g(w, h, p);
                EXPECT_EQ(Wrong(stage.Step(p), NewPixels(g, Copies(style, g))), 0)
                    << "style " << style << " back at " << p << " on " << w << "x" << h;
            }
        }
    }
}

// A hook before the frame makes the engine copy the snapshot first and draw over it (the
// named effects then read the old picture from the frame itself); the frame is the same as
// the one composed without.
TEST(Styles, AHookBeforeTheFrameChangesNothingInIt) {
    const TBitmap old = test::Pattern(61, 37), now = test::Pattern(37, 61);
    TBitmap picture = Solid(61, 37, NewColor);
    picture.Canvas().CopyRect(TRect{0, 0, 61, 37}, now, now.BoundsRect());
    TStage stage(61, 37);
    for (int style = 1; style <= TEffectTable::Last; ++style)
        for (int p : {30, 70}) {
            const TBitmap plain = stage.Frame(style, p, old, picture);
            int hooked = 0;
            stage.Control().OnBeforeNewFrame = [&](TCustomGlimrascreen&, TBitmap&, TBitmap&) {
                ++hooked;
            };
            stage.Control().RenderFrame();
            stage.Control().OnBeforeNewFrame = nullptr;
            EXPECT_EQ(hooked, 1);
            EXPECT_TRUE(test::SamePixels(stage.Control().ScreenBitmap(), plain))
                << "style " << style << " at " << p;
        }
}

TEST(Styles, EdgeCasesOfTheRectangleStyles) {
    const TBitmap old = Solid(400, 300, OldColor);
    TStage stage(400, 300);
    // 1 at 25: X = 100, the whole new picture squeezed into (300, 0, 400, 300).
    TBitmap ramp(400, 300);  // red grows across, green down
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            ramp.SetPixel(x, y, RGB(x * 255 / 399, y * 255 / 299, 0));
    const TBitmap& squeezed = stage.Frame(1, 25, old, ramp);
    for (int y : {0, 150, 299}) {
        EXPECT_EQ(squeezed.Pixel(299, y), OldColor);
        EXPECT_EQ(GetGValue(squeezed.Pixel(300, y)), GetGValue(ramp.Pixel(0, y)));
        EXPECT_EQ(GetGValue(squeezed.Pixel(399, y)), GetGValue(ramp.Pixel(0, y)));
        // Four source columns to a column: 350 shows those around 202.
        EXPECT_LE(GetRValue(squeezed.Pixel(300, y)), 2);
        EXPECT_NEAR(GetRValue(squeezed.Pixel(350, y)), 129, 2);
        EXPECT_GE(GetRValue(squeezed.Pixel(399, y)), 252);
    }

    // 12 at 50: u = 100, s = 101, k = 299: 101 columns on either side.
    const TBitmap& sides = stage.Frame(12, 50, old, Solid(400, 300, NewColor));
    for (int x : {0, 100, 299, 399})
        EXPECT_EQ(sides.Pixel(x, 10), NewColor) << x;
    for (int x : {101, 200, 298})
        EXPECT_EQ(sides.Pixel(x, 10), OldColor) << x;
}

// Every style at every progress on pictures of a few pixels: nothing reads or writes outside
// a row (the sanitizers watch), the frame reaches the screen, and the ends are the pictures.
TEST(Styles, EveryStyleAtEveryProgressOnTinyPictures) {
    for (const auto& [w, h] : {std::pair{7, 5}, std::pair{5, 7}, std::pair{1, 1}}) {
        const TBitmap old = Solid(w, h, OldColor), now = test::Pattern(w, h);
        TStage stage(w, h);
        for (int style = 0; style <= TEffectTable::Last; ++style) {
            for (int p = 0; p <= 100; ++p) {
                const TBitmap& frame = stage.Frame(style, p, old, now);
                ASSERT_EQ(frame.Width(), w);
                ASSERT_TRUE(stage.ShowsFrame()) << style << " at " << p;
            }
            EXPECT_TRUE(test::SamePixels(stage.Frame(style, 100, old, now), now)) << style;
            if (style != StyleCustom) {  // which jumps to the end at once
                EXPECT_TRUE(test::SamePixels(stage.Frame(style, 0, old, now), old)) << style;
            }
        }
    }
}

}  // namespace
}  // namespace pelwick
