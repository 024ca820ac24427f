#include "slideshow/ShuffleOrder.h"

#include <utility>

namespace pelwick {

void TShuffleOrder::Grow(int count) {
    for (; size_ < count; ++size_)
        remaining_.push_back(static_cast<std::uint32_t>(size_));
}

void TShuffleOrder::StartRound() {
    // The picture just shown sits out the round's first draw, then joins the round.
    for (int i = 0; i < size_; ++i)
        if (i != last_ || size_ == 1) remaining_.push_back(static_cast<std::uint32_t>(i));
}

int TShuffleOrder::Next() {
    if (size_ == 0) return -1;
    const bool newRound = remaining_.empty();
    if (newRound) StartRound();
    // Drawing one of the remaining and moving the last into its place keeps the draw
    // uniform and constant in time.
    const auto pick = static_cast<std::size_t>(random_.Next(static_cast<int>(remaining_.size())));
    const int chosen = static_cast<int>(remaining_[pick]);
    remaining_[pick] = remaining_.back();
    remaining_.pop_back();
    if (newRound && last_ >= 0 && size_ > 1)
        remaining_.push_back(static_cast<std::uint32_t>(last_));
    last_ = chosen;
    return chosen;
}

}  // namespace pelwick
