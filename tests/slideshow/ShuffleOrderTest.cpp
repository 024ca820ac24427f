#include "slideshow/ShuffleOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <vector>

namespace pelwick {
namespace {

// Draws a round of count pictures and checks it holds each once.
std::vector<int> Round(TShuffleOrder& order, int count) {
    std::vector<int> round;
    for (int i = 0; i < count; ++i)
        round.push_back(order.Next());
    EXPECT_EQ(std::set<int>(round.begin(), round.end()).size(), size_t(count));
    EXPECT_EQ(*std::min_element(round.begin(), round.end()), 0);
    EXPECT_EQ(*std::max_element(round.begin(), round.end()), count - 1);
    return round;
}

TEST(ShuffleOrder, EveryPictureOnceARoundAndNoRepeatAcrossRounds) {
    for (const int count : {1, 2, 3, 7, 500}) {
        SCOPED_TRACE(count);
        TShuffleOrder order(static_cast<std::uint64_t>(count));
        EXPECT_EQ(order.Next(), -1);  // nothing listed yet
        order.Grow(count);
        std::vector<int> previous = Round(order, count);
        for (int round = 0; round < 40; ++round) {
            const std::vector<int> next = Round(order, count);
            if (count > 1) {
                EXPECT_NE(next.front(), previous.back()) << round;
            }
            previous = next;
        }
    }
}

TEST(ShuffleOrder, PicturesAddedDuringARoundJoinIt) {
    TShuffleOrder order(3);
    order.Grow(4);
    std::set<int> shown = {order.Next(), order.Next()};
    order.Grow(10);
    for (int i = 0; i < 8; ++i)
        shown.insert(order.Next());
    EXPECT_EQ(shown.size(), 10u);
}

// A rebuilt list, in an order of its own: the pictures the round has shown come again only
// after every one it has not shown that stayed and every newcomer; then rounds go on whole.
TEST(ShuffleOrder, ARebuildKeepsTheRoundsPromise) {
    struct TRow {
        const char* what;
        int count, shown;
        std::vector<int> removed;  // pictures of the old list, by index
        int added;
    };
    const std::vector<TRow> rows = {
        {"grown and thinned mid-round", 10, 4, {0, 1, 7}, 3},
        {"grown as the round ends", 5, 5, {}, 2},
        {"grown a thousandfold", 3, 1, {}, 1000},
        {"every picture replaced", 6, 2, {0, 1, 2, 3, 4, 5}, 4},
        {"only reordered", 6, 3, {}, 0},
        {"the last unshown removed", 8, 7, {}, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.what);
        TShuffleOrder order(static_cast<std::uint64_t>(row.count + row.shown));
        order.Grow(row.count);
        // Pictures are named by number; the old list holds 0..count-1 in order.
        std::vector<int> drawn;
        for (int i = 0; i < row.shown; ++i)
            drawn.push_back(order.Next());
        std::vector<int> removed = row.removed;
        if (row.removed.empty() && row.shown == row.count - 1)
            for (int i = 0; i < row.count; ++i)
                if (std::find(drawn.begin(), drawn.end(), i) == drawn.end()) removed.push_back(i);
        std::vector<int> names;
        for (int i = 0; i < row.count; ++i)
            if (std::find(removed.begin(), removed.end(), i) == removed.end()) names.push_back(i);
        for (int i = 0; i < row.added; ++i)
            names.push_back(row.count + i);
        std::shuffle(names.begin(), names.end(), std::mt19937(5));
        std::vector<int> newIndexOf(static_cast<size_t>(row.count), -1);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] < row.count) newIndexOf[static_cast<size_t>(names[i])] = int(i);
        order.Remap(newIndexOf, static_cast<int>(names.size()));

        std::set<int> due;  // the rest of the round: unshown survivors and newcomers
        for (const int name : names)
            if (std::find(drawn.begin(), drawn.end(), name) == drawn.end()) due.insert(name);
        std::set<int> rest;
        int lastShown = drawn.empty() ? -1 : drawn.back();
        for (size_t i = 0; i < due.size(); ++i) {
            lastShown = names[static_cast<size_t>(order.Next())];
            rest.insert(lastShown);
        }
        EXPECT_EQ(rest, due);
        // The next round is whole, and does not begin with the picture just shown.
        const std::vector<int> next = Round(order, static_cast<int>(names.size()));
        EXPECT_NE(names[static_cast<size_t>(next.front())], lastShown);
    }
}

// Rounds are drawn, not repeated: over many rounds each picture starts a round about as
// often as any other.
TEST(ShuffleOrder, RoundsDiffer) {
    TShuffleOrder order(11);
    order.Grow(5);
    std::vector<int> starts(5);
    std::set<std::vector<int>> rounds;
    for (int round = 0; round < 500; ++round) {
        std::vector<int> r;
        for (int i = 0; i < 5; ++i)
            r.push_back(order.Next());
        ++starts[size_t(r.front())];
        rounds.insert(r);
    }
    EXPECT_GT(rounds.size(), 60u);  // of 120 orders
    for (int n : starts)
        EXPECT_GT(n, 60);
}

}  // namespace
}  // namespace pelwick
