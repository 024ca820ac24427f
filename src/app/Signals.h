#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace pelwick {

// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into a call on the
// UI thread: the handler only writes a byte to a pipe, which the event loop reads. It also
// raises StopRequested at once, so that loops that block the UI thread for a while (the
// fades) can give up early and let the event loop run. At most one exists per process; on
// systems without these signals it does nothing.
class TSignalWatch : public QObject {
  public:
    explicit TSignalWatch(std::function<void(int signal)> onSignal);
    ~TSignalWatch() override;
    TSignalWatch(const TSignalWatch&) = delete;
    TSignalWatch& operator=(const TSignalWatch&) = delete;

    // The number of the first signal received, 0 while none was.
    static int StopRequested();

  private:
    void Read();

    std::function<void(int)> onSignal_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pelwick
