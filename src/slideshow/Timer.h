#pragma once

#include <QTimer>
#include <functional>

namespace pelwick {

// A user-interface timer as the windows' components use it: it ticks every Interval
// milliseconds while Enabled and an OnTimer handler is set. An interval of 0 (or less)
// never ticks. Changing the interval of a running timer starts its count again.
class TTimer {
  public:
    TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    std::function<void()> OnTimer;

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Whether a tick is actually scheduled.
    bool Active() const { return timer_.isActive(); }

  private:
    void Update();
    QTimer timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace pelwick
