#include "saver/CardGeometry.h"

#include <cstdlib>

namespace pelwick {

namespace {

// A large page gets a card of 800..1099 x 200..399, a small one 400..599 x 100..149 a little
// further from the panel.
void GuessSize(const TCardRoom& room, const TRandomFunction& random, TCardPlace& c) {
    if (room.LargePage) {
        c.Height = random(200) + 200;
        c.Width = random(300) + 800;
    } else {
        c.Top += random(80);
        c.Left += random(60);
        c.Height = random(50) + 100;
        c.Width = random(200) + 400;
    }
}

// Too wide: from just right of the panel to 20 pixels before the edge. Too high: near the
// top, down to 20 pixels before the bottom. Otherwise anywhere that fits (the provisional
// top only chose the branch).
void FitToScreen(const TCardRoom& room, const TRandomFunction& random, TCardPlace& c) {
    if (c.Left + c.Width > room.W - 20) {
        c.Left = room.PR + 10 + random(20);
        c.Width = std::abs(room.W - c.Left - 20);
    } else {
        c.Left += random(room.W - c.Left - c.Width - 10);
    }
    if (c.Top + c.Height > room.H - 20) {
        c.Top = random(30) + 5;
        c.Height = std::abs(room.H - c.Top - 20);
    } else {
        c.Top = random(room.H - c.Height - 10);
    }
}

void KeepFeedSize(const TCardRoom& room, const TRandomFunction& random, TCardPlace& c) {
    c.Height = room.LastHeight;
    if (c.Top + c.Height > room.H) {
        c.Top = random(40) + 5;
        c.Height = room.H - c.Top - random(50);
    }
    c.Width = room.LastWidth;
    if (c.Left + c.Width > room.W) {
        c.Left = random(40) + 5;
        c.Width = room.W - c.Left - random(30);
    }
}

}  // namespace

TCardPlace GuessCardPlace(const TCardRoom& room, const TRandomFunction& random) {
    TCardPlace c;
    c.Top = random(100) + 60;
    c.Left = room.PR + 10 + random(50);
    GuessSize(room, random, c);
    FitToScreen(room, random, c);
    if (room.Beside) KeepFeedSize(room, random, c);
    return c;
}

}  // namespace pelwick
