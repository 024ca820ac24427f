#include "slideshow/ShuffleOrder.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace pelwick {

void TShuffleOrder::Grow(int count) {
    for (; size_ < count; ++size_)
        remaining_.push_back(static_cast<std::uint32_t>(size_));
}

void TShuffleOrder::Remap(const std::vector<int>& newIndexOf, int count) {
    const auto mapped = [&](int old) {
        const int i = old >= 0 && old < static_cast<int>(newIndexOf.size())
                          ? newIndexOf[static_cast<std::size_t>(old)]
                          : -1;
        return i < count ? i : -1;
    };
    // Every picture the old list held, shown this round or not, is no newcomer.
    std::vector<bool> known(static_cast<std::size_t>(std::max(count, 0)));
    for (int old = 0; old < static_cast<int>(newIndexOf.size()); ++old)
        if (const int i = mapped(old); i >= 0) known[static_cast<std::size_t>(i)] = true;
    std::vector<std::uint32_t> remaining;
    for (const std::uint32_t old : remaining_)
        if (const int i = mapped(static_cast<int>(old)); i >= 0)
            remaining.push_back(static_cast<std::uint32_t>(i));
    for (int i = 0; i < count; ++i)
        if (!known[static_cast<std::size_t>(i)]) remaining.push_back(static_cast<std::uint32_t>(i));
    remaining_ = std::move(remaining);
    last_ = mapped(last_);
    size_ = std::max(count, 0);
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
