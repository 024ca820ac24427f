#include <gtest/gtest.h>

#include "saver/CardGeometry.h"

namespace pelwick {
namespace {

int Lowest(int) {
    return 0;
}
int Highest(int n) {
    return n > 0 ? n - 1 : 0;
}

TEST(CardGeometry, GuessedPlacesAtTheEndsOfTheRandomRanges) {
    const struct {
        const char* what;
        TCardRoom room;
        int (*random)(int);
        TCardPlace place;
    } rows[] = {
        {"small page", {1920, 1080, 400, false, false, 0, 0}, Lowest, {410, 0, 400, 100}},
        {"small page", {1920, 1080, 400, false, false, 0, 0}, Highest, {1310, 920, 599, 149}},
        {"large page", {1920, 1080, 400, true, false, 0, 0}, Lowest, {410, 0, 800, 200}},
        // Too narrow: 10 to 29 pixels right of the panel, up to 20 before the edge.
        {"narrow screen", {1024, 768, 300, true, false, 0, 0}, Lowest, {310, 0, 694, 200}},
        {"narrow screen", {1024, 768, 300, true, false, 0, 0}, Highest, {329, 358, 675, 399}},
        {"too high", {1920, 300, 400, true, false, 0, 0}, Highest, {810, 34, 1099, 246}},
        // The feed's previous card lay beside the panel: its size is kept.
        {"beside", {1920, 1080, 400, false, true, 300, 500}, Lowest, {410, 0, 500, 300}},
        {"beside, too tall",
         {1920, 1080, 400, false, true, 2000, 500},
         Lowest,
         {410, 5, 500, 1075}},
        {"beside, too wide",
         {1920, 1080, 400, false, true, 300, 1800},
         Highest,
         {44, 44, 1847, 987}},
    };
    for (const auto& row : rows) {
        const TCardPlace c = GuessCardPlace(row.room, row.random);
        EXPECT_EQ(
            (std::vector<int>{c.Left, c.Top, c.Width, c.Height}),
            (std::vector<int>{row.place.Left, row.place.Top, row.place.Width, row.place.Height}))
            << row.what;
    }
}

}  // namespace
}  // namespace pelwick
