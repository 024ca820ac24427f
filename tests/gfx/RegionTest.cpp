#include "gfx/Region.h"

#include <gtest/gtest.h>

namespace pelwick {
namespace {

int Area(const TRegion& r) {
    int area = 0;
    for (const TRect& rect : r.Rects())
        area += RectWidth(rect) * RectHeight(rect);
    return area;
}

TEST(Region, RectanglesExcludeTheirRightAndBottomEdges) {
    const TRegion r = TRegion::Rect(TRect{1, 2, 4, 5});
    EXPECT_TRUE(r.Contains(1, 2));
    EXPECT_TRUE(r.Contains(3, 4));
    EXPECT_FALSE(r.Contains(4, 4));
    EXPECT_FALSE(r.Contains(3, 5));
    EXPECT_EQ(Area(r), 9);
    EXPECT_EQ(r.Bounds(), (TRect{1, 2, 4, 5}));
    EXPECT_TRUE(TRegion::Rect(TRect{5, 5, 5, 9}).Empty());
    EXPECT_TRUE(TRegion::Rect(TRect{5, 5, 2, 9}).Empty());
}

TEST(Region, EllipseAndRoundRectStayInsideTheirBoxesAndCutTheCorners) {
    const TRect box{0, 0, 21, 11};
    const TRegion e = TRegion::Ellipse(box);
    EXPECT_TRUE(e.Contains(10, 5));
    EXPECT_FALSE(e.Contains(0, 0));
    EXPECT_FALSE(e.Contains(20, 10));
    EXPECT_EQ(e.Intersected(TRegion::Rect(box)), e);
    // Symmetric about the centre column.
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 21; ++x)
            EXPECT_EQ(e.Contains(x, y), e.Contains(20 - x, y)) << x << "," << y;

    const TRegion rr = TRegion::RoundRect(box, 8, 6);
    EXPECT_FALSE(rr.Contains(0, 0));
    EXPECT_FALSE(rr.Contains(20, 10));
    EXPECT_TRUE(rr.Contains(10, 0));  // the straight top edge
    EXPECT_TRUE(rr.Contains(0, 5));   // the straight left edge
    EXPECT_GT(Area(rr), Area(e));
    EXPECT_LT(Area(rr), 21 * 11);
    // Corner ellipses of no size give the plain rectangle.
    EXPECT_EQ(TRegion::RoundRect(box, 0, 0), TRegion::Rect(box));
}

TEST(Region, PolygonsFollowTheirFillRule) {
    // A five-pointed star drawn in one stroke: its centre is wound twice.
    const std::vector<TPoint> star{{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    EXPECT_TRUE(TRegion::Polygon(star, TRegion::pfmWinding).Contains(50, 45));
    EXPECT_FALSE(TRegion::Polygon(star, TRegion::pfmAlternate).Contains(50, 45));
    EXPECT_TRUE(TRegion::Polygon(star, TRegion::pfmAlternate).Contains(50, 10));
    EXPECT_TRUE(TRegion::Polygon({{0, 0}, {5, 5}}).Empty());
    const TRegion triangle = TRegion::Polygon({{0, 0}, {10, 0}, {0, 10}});
    EXPECT_TRUE(triangle.Contains(1, 1));
    EXPECT_FALSE(triangle.Contains(8, 8));
}

TEST(Region, Combinations) {
    const TRegion a = TRegion::Rect(TRect{0, 0, 4, 4});
    const TRegion b = TRegion::Rect(TRect{2, 2, 6, 6});
    EXPECT_EQ(Area(a.United(b)), 28);
    EXPECT_EQ(Area(a.Intersected(b)), 4);
    EXPECT_EQ(Area(a.Xored(b)), 24);
    EXPECT_EQ(Area(a.Subtracted(b)), 12);
    EXPECT_FALSE(a.Xored(b).Contains(3, 3));
    EXPECT_TRUE(a.Translated(10, 0).Contains(10, 0));
    EXPECT_TRUE(TRegion().Empty());
    EXPECT_EQ(TRegion().Bounds(), TRect{});
}

}  // namespace
}  // namespace pelwick
