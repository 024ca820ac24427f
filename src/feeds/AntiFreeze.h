#pragma once

namespace pelwick {

// While one of these is active, blocking network waits on the UI thread process the
// application's pending events (in slices of at most MaxSliceMs), so timers, keys and
// repaints run in the middle of a download. At most one exists per process.
class TAntiFreeze {
  public:
    static constexpr int MaxSliceMs = 250;

    TAntiFreeze();
    ~TAntiFreeze();
    TAntiFreeze(const TAntiFreeze&) = delete;
    TAntiFreeze& operator=(const TAntiFreeze&) = delete;

    bool Active = true;
    bool OnlyWhenIdle = false;

    // The guard of this process, or nullptr.
    static TAntiFreeze* Instance();
    // Processes pending events when a guard is active; returns whether it did.
    static bool DoProcess();
};

}  // namespace pelwick
