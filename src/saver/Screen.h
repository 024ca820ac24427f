#pragma once

namespace pelwick {

// The size of the screen the saver covers: the primary screen's, unless a size was set
// (tests lay the saver out for screens they do not have).
int ScreenWidth();
int ScreenHeight();
// Sets the size that ScreenWidth and ScreenHeight report; 0 x 0 returns to the real screen.
void SetScreenSize(int width, int height);

}  // namespace pelwick
