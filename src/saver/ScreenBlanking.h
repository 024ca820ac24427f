#pragma once

namespace pelwick {

// Keeps the display server's own screen saver and power saving from blanking the screen while
// the saver shows its wall in a window of its own. The server goes back to its settings, as
// they were, when the guard ends, and by itself when the program ends in any way. Where there
// is no such server (another platform, tests offscreen) the guard does nothing.
class TBlankingGuard {
  public:
    TBlankingGuard();
    ~TBlankingGuard();
    TBlankingGuard(const TBlankingGuard&) = delete;
    TBlankingGuard& operator=(const TBlankingGuard&) = delete;

    // Whether the server's screen saver is held off now.
    bool Active() const { return active_; }

  private:
    bool active_ = false;
};

}  // namespace pelwick
