#include "aatext/AATimer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>

#include "app/ExceptionHandler.h"

namespace pelwick {

namespace {

std::mutex tickSourceLock;
TTickSource& TickSource() {
    static TTickSource source;
    return source;
}

// The live manager, read on the UI thread by hand-overs that may arrive after it is gone.
std::atomic<TAATimerMgr*> liveManager{nullptr};

// A synchronised tick on its way to the UI thread; the worker waits for it to be done.
struct THandOver {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

// Stops the worker while the application object still exists: a hand-over posted to an
// application that is being destroyed would never run.
void StopWorkerBeforeApplicationEnds() {
    if (TAATimerMgr* manager = liveManager.load()) manager->Thread().Terminate();
}

}  // namespace

std::uint32_t GetTickCount() {
    {
        std::lock_guard lock(tickSourceLock);
        if (TickSource()) return TickSource()();
    }
    using namespace std::chrono;
    return std::uint32_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TTickSource SetTickSource(TTickSource source) {
    std::lock_guard lock(tickSourceLock);
    TTickSource previous = std::move(TickSource());
    TickSource() = std::move(source);
    return previous;
}

// ----- thread -----

TAATimerThread::TAATimerThread(TAATimerMgr& manager) : manager_(manager) {
    thread_ = std::thread([this] { Execute(); });
}

TAATimerThread::~TAATimerThread() {
    Terminate();
}

void TAATimerThread::Wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

void TAATimerThread::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TAATimerThread::Suspend() {
    std::lock_guard lock(mutex_);
    suspended_ = true;
}

void TAATimerThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
        woken_ = true;
    }
    wake_.notify_all();
}

bool TAATimerThread::Suspended() {
    std::lock_guard lock(mutex_);
    return suspended_;
}

void TAATimerThread::Execute() {
    std::unique_lock lock(mutex_);
    while (!terminated_) {
        if (suspended_) {
            wake_.wait(lock, [&] { return terminated_ || !suspended_; });
            continue;
        }
        std::int64_t wait = 1;
        if (!manager_.Polling()) {
            lock.unlock();
            wait = manager_.MillisecondsToNext(false);
            if (QCoreApplication::instance()) {
                const std::int64_t sync = manager_.MillisecondsToNext(true);
                if (sync >= 0) wait = wait < 0 ? sync : std::min(wait, sync);
            }
            lock.lock();
        }
        auto stop = [&] { return woken_ || terminated_ || suspended_; };
        if (wait < 0)
            wake_.wait(lock, stop);
        else if (wait > 0)
            wake_.wait_for(lock, std::chrono::milliseconds(wait), stop);
        if (woken_) {
            // Something changed: look at the timers again before anything fires.
            woken_ = false;
            continue;
        }
        if (terminated_ || suspended_) continue;
        lock.unlock();
        manager_.WorkerFreeTick();
        if (manager_.Polling() || manager_.MillisecondsToNext(true) == 0) RunSyncTickOnUiThread();
        lock.lock();
    }
}

void TAATimerThread::RunSyncTickOnUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    auto handOver = std::make_shared<THandOver>();
    ++handOvers_;
    QMetaObject::invokeMethod(
        app,
        [handOver] {
            TAATimerMgr* manager = liveManager.load();
            if (manager && !manager->Thread().Suspended()) manager->SyncTick();
            {
                std::lock_guard lock(handOver->mutex);
                handOver->finished = true;
            }
            handOver->done.notify_all();
        },
        Qt::QueuedConnection);
    // Wait for the UI thread, but never past a request to stop: at program end the UI thread
    // may no longer process events.
    std::unique_lock lock(handOver->mutex);
    while (!handOver->finished) {
        handOver->done.wait_for(lock, std::chrono::milliseconds(10));
        std::lock_guard own(mutex_);
        if (terminated_) return;
    }
}

// ----- manager -----

TAATimerMgr& TAATimerMgr::Instance() {
    static TAATimerMgr manager;
    return manager;
}

TAATimerMgr::TAATimerMgr() {
    liveManager = this;
    thread_ = std::make_unique<TAATimerThread>(*this);
    if (QCoreApplication::instance()) qAddPostRoutine(&StopWorkerBeforeApplicationEnds);
}

TAATimerMgr::~TAATimerMgr() {
    thread_->Terminate();
    liveManager = nullptr;
    FreeAll();
    thread_.reset();
}

int TAATimerMgr::Count() {
    std::lock_guard lock(lock_);
    return int(
        std::count_if(list_.begin(), list_.end(), [](const auto& o) { return !o->Removed; }));
}

TAATimerObject* TAATimerMgr::Register(TAATimer* owner) {
    std::lock_guard lock(lock_);
    auto object = std::make_unique<TAATimerObject>();
    object->Owner = owner;
    object->LastTime = GetTickCount();
    TAATimerObject* result = object.get();
    list_.push_back(std::move(object));
    Changed();
    return result;
}

void TAATimerMgr::Unregister(TAATimerObject* object) {
    std::lock_guard lock(lock_);
    const auto it =
        std::find_if(list_.begin(), list_.end(), [&](const auto& o) { return o.get() == object; });
    if (it == list_.end()) return;
    if (tickDepth_ > 0) {
        // A handler is running (perhaps this timer's own): free it when the tick ends.
        (*it)->Removed = true;
        (*it)->Owner = nullptr;
        return;
    }
    list_.erase(it);
}

void TAATimerMgr::FreeAll() {
    std::lock_guard lock(lock_);
    while (!list_.empty())
        list_.pop_back();
}

void TAATimerMgr::Changed() {
    if (thread_) thread_->Wake();
}

void TAATimerMgr::SetPolling(bool value) {
    polling_.store(value, std::memory_order_relaxed);
    Changed();
}

std::int64_t TAATimerMgr::MillisecondsToNext(bool sync) {
    std::lock_guard lock(lock_);
    const std::uint32_t now = GetTickCount();
    std::int64_t next = -1;
    for (const auto& o : list_) {
        if (o->Removed || !o->Enabled || o->Interval == 0 || o->SyncEvent != sync || !o->OnTimer)
            continue;
        const std::uint32_t elapsed = now - o->LastTime;
        const std::int64_t left = elapsed >= o->Interval ? 0 : std::int64_t(o->Interval - elapsed);
        next = next < 0 ? left : std::min(next, left);
    }
    return next;
}

void TAATimerMgr::WorkerFreeTick() {
    std::lock_guard lock(lock_);
    if (!thread_->Suspended()) Tick(false);
}

void TAATimerMgr::Tick(bool sync) {
    std::lock_guard lock(lock_);
    ++tickDepth_;
    const std::uint32_t now = GetTickCount();
    // By index: a handler may add timers (appended, so the list may move) or remove them
    // (marked, freed below).
    for (size_t i = 0; i < list_.size(); ++i) {
        TAATimerObject& o = *list_[i];
        if (o.Removed || !o.Enabled || o.Interval == 0 || o.SyncEvent != sync || !o.OnTimer)
            continue;
        if (std::uint32_t(now - o.LastTime) < o.Interval) continue;
        try {
            Fire(o, now);
        } catch (...) {
            ApplicationHandleException(std::current_exception());
        }
    }
    if (--tickDepth_ == 0) std::erase_if(list_, [](const auto& o) { return o->Removed; });
}

void TAATimerMgr::Fire(TAATimerObject& o, std::uint32_t now) {
    const std::uint32_t span = now - o.LastTime;
    o.Rate = span == 0 ? 0 : 1000.0 / span;
    o.LastTime = now;
    ++o.Count;
    // A copy, so that the handler may replace itself or destroy its timer.
    const TAATimerEvent handler = o.OnTimer;
    handler(*o.Owner);
    if (!o.Removed && o.RepeatCount != 0 && o.Count >= o.RepeatCount) {
        o.Enabled = false;
        o.Count = 0;
    }
}

// ----- timer -----

TAATimer::TAATimer() : object_(TAATimerMgr::Instance().Register(this)) {}

TAATimer::~TAATimer() {
    TAATimerMgr::Instance().Unregister(object_);
}

void TAATimer::SetEnabled(bool value) {
    TAATimerMgr& manager = TAATimerMgr::Instance();
    std::lock_guard lock(manager.Lock());
    if (object_->Enabled == value) return;
    object_->Enabled = value;
    object_->Count = 0;
    if (value) object_->LastTime = GetTickCount();
    manager.Changed();
}

void TAATimer::SetInterval(std::uint32_t value) {
    TAATimerMgr& manager = TAATimerMgr::Instance();
    std::lock_guard lock(manager.Lock());
    if (object_->Interval == value) return;
    object_->Interval = value;
    object_->LastTime = GetTickCount();
    manager.Changed();
}

double TAATimer::FPS() const {
    return Interval() == 0 ? 0 : 1000.0 / Interval();
}

void TAATimer::SetFPS(double value) {
    if (!(value >= 0)) return;  // negative or not a number
    value = std::clamp(value, 1.0 / 65535, 1000.0);
    // Round to nearest, ties to even, as everywhere in the drawing code.
    SetInterval(std::uint32_t(std::nearbyint(1000.0 / value)));
}

void TAATimer::SetRepeatCount(std::uint32_t value) {
    std::lock_guard lock(TAATimerMgr::Instance().Lock());
    object_->RepeatCount = value;
}

void TAATimer::SetSyncEvent(bool value) {
    TAATimerMgr& manager = TAATimerMgr::Instance();
    std::lock_guard lock(manager.Lock());
    object_->SyncEvent = value;
    manager.Changed();
}

void TAATimer::SetOnTimer(TAATimerEvent handler) {
    TAATimerMgr& manager = TAATimerMgr::Instance();
    std::lock_guard lock(manager.Lock());
    object_->OnTimer = std::move(handler);
    manager.Changed();
}

}  // namespace pelwick
