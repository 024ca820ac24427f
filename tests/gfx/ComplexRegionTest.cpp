#include "gfx/ComplexRegion.h"

#include <gtest/gtest.h>

#include <numbers>

#include "gfx/RandomSequence.h"
#include "gfx/RegionBuilders.h"

namespace pelwick {
namespace {

TEST(ComplexRegion, GrowsByFiveHundredAndKeepsItsBounds) {
    TComplexRegion rects;
    EXPECT_FALSE(rects.CreateRegion().has_value());
    EXPECT_EQ(rects.Bounds(), (TRect{2147483647, 2147483647, -2147483647, -2147483647}));
    rects.AddRect(3, -4, 5, 6);
    EXPECT_EQ(rects.Capacity(), 500);
    for (int i = 0; i < 500; ++i)
        rects.AddRect(i, 0, i + 1, 1);
    EXPECT_EQ(rects.Count(), 501);
    EXPECT_EQ(rects.Capacity(), 1000);
    EXPECT_EQ(rects.Bounds(), (TRect{0, -4, 500, 6}));
    rects.Clear();
    EXPECT_EQ(rects.Count(), 0);
    EXPECT_EQ(rects.Capacity(), 0);
    EXPECT_FALSE(rects.CreateRegion().has_value());
    // Only empty rectangles: a region, but an empty one.
    rects.AddRect(5, 5, 5, 9);
    ASSERT_TRUE(rects.CreateRegion().has_value());
    EXPECT_TRUE(rects.CreateRegion()->Empty());
}

// Overlapping, touching, nested and empty rectangles in one list: the same region as one
// union after another, pixel for pixel and in its stored form; and the intersection of two
// lists the same as that of their regions.
TEST(ComplexRegion, OneCallMakesTheUnionOfOverlappingRectangles) {
    TRandomSequence random(11);
    for (int round = 0; round < 40; ++round) {
        TComplexRegion rects;
        TRegion united;
        const int n = 1 + random.Next(60);
        for (int i = 0; i < n; ++i) {
            const int l = random.Next(40) - 5, t = random.Next(30) - 5;
            TRect r{l, t, l + random.Next(15), t + random.Next(12)};
            // Many share their top and bottom with another, as bars and pixel rows do.
            if (i > 0 && random.Next(2) == 0)
                r.Top = rects.Rects().back().Top, r.Bottom = rects.Rects().back().Bottom;
            rects.AddRect(r);
            united = united.United(TRegion::Rect(r));
        }
        const TRegion made = rects.CreateRegion().value();
        ASSERT_EQ(made, united) << "round " << round;
        TComplexRegion others;
        const int m = 1 + random.Next(40);
        for (int i = 0; i < m; ++i) {
            const int l = random.Next(40) - 5, t = random.Next(30) - 5;
            others.AddRect(l, t, l + random.Next(15), t + random.Next(12));
        }
        const TRegion both = TRegion::IntersectionOfRects(rects.Rects(), others.Rects());
        ASSERT_EQ(both, made.Intersected(others.CreateRegion().value())) << "round " << round;
        for (int y = -6; y < 45; ++y)
            for (int x = -6; x < 55; ++x)
                ASSERT_EQ(made.Contains(x, y), united.Contains(x, y)) << x << "," << y;
    }
}

// Whether the centre of pixel (x, y) lies inside the polygon by the winding rule, a centre
// on an edge counting for the pixel right of it: the crossings at or left of the centre,
// summed by direction.
bool CentreInside(const std::vector<TPoint>& poly, int x, int y) {
    int winding = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        TPoint a = poly[i], b = poly[(i + 1) % poly.size()];
        int direction = 1;
        if (a.Y > b.Y) std::swap(a, b), direction = -1;
        if (!(a.Y <= y && y < b.Y)) continue;
        // crossing x at y + 1/2 <= x + 1/2, in integers
        const long long dy = b.Y - a.Y,
                        lhs = 2LL * a.X * dy + (2LL * y + 1 - 2LL * a.Y) * (b.X - a.X);
        if (lhs <= (2LL * x + 1) * dy) winding += direction;
    }
    return winding != 0;
}

TEST(ComplexRegion, PolygonsTakeThePixelsWhoseCentresTheyWind) {
    TRandomSequence random(5);
    std::vector<std::vector<TPoint>> polygons{
        {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}},  // a star: its centre wound twice
        {{0, 0}, {2, 1}, {0, 2}},                          // edges through pixel centres
        {{0, 0}, {10, 0}, {0, 10}}};
    for (int i = 0; i < 20; ++i) {
        std::vector<TPoint> p;
        for (int k = 0; k < 3 + random.Next(6); ++k)
            p.push_back({random.Next(60) - 10, random.Next(50) - 10});
        polygons.push_back(p);
    }
    for (const auto& poly : polygons) {
        const TRegion region = PolygonRegion(poly);
        for (int y = -12; y < 95; ++y)
            for (int x = -12; x < 100; ++x)
                ASSERT_EQ(region.Contains(x, y), CentreInside(poly, x, y)) << x << "," << y;
    }
    EXPECT_TRUE(PolygonRegion(polygons[0]).Contains(50, 45));
    EXPECT_FALSE(TriangleRegion(0, 0, 5, 5, 9, 0).Empty());
    EXPECT_TRUE(PolygonRegion({{0, 0}, {5, 5}}).Empty());
}

TEST(ComplexRegion, PiesAndTurnedPoints) {
    // A quarter of a circle below and right of its centre (y points down).
    const TRegion pie = PieRegion(20, 20, 10, 8, 0, std::numbers::pi / 2);
    EXPECT_TRUE(pie.Contains(24, 24));
    EXPECT_FALSE(pie.Contains(16, 24));
    EXPECT_FALSE(pie.Contains(24, 16));
    EXPECT_FALSE(pie.Contains(28, 28));  // outside the arc
    EXPECT_TRUE(PieRegion(20, 20, 10, 0, 0, 1).Empty());
    std::vector<TPoint> points{{30, 20}, {20, 25}};
    RotatePoints(points, 20, 20, std::numbers::pi / 2);
    EXPECT_EQ(points, (std::vector<TPoint>{{20, 30}, {15, 20}}));
}

using TRects = std::vector<TRect>;

// Bars on a 20 x 12 picture: rows 0 and 10 in the first phase, 5 and 15 in the second.
TEST(RegionBuilders, BarsOfEveryKindInBothPhasesAndAtTheSnap) {
    const TFrameExtents e{20, 12, 0, 0, 50};
    struct TRow {
        TBarKind kind;
        int A, snap;
        TRects bars;
    };
    const TRow rows[] = {
        {bkFromFar, 8, 0, {{12, 0, 20, 5}, {12, 10, 20, 15}}},
        {bkFromNear, 8, 0, {{0, 0, 8, 5}, {0, 10, 8, 15}}},
        {bkFromBoth, 8, 0, {{12, 0, 20, 5}, {0, 5, 8, 10}, {12, 10, 20, 15}, {0, 15, 8, 20}}},
        {bkNearThenFar, 8, 0, {{0, 0, 8, 5}, {0, 10, 8, 15}}},
        {bkFarThenNear, 8, 0, {{12, 0, 20, 5}, {12, 10, 20, 15}}},
        {bkFromFar, 28, 0, {{0, 0, 20, 5}, {12, 5, 20, 10}, {0, 10, 20, 15}, {12, 15, 20, 20}}},
        {bkFromNear, 28, 0, {{0, 0, 20, 5}, {0, 5, 8, 10}, {0, 10, 20, 15}, {0, 15, 8, 20}}},
        {bkFromBoth, 28, 0, {{0, 0, 20, 5}, {0, 10, 20, 15}}},
        {bkNearThenFar, 28, 0, {{0, 0, 20, 5}, {12, 5, 20, 10}, {0, 10, 20, 15}, {12, 15, 20, 20}}},
        {bkFarThenNear, 28, 0, {{0, 0, 20, 5}, {0, 5, 8, 10}, {0, 10, 20, 15}, {0, 15, 8, 20}}},
        {bkFromFar, 17, 4, {{0, 0, 20, 5}, {0, 10, 20, 15}}},  // 3 short of the edge: snapped
        {bkFromFar, 16, 4, {{4, 0, 20, 5}, {4, 10, 20, 15}}},  // 4 short: not
        {bkFromNear,
         20,
         0,
         {{0, 0, 20, 5}, {0, 10, 20, 15}}},  // the whole width is still phase one
    };
    for (const TRow& row : rows) {
        TComplexRegion across, down;
        BarsRegion(across, e, row.A, 0, row.kind, bkNone, row.snap);
        EXPECT_EQ(across.Rects(), row.bars) << "kind " << row.kind << " reach " << row.A;
        // Down the columns the same bars with x and y exchanged.
        BarsRegion(down, TFrameExtents{12, 20, 0, 0, 50}, 0, row.A, bkNone, row.kind, row.snap);
        TRects turned;
        for (const TRect& r : row.bars)
            turned.push_back(TRect{r.Top, r.Left, r.Bottom, r.Right});
        EXPECT_EQ(down.Rects(), turned) << "kind " << row.kind << " reach " << row.A;
    }
    TComplexRegion none;
    BarsRegion(none, e, 8, 8, bkNone, bkNone, 0);
    EXPECT_EQ(none.Count(), 0);
}

}  // namespace
}  // namespace pelwick
