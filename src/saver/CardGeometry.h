#pragma once

#include <cstdint>
#include <functional>

namespace pelwick {

// What the item card's first placement depends on.
struct TCardRoom {
    int W = 0, H = 0;        // the saver window
    int PR = 0;              // the headline panel's right edge
    bool LargePage = false;  // 1000 characters or more, or an image
    // The previous card of this feed lay clear of the panel: its size is kept.
    bool Beside = false;
    std::int32_t LastHeight = 0, LastWidth = 0;
};

struct TCardPlace {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// A uniformly random integer 0..n-1 (0 when n <= 0).
using TRandomFunction = std::function<int(int n)>;

// The card's provisional place and size before its page is laid out: near the panel's right
// edge, sized by a guess of the page, kept on the screen and, within a feed, at the size of
// the previous card.
TCardPlace GuessCardPlace(const TCardRoom& room, const TRandomFunction& random);

}  // namespace pelwick
