#include "slideshow/AnimateThread.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QThread>

#include "SlideshowTestSupport.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {
namespace {

using test::Solid;

// A control whose transitions run on the animation thread, one frame per millisecond.
struct Threaded {
    std::unique_ptr<TGlimrascreen> c = std::make_unique<TGlimrascreen>();
    std::vector<int> progress;
    std::vector<QThread*> threads;
    int completions = 0;
    Threaded() {
        c->SetAutoSize(false);
        c->resize(8, 6);
        c->SetColor(clBlack);
        c->SetStyle(StyleCrossFade);
        c->SetDelay(1);
        c->SetStep(25);
        c->OnProgress = [this](TCustomGlimrascreen& s) {
            progress.push_back(s.Progress());
            threads.push_back(QThread::currentThread());
        };
        c->OnComplete = [this](TCustomGlimrascreen&) { ++completions; };
        c->Picture().SetBitmap(Solid(8, 6, clRed));
    }
    // Serves the user-interface thread until done says so (the frames arrive as events).
    bool ServeUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
};

TEST(AnimateThread, FramesRunOnTheUserInterfaceThreadAndTheEndIsReported) {
    Threaded t;
    t.c->StartTransition();
    EXPECT_TRUE(t.c->Running());
    EXPECT_TRUE(t.c->AnimationThreadRunning());
    EXPECT_TRUE(t.progress.empty());  // StartTransition returns at once
    ASSERT_TRUE(t.ServeUntil([&] { return t.completions == 1; }));
    EXPECT_EQ(t.progress, (std::vector<int>{25, 50, 75, 100}));
    for (QThread* thread : t.threads)
        EXPECT_EQ(thread, QCoreApplication::instance()->thread());
    EXPECT_FALSE(t.c->Running());
    EXPECT_FALSE(t.c->AnimationThreadRunning());
    EXPECT_EQ(t.c->ScreenBitmap().Pixel(7, 5), clRed);
}

TEST(AnimateThread, StopLeavesTheTransitionRunningUntilTheThreadHasEnded) {
    Threaded t;
    t.c->SetDelay(1000);  // the thread sits in its pause after the first frame
    t.c->StartTransition();
    ASSERT_TRUE(t.ServeUntil([&] { return !t.progress.empty(); }));
    t.c->StopTransition();
    EXPECT_TRUE(t.c->Running());
    EXPECT_EQ(t.completions, 0);
    ASSERT_TRUE(t.ServeUntil([&] { return t.completions == 1; }));  // the pause was cut short
    EXPECT_FALSE(t.c->Running());
    EXPECT_EQ(t.progress, (std::vector<int>{25}));
}

TEST(AnimateThread, DestroyingTheControlWhileTheThreadWaitsForAFrameDoesNotHang) {
    Threaded t;
    bool touched = false;
    t.c->StartTransition();
    // Without serving events the thread is stuck in its hand-over of the first frame. A
    // deliberate pause, not a wait: it gives the thread time to get there, and the test holds
    // whether or not it did.
    QThread::msleep(20);
    t.c->OnProgress = [&](TCustomGlimrascreen&) { touched = true; };
    t.c.reset();
    // The hand-over queued before the control went away finds nobody and does nothing.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(touched);
}

TEST(AnimateThread, DestroyingTheControlWhileTheThreadPausesDoesNotHang) {
    Threaded t;
    t.c->SetDelay(10000);
    t.c->StartTransition();
    ASSERT_TRUE(t.ServeUntil([&] { return !t.progress.empty(); }));
    t.c.reset();  // joins a thread that would otherwise sleep for ten seconds
    QCoreApplication::processEvents();
    EXPECT_EQ(t.completions, 0);
}

TEST(AnimateThread, ManualPausesTheThreadAndClearingItResumes) {
    Threaded t;
    t.c->SetStep(10);
    t.c->StartTransition();
    // The thread's first step sees Manual and ends; the transition stays Running, paused.
    t.c->SetManual(true);
    ASSERT_TRUE(t.ServeUntil([&] { return !t.c->AnimationThreadRunning(); }));
    EXPECT_TRUE(t.c->Running());
    EXPECT_TRUE(t.progress.empty());
    EXPECT_EQ(t.completions, 0);
    t.c->SetProgress(60);
    t.c->SetManual(false);  // a new thread animates on from 60
    ASSERT_TRUE(t.ServeUntil([&] { return t.completions == 1; }));
    EXPECT_EQ(t.progress, (std::vector<int>{60, 70, 80, 90, 100}));
    EXPECT_FALSE(t.c->Running());
}

TEST(AnimateThread, ManualDuringAStopKeepsTheTransitionForItsOwner) {
    Threaded t;
    t.c->SetDelay(1000);
    t.c->StartTransition();
    ASSERT_TRUE(t.ServeUntil([&] { return !t.progress.empty(); }));
    t.c->SetManual(true);
    t.c->StopTransition();
    ASSERT_TRUE(t.ServeUntil([&] { return !t.c->AnimationThreadRunning(); }));
    // The thread's end finds Manual set and no stop under way: paused, not ended.
    EXPECT_TRUE(t.c->Running());
    EXPECT_EQ(t.completions, 0);
    t.c->StopTransition();  // without a thread: ends at once
    EXPECT_FALSE(t.c->Running());
}

TEST(AnimateThread, TheThreadObjectCanBeJoinedWhileItsHandOverIsPending) {
    TGlimrascreen control;
    auto thread = std::make_unique<TAnimateThread>(&control);
    QThread::msleep(5);  // deliberate: lets the thread reach its hand-over, if it can
    thread.reset();      // never served: must not wait for the user-interface thread
    QCoreApplication::processEvents();
    EXPECT_FALSE(control.Running());
}

}  // namespace
}  // namespace pelwick
