#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace pelwick {

class TCustomGlimrascreen;

// Paces one transition. The thread itself never touches the control: every frame step is
// handed to the user-interface thread, and the thread waits until it has run; the end
// handler runs there too. Terminate cancels both the hand-over and the pause between frames,
// so the owner can join the thread at any time without waiting on itself.
class TAnimateThread {
  public:
    // Starts the thread for control (which lives on the user-interface thread).
    explicit TAnimateThread(TCustomGlimrascreen* control);
    // Terminates and joins; pending hand-overs then do nothing.
    ~TAnimateThread();
    TAnimateThread(const TAnimateThread&) = delete;
    TAnimateThread& operator=(const TAnimateThread&) = delete;

    void Terminate();
    bool Terminated() const;
    // How many frame steps the user-interface thread has run for this thread.
    int StepsRun() const;

  private:
    struct TShared;
    static void Execute(std::shared_ptr<TShared> shared);
    static void RunStep(const std::shared_ptr<TShared>& shared);
    static void Ended(const std::shared_ptr<TShared>& shared);

    std::shared_ptr<TShared> shared_;
    std::thread thread_;
};

}  // namespace pelwick
