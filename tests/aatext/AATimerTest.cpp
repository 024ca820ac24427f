#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <chrono>

#include "aatext/AATimer.h"
#include "app/Exception.h"
#include "app/ExceptionHandler.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// Holds the worker and drives the tick counter by hand, so that every firing is decided by
// the test alone.
class ManualTicks {
  public:
    explicit ManualTicks(std::uint32_t start = 1000) : now_(start) {
        TAATimerMgr::Instance().Thread().Suspend();
        previous_ = SetTickSource([this] { return now_.load(); });
    }
    ~ManualTicks() {
        SetTickSource(std::move(previous_));
        TAATimerMgr::Instance().Thread().Resume();
    }
    // Moves the counter and runs both ticks, as one wake of the worker would.
    void Advance(std::uint32_t ms) {
        now_ += ms;
        TAATimerMgr::Instance().FreeTick();
        TAATimerMgr::Instance().SyncTick();
    }

  private:
    std::atomic<std::uint32_t> now_;
    TTickSource previous_;
};

TEST(AATimer, FpsIsASecondViewOfTheInterval) {
    TAATimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_DOUBLE_EQ(timer.FPS(), 1.0);
    timer.SetFPS(25);
    EXPECT_EQ(timer.Interval(), 40u);
    timer.SetFPS(0);
    EXPECT_EQ(timer.Interval(), 65535000u);
    timer.SetFPS(5000);
    EXPECT_EQ(timer.Interval(), 1u);
    timer.SetFPS(-1);
    timer.SetFPS(std::nan(""));
    EXPECT_EQ(timer.Interval(), 1u);
    timer.SetFPS(3);  // 333.33... rounds to 333
    EXPECT_EQ(timer.Interval(), 333u);
    timer.SetInterval(0);
    EXPECT_EQ(timer.FPS(), 0);
}

TEST(AATimer, FiresOnceAnIntervalHasPassedWithoutMakingUpLateness) {
    ManualTicks ticks;
    TAATimer timer;
    int fired = 0;
    timer.SetOnTimer([&](TAATimer&) { ++fired; });
    timer.SetEnabled(false);
    timer.SetInterval(60);
    timer.SetEnabled(true);  // counted from here
    ticks.Advance(59);
    EXPECT_EQ(fired, 0);
    ticks.Advance(1);
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(timer.Rate(), 1000.0 / 60);
    ticks.Advance(75);  // late: the next interval counts from this firing
    EXPECT_EQ(fired, 2);
    ticks.Advance(59);
    EXPECT_EQ(fired, 2);
    ticks.Advance(1);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(timer.Count(), 3u);

    // Changing the interval restarts the count from now.
    ticks.Advance(50);
    timer.SetInterval(100);
    ticks.Advance(60);
    EXPECT_EQ(fired, 3);
    ticks.Advance(40);
    EXPECT_EQ(fired, 4);
}

TEST(AATimer, TimersThatNeverFire) {
    ManualTicks ticks;
    TAATimer zero, silent, off;
    int fired = 0;
    zero.SetInterval(0);
    zero.SetOnTimer([&](TAATimer&) { ++fired; });
    silent.SetInterval(10);  // no handler: never fired, never counted
    off.SetInterval(10);
    off.SetOnTimer([&](TAATimer&) { ++fired; });
    off.SetEnabled(false);
    for (int i = 0; i < 5; ++i)
        ticks.Advance(100);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(silent.Count(), 0u);
    EXPECT_EQ(TAATimerMgr::Instance().MillisecondsToNext(true), -1);
}

TEST(AATimer, RepeatCountDisablesAfterThatManyFirings) {
    ManualTicks ticks;
    TAATimer timer;
    int fired = 0;
    timer.SetInterval(10);
    timer.SetRepeatCount(3);
    timer.SetOnTimer([&](TAATimer&) { ++fired; });
    for (int i = 0; i < 6; ++i)
        ticks.Advance(10);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Count(), 0u);
    timer.SetEnabled(true);
    for (int i = 0; i < 6; ++i)
        ticks.Advance(10);
    EXPECT_EQ(fired, 6);
}

TEST(AATimer, TickCounterWrapsHarmlessly) {
    ManualTicks ticks(0xFFFFFFF0u);
    TAATimer timer;
    int fired = 0;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TAATimer&) { ++fired; });
    ticks.Advance(19);
    EXPECT_EQ(fired, 0);
    ticks.Advance(1);  // the counter passed zero
    EXPECT_EQ(fired, 1);
}

TEST(AATimer, HandlersMayCreateAndDestroyTimers) {
    ManualTicks ticks;
    auto self = std::make_unique<TAATimer>();
    std::unique_ptr<TAATimer> born;
    int bornFired = 0;
    self->SetInterval(10);
    self->SetOnTimer([&](TAATimer&) {
        born = std::make_unique<TAATimer>();
        born->SetInterval(10);
        born->SetOnTimer([&](TAATimer&) { ++bornFired; });
        self.reset();  // its own timer, in its own handler
    });
    const int before = TAATimerMgr::Instance().Count();
    ticks.Advance(10);
    EXPECT_FALSE(self);
    ASSERT_TRUE(born);
    EXPECT_EQ(bornFired, 0);  // new timers count from their creation
    EXPECT_EQ(TAATimerMgr::Instance().Count(), before);
    ticks.Advance(10);
    EXPECT_EQ(bornFired, 1);
}

TEST(AATimer, AFailingHandlerIsReportedAndOthersStillFire) {
    ManualTicks ticks;
    std::vector<std::string> reported;
    auto previous = SetApplicationExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    });
    TAATimer failing, healthy;
    int fired = 0;
    failing.SetInterval(10);
    failing.SetOnTimer([](TAATimer&) { throw Exception("handler failed"); });
    healthy.SetInterval(10);
    healthy.SetOnTimer([&](TAATimer&) { ++fired; });
    ticks.Advance(10);
    ticks.Advance(10);
    SetApplicationExceptionHandler(std::move(previous));
    EXPECT_EQ(reported, (std::vector<std::string>{"handler failed", "handler failed"}));
    EXPECT_EQ(fired, 2);
}

// Serves the events that carry the firings until done(), for up to ten seconds.
bool RunUntil(const std::function<bool()>& done) {
    return test::PollUntil(done, std::chrono::seconds(10), std::chrono::milliseconds(1));
}

TEST(AATimer, TheWorkerFiresOnTheRightThreads) {
    TAATimer sync, free;
    std::atomic<int> syncFired{0}, freeFired{0};
    std::atomic<bool> syncOnUi{true}, freeOnUi{false};
    QThread* ui = QCoreApplication::instance()->thread();
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firstSync{};
    sync.SetInterval(30);
    sync.SetOnTimer([&](TAATimer&) {
        if (syncFired++ == 0) firstSync = std::chrono::steady_clock::now() - start;
        if (QThread::currentThread() != ui) syncOnUi = false;
    });
    free.SetSyncEvent(false);
    free.SetInterval(5);
    free.SetOnTimer([&](TAATimer&) {
        ++freeFired;
        if (QThread::currentThread() == ui) freeOnUi = true;
    });
    ASSERT_TRUE(RunUntil([&] { return syncFired >= 3 && freeFired >= 3; }));
    free.SetEnabled(false);
    sync.SetEnabled(false);
    EXPECT_TRUE(syncOnUi);
    EXPECT_FALSE(freeOnUi);
    // Not before its interval (the tick counter has whole milliseconds).
    EXPECT_GE(firstSync, std::chrono::milliseconds(29));
}

TEST(AATimer, AnIdleServiceHandsNothingOver) {
    TAATimerThread& thread = TAATimerMgr::Instance().Thread();
    {
        TAATimer timer;
        timer.SetInterval(20);
        int fired = 0;
        timer.SetOnTimer([&](TAATimer&) { ++fired; });
        const std::uint64_t before = thread.HandOvers();
        ASSERT_TRUE(RunUntil([&] { return fired >= 5; }));
        timer.SetEnabled(false);
        // One hand-over per firing, give or take a wake at the edge of the interval.
        EXPECT_LE(thread.HandOvers() - before, std::uint64_t(fired) + 3);
    }
    // The last timer gone, the worker sleeps but stays ready.
    const std::uint64_t idle = thread.HandOvers();
    QTest::qWait(50);  // deliberately idle: no hand-over may come in these 50 ms
    EXPECT_EQ(thread.HandOvers(), idle);
    TAATimer again;
    again.SetInterval(5);
    bool fired = false;
    again.SetOnTimer([&](TAATimer&) { fired = true; });
    EXPECT_TRUE(RunUntil([&] { return fired; }));
}

TEST(AATimer, PollingHandsOverEveryMillisecond) {
    TAATimerMgr& manager = TAATimerMgr::Instance();
    const std::uint64_t before = manager.Thread().HandOvers();
    manager.SetPolling(true);
    // Twenty hand-overs take about 20 ms; a slow build (a sanitizer's) is given more time.
    EXPECT_TRUE(RunUntil([&] { return manager.Thread().HandOvers() - before > 20; }));
    manager.SetPolling(false);
}

}  // namespace
}  // namespace pelwick
