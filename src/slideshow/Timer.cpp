#include "slideshow/Timer.h"

namespace pelwick {

TTimer::TTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer) OnTimer();
    });
}

void TTimer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void TTimer::Update() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

}  // namespace pelwick
