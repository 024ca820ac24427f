// The named effects 128..172: their geometry where it is easy to get wrong, the fixed random
// patterns and the pixel arithmetic.
#include <gtest/gtest.h>

#include "SlideshowTestSupport.h"
#include "app/Process.h"
#include "gfx/Rounding.h"
#include "slideshow/EffectsSupport.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {
namespace {

using test::Solid;

constexpr TColor OldColor = clRed, NewColor = clBlue;

// One frame of an effect composed alone: Screen holds the old picture, as the engine leaves
// it when a hook runs before the frame.
struct TEffectFrame {
    TBitmap screen, picture;
    TEffectFrame(int style, int w, int h, int p, std::uint32_t seed = 1, TBitmap old = TBitmap(),
                 TBitmap now = TBitmap())
        : screen(old.Empty() ? Solid(w, h, OldColor) : old),
          picture(now.Empty() ? Solid(w, h, NewColor) : now) {
        const auto [X, Y] = test::ProgressXY(w, h, p);
        screen.Canvas().StretchMode = smReplicate;  // as the engine sets it
        TFrame frame{screen, picture, w, h, X, Y, p, 0};
        frame.Seed = seed;
        EffectTable[style].Compose(frame);
    }
    bool New(int x, int y) const { return screen.Pixel(x, y) == NewColor; }
    int NewCount() const {
        int n = 0;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x)
                n += New(x, y);
        return n;
    }
};

TEST(Effects, RandomSquaresKeepTheirCellsAndDifferByTransition) {
    const TEffectFrame early(128, 400, 300, 30, 7), late(128, 400, 300, 60, 7),
        other(128, 400, 300, 60, 8);
    int differ = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            // Cells of 14 pixels: a pixel is new exactly when its cell's corner is.
            ASSERT_EQ(early.New(x, y), early.New(x - x % 14, y - y % 14)) << x << "," << y;
            ASSERT_TRUE(!early.New(x, y) || late.New(x, y)) << x << "," << y;
            differ += late.New(x, y) != other.New(x, y);
        }
    EXPECT_GT(late.NewCount(), early.NewCount());
    EXPECT_GT(differ, 0);
}

TEST(Effects, BlindsAndTheirEmptyCases) {
    // 137 on 400 wide at 50: n = 11, a = 6: slats 12 wide around 11, 33, 55, ...
    const TEffectFrame blinds(137, 400, 300, 50);
    for (int x = 0; x < 400; ++x)
        ASSERT_EQ(blinds.New(x, 150), x % 22 >= 5 && x % 22 < 17) << x;
    // Strips 0 wide (139 at 1), no step (141 with Y = 0) and bands of no size (146 on a
    // picture less than 20 high) draw nothing.
    struct {
        int style, w, h, p;
    } const nothing[] = {
        {139, 400, 300, 1}, {141, 400, 1, 10}, {146, 400, 19, 50}, {148, 19, 400, 50}};
    for (const auto& row : nothing)
        EXPECT_EQ(TEffectFrame(row.style, row.w, row.h, row.p).NewCount(), 0) << row.style;
}

// Points inside and outside the shapes, on 400 x 300 (X = 4P, Y = 3P).
TEST(Effects, ShapesCoverWhatTheirPointsSay) {
    struct {
        int style, p, x, y;
        bool isNew;
    } const rows[] = {
        {129, 25, 99, 0, true},     {129, 25, 100, 0, false},   {130, 25, 299, 0, false},
        {130, 25, 300, 0, true},    {133, 50, 0, 149, true},    {134, 50, 0, 150, true},
        {134, 50, 0, 149, false},   {143, 50, 15, 15, true},    {143, 50, 0, 0, false},
        {144, 25, 300, 50, true},   {144, 25, 100, 50, false},  {145, 25, 100, 50, true},
        {145, 25, 300, 50, false},  {150, 50, 200, 150, true},  {150, 50, 2, 2, false},
        {153, 50, 31, 31, true},    {153, 50, 0, 0, false},     {154, 25, 10, 150, true},
        {154, 25, 190, 150, true},  {154, 25, 210, 150, false}, {154, 25, 10, 10, false},
        {157, 25, 200, 290, true},  {157, 25, 200, 10, false},  {158, 25, 390, 150, true},
        {158, 25, 200, 150, false}, {160, 50, 2, 150, true},    {160, 50, 200, 150, false},
        {161, 50, 200, 150, true},  {161, 50, 2, 150, false},   {162, 50, 200, 150, true},
        {162, 50, 200, 5, false},   {163, 50, 200, 150, true},  {163, 50, 5, 150, false},
        {165, 50, 200, 150, true},  {165, 50, 2, 2, false},     {166, 50, 2, 2, true},
        {166, 50, 200, 150, false}, {167, 50, 2, 150, true},    {167, 50, 200, 150, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TEffectFrame(row.style, 400, 300, row.p).New(row.x, row.y), row.isNew)
            << row.style << " at " << row.p << ": " << row.x << "," << row.y;
}

// The pushes move the old picture's own pixels and bring in the new picture's edge; the
// squeezes fit all of the old picture into what is left.
TEST(Effects, PushesMoveThePicturesAndSqueezesFitTheOldOne) {
    const TBitmap old = test::Pattern(40, 30), now = test::Pattern(40, 30);
    TBitmap shifted = now;  // to tell the two apart
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            shifted.SetPixel(x, y, now.Pixel(x, y) ^ 0x808080);
    const TEffectFrame right(129, 40, 30, 25, 1, old, shifted),
        squeeze(131, 40, 30, 50, 1, old, shifted);
    EXPECT_EQ(right.screen.Pixel(0, 3), shifted.Pixel(30, 3));
    EXPECT_EQ(right.screen.Pixel(10, 3), old.Pixel(0, 3));
    EXPECT_EQ(right.screen.Pixel(39, 3), old.Pixel(29, 3));
    EXPECT_EQ(squeeze.screen.Pixel(19, 3), shifted.Pixel(39, 3));
    // Two old columns to one: column 20 + i shows column 2i or 2i + 1.
    for (int i = 0; i < 20; ++i) {
        const TColor c = squeeze.screen.Pixel(20 + i, 3);
        EXPECT_TRUE(c == old.Pixel(2 * i, 3) || c == old.Pixel(2 * i + 1, 3)) << i;
    }
}

TEST(Effects, BlendRectMovesEachChannelByTheFlooredShare) {
    struct {
        int s, p, amount, expected;
    } const rows[] = {
        {200, 0, 50, 100}, {1, 0, 50, 0},    {0, 255, 50, 127}, {10, 20, 0, 10},
        {10, 20, 100, 20}, {255, 0, 1, 252}, {3, 4, 99, 3},     {100, 50, 150, 50},
    };
    for (const auto& row : rows) {
        TBitmap screen = Solid(5, 3, RGB(row.s, row.s, row.s));
        const TBitmap picture = Solid(5, 3, RGB(row.p, row.p, row.p));
        BlendRect(screen, picture, row.amount, 3, -1, 9, 2);  // cut to (3, 0)-(5, 1)
        EXPECT_EQ(GetRValue(screen.Pixel(4, 0)), row.expected) << row.s << " " << row.amount;
        EXPECT_EQ(GetBValue(screen.Pixel(3, 0)), row.expected) << row.s << " " << row.amount;
        EXPECT_EQ(GetRValue(screen.Pixel(2, 0)), row.s);
        EXPECT_EQ(GetRValue(screen.Pixel(4, 1)), row.s);
    }
}

TEST(Effects, ChannelMixMovesOneChannelAfterTheOther) {
    const TBitmap old = Solid(9, 4, RGB(200, 100, 40)), now = Solid(9, 4, RGB(0, 220, 140));
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        const std::array<int, 3> order = ChannelOrder(seed);
        ASSERT_NE(order[0], order[1]);
        const TEffectFrame mixed(172, 9, 4, 50, seed, old, now);
        // Channel a new, b moved by d = 256 * 17 / 33 = 132, c old.
        const std::uint8_t* o = old.ScanLine(0);
        const std::uint8_t* n = now.ScanLine(0);
        const std::uint8_t* m = mixed.screen.ScanLine(3) + 3 * 8;
        const int a = order[0], b = order[1], c = order[2];
        EXPECT_EQ(m[a], n[a]) << seed;
        EXPECT_EQ(m[b], o[b] + ((132 * (n[b] - o[b])) >> 8)) << seed;
        EXPECT_EQ(m[c], o[c]) << seed;
    }
}

// Dissolve and the random bars grow only, by pixel, row or column, and by the seed.
TEST(Effects, DissolveAndRandomBarsKeepTheirPattern) {
    for (int style : {169, 170, 171}) {
        const TEffectFrame early(style, 61, 37, 30, 5), late(style, 61, 37, 70, 5);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 61; ++x) {
                ASSERT_TRUE(!early.New(x, y) || late.New(x, y)) << style;
                const bool whole = style == 170   ? early.New(0, y)
                                   : style == 171 ? early.New(x, 0)
                                                  : early.New(x, y);
                ASSERT_EQ(early.New(x, y), whole) << style << " " << x << "," << y;
            }
        EXPECT_GT(early.NewCount(), 0) << style;
        EXPECT_LT(early.NewCount(), late.NewCount()) << style;
        EXPECT_LT(late.NewCount(), 61 * 37) << style;
    }
}

// The slideshow's random order draws from the process's generator; the effects that decide
// by chance leave its sequence as it would be without them.
TEST(Effects, ThePatternsLeaveTheProcessGeneratorAlone) {
    RandSeed(1234);
    std::vector<int> undisturbed;
    for (int i = 0; i < 6; ++i)
        undisturbed.push_back(Random(1000));
    RandSeed(1234);
    TGlimrascreen control;
    control.SetAutoSize(false);
    control.resize(31, 17);
    control.SetThreaded(false);
    control.SetManual(true);
    std::vector<int> drawn;
    for (int style : {128, 169, 170, 171, 172, 150}) {
        drawn.push_back(Random(1000));
        if (control.Running()) control.StopTransition();
        control.SetStyle(style);
        control.Picture().SetBitmap(test::Pattern(31, 17));
        control.StartTransition();
        for (int p : {20, 40, 60})
            control.SetProgress(p);
    }
    EXPECT_EQ(drawn, undisturbed);
}

}  // namespace
}  // namespace pelwick
