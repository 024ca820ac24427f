#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pelwick {

class TAATimer;
class TAATimerMgr;

// The process's millisecond tick counter (wraps after 49.7 days; all arithmetic on it is
// unsigned 32-bit). Tests install their own.
using TTickSource = std::function<std::uint32_t()>;
std::uint32_t GetTickCount();
TTickSource SetTickSource(TTickSource source);

using TAATimerEvent = std::function<void(TAATimer& sender)>;

// One entry of the manager's list: the state behind a TAATimer.
struct TAATimerObject {
    double Rate = 0;  // 1000 / milliseconds between the last two firings
    bool Enabled = true;
    std::uint32_t Count = 0;
    std::uint32_t Interval = 1000;
    std::uint32_t LastTime = 0;
    TAATimerEvent OnTimer;
    std::uint32_t RepeatCount = 0;
    bool SyncEvent = true;

    TAATimer* Owner = nullptr;
    bool Removed = false;  // unregistered during a tick; freed when the tick ends
};

// The worker of the timer service: sleeps until the next timer is due (or until a change
// wakes it), runs the free-running timers itself and hands the synchronised ones to the UI
// thread, waiting until they have run.
class TAATimerThread {
  public:
    explicit TAATimerThread(TAATimerMgr& manager);
    ~TAATimerThread();
    TAATimerThread(const TAATimerThread&) = delete;
    TAATimerThread& operator=(const TAATimerThread&) = delete;

    void Wake();
    void Terminate();
    // Holds the worker between ticks (tests drive the ticks themselves), and lets it go on.
    void Suspend();
    void Resume();
    bool Suspended();
    // Synchronised ticks handed to the UI thread so far.
    std::uint64_t HandOvers() const { return handOvers_; }

  private:
    void Execute();
    void RunSyncTickOnUiThread();

    TAATimerMgr& manager_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    bool terminated_ = false;
    bool suspended_ = false;
    std::atomic<std::uint64_t> handOvers_{0};
    std::thread thread_;
};

// Serves every TAATimer of the process with one worker thread. Created by the first timer,
// it lives until the program ends.
class TAATimerMgr {
  public:
    static TAATimerMgr& Instance();
    ~TAATimerMgr();

    TAATimerObject* Register(TAATimer* owner);
    void Unregister(TAATimerObject* object);
    void FreeAll();

    // Fires the due timers of one kind (synchronised or free-running) on the calling thread.
    void SyncTick() { Tick(true); }
    void FreeTick() { Tick(false); }
    // The worker's free-running tick: nothing fires while the worker is suspended.
    void WorkerFreeTick();

    // Milliseconds until the next enabled timer of the kind is due (0 when one is due now),
    // or -1 when none will ever fire.
    std::int64_t MillisecondsToNext(bool sync);

    // Changes that may bring a timer's next firing closer wake the worker.
    void Changed();

    // The worker of the first version: a synchronised tick handed to the UI thread every
    // millisecond, due or not. Kept to measure what waiting for the next due time saves.
    void SetPolling(bool value);
    bool Polling() const { return polling_.load(std::memory_order_relaxed); }

    TAATimerThread& Thread() { return *thread_; }
    std::recursive_mutex& Lock() { return lock_; }
    int Count();

  private:
    TAATimerMgr();
    void Tick(bool sync);
    void Fire(TAATimerObject& object, std::uint32_t now);

    std::recursive_mutex lock_;
    std::vector<std::unique_ptr<TAATimerObject>> list_;
    int tickDepth_ = 0;
    // Set on the UI thread, read by the worker.
    std::atomic<bool> polling_{false};
    std::unique_ptr<TAATimerThread> thread_;
};

// A millisecond timer that does not use the window system's timers. OnTimer runs on the UI
// thread (SyncEvent true) or on the worker thread.
class TAATimer {
  public:
    TAATimer();
    ~TAATimer();
    TAATimer(const TAATimer&) = delete;
    TAATimer& operator=(const TAATimer&) = delete;

    bool Enabled() const { return object_->Enabled; }
    void SetEnabled(bool value);
    std::uint32_t Interval() const { return object_->Interval; }
    void SetInterval(std::uint32_t value);
    double FPS() const;
    void SetFPS(double value);
    std::uint32_t RepeatCount() const { return object_->RepeatCount; }
    void SetRepeatCount(std::uint32_t value);
    bool SyncEvent() const { return object_->SyncEvent; }
    void SetSyncEvent(bool value);
    const TAATimerEvent& OnTimer() const { return object_->OnTimer; }
    void SetOnTimer(TAATimerEvent handler);

    // The measured firing rate and the firings since the last enable or disable.
    double Rate() const { return object_->Rate; }
    std::uint32_t Count() const { return object_->Count; }

  private:
    TAATimerObject* object_;
};

}  // namespace pelwick
