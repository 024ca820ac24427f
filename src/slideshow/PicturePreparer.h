#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "slideshow/PictureLoader.h"

namespace pelwick {

// Prepares the next picture on a worker thread while the current one is shown, so that at
// its turn the user-interface thread only takes the finished bitmaps. One picture at a
// time: asking for another drops a result not taken. The worker makes bitmaps of its own
// and hands them over by move; it never sees the control or a bitmap on screen.
class TPicturePreparer {
  public:
    TPicturePreparer();
    // Asks the worker to stop and waits for it a moment; a worker still inside a long decode
    // is left to finish on its own (into memory it shares), so that leaving never hangs.
    ~TPicturePreparer();
    TPicturePreparer(const TPicturePreparer&) = delete;
    TPicturePreparer& operator=(const TPicturePreparer&) = delete;

    // Starts preparing fileName for stage (PreparePicture).
    void Prepare(const std::string& fileName, const TPictureStage& stage,
                 std::uint64_t placementSeed);
    // The file last asked for; "" when nothing is asked or it has been taken.
    const std::string& Asked() const { return asked_; }
    // Whether the picture last asked for is finished.
    bool Ready() const;
    // The picture last asked for when it was asked for fileName in stage, waiting for the
    // worker if it is not finished yet; nothing (and the request dropped) otherwise.
    std::optional<TPreparedPicture> Take(const std::string& fileName, const TPictureStage& stage);
    // Drops what was asked for.
    void Cancel();

    // How long the destructor waits for the worker.
    static constexpr std::chrono::milliseconds StopWait{2000};

  private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
    std::string asked_;
    TPictureStage askedStage_;
};

}  // namespace pelwick
