#include "slideshow/AnimateThread.h"

#include <QCoreApplication>
#include <QPointer>
#include <chrono>

#include "slideshow/PictureScreen.h"

namespace pelwick {

struct TAnimateThread::TShared {
    std::mutex mutex;
    std::condition_variable wake;
    bool terminated = false;
    // Set on the user-interface thread only; cleared when the thread object goes away.
    QPointer<TCustomGlimrascreen> control;
    const TAnimateThread* owner = nullptr;
    // The outcome of the last hand-over.
    bool stepDone = false;
    bool goOn = true;
    int delay = 0;
    int stepsRun = 0;
};

namespace {

// Runs f on the user-interface thread as soon as it handles its events.
template <class F>
void PostToUiThread(F&& f) {
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::QueuedConnection);
}

}  // namespace

TAnimateThread::TAnimateThread(TCustomGlimrascreen* control)
    : shared_(std::make_shared<TShared>()) {
    shared_->control = control;
    shared_->owner = this;
    thread_ = std::thread(&TAnimateThread::Execute, shared_);
}

TAnimateThread::~TAnimateThread() {
    Terminate();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->control = nullptr;
        shared_->owner = nullptr;
    }
    if (thread_.joinable()) thread_.join();
}

void TAnimateThread::Terminate() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->terminated = true;
    }
    shared_->wake.notify_all();
}

bool TAnimateThread::Terminated() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->terminated;
}

int TAnimateThread::StepsRun() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->stepsRun;
}

void TAnimateThread::Execute(std::shared_ptr<TShared> shared) {
    using TSteadyClock = std::chrono::steady_clock;
    std::unique_lock lock(shared->mutex);
    while (!shared->terminated) {
        const auto t0 = TSteadyClock::now();
        shared->stepDone = false;
        lock.unlock();
        PostToUiThread([shared] { RunStep(shared); });
        lock.lock();
        shared->wake.wait(lock, [&] { return shared->stepDone || shared->terminated; });
        if (shared->terminated || !shared->goOn) break;
        const auto spent = TSteadyClock::now() - t0;
        const auto delay = std::chrono::milliseconds(shared->delay);
        if (spent < delay)
            shared->wake.wait_for(lock, delay - spent, [&] { return shared->terminated; });
    }
    lock.unlock();
    PostToUiThread([shared] { Ended(shared); });
}

// On the user-interface thread: the loop's test, one frame step, and whether the
// transition has reached its end.
void TAnimateThread::RunStep(const std::shared_ptr<TShared>& shared) {
    QPointer<TCustomGlimrascreen> control;
    {
        std::lock_guard lock(shared->mutex);
        if (!shared->terminated) control = shared->control;
    }
    bool goOn = false;
    int delay = 0;
    if (control && !control->Manual() && !control->Stopping()) {
        try {
            control->StepFrame();
        } catch (const std::exception&) {
            // A frame that fails is skipped; the next step still brings the transition to
            // its end.
        }
        if (control) {
            const bool done =
                control->Reverse() ? control->Progress() == 0 : control->Progress() == 100;
            goOn = !done && !control->Manual() && !control->Stopping();
            delay = control->Delay();
        }
    }
    {
        std::lock_guard lock(shared->mutex);
        shared->goOn = goOn;
        shared->delay = delay;
        shared->stepDone = true;
        ++shared->stepsRun;
    }
    shared->wake.notify_all();
}

void TAnimateThread::Ended(const std::shared_ptr<TShared>& shared) {
    QPointer<TCustomGlimrascreen> control;
    const TAnimateThread* owner;
    {
        std::lock_guard lock(shared->mutex);
        control = shared->control;
        owner = shared->owner;
    }
    if (control && owner) control->AnimationThreadEnded(owner);
}

}  // namespace pelwick
