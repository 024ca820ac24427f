#include "slideshow/ShuffleOrder.h"

#include <gtest/gtest.h>

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
