#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/PictureList.h"

namespace pelwick {

// Lists a picture folder on a worker thread, so that a large library or a slow network
// share holds back neither the first picture nor the window: the slideshow starts with the
// first pictures found and takes the rest as they come. The worker only lists names; it
// never touches a picture.
class TPictureScan {
  public:
    TPictureScan(std::string folder, TPictureWalk walk);
    // Asks the worker to stop and waits for it a moment; a worker held up by a file system
    // that does not answer is left to finish on its own, so that leaving never hangs.
    ~TPictureScan();
    TPictureScan(const TPictureScan&) = delete;
    TPictureScan& operator=(const TPictureScan&) = delete;

    const std::string& Folder() const { return folder_; }

    // Adds what the worker has found since the last call to list, in the walk's order;
    // returns how many paths were new.
    std::size_t TakeFound(TPictureList& list);
    // The worker has listed everything, and a last TakeFound after this has taken it all.
    bool Finished() const;

    // How long the destructor waits for the worker.
    static constexpr std::chrono::milliseconds StopWait{2000};

  private:
    struct TShared;
    std::string folder_;
    std::shared_ptr<TShared> shared_;
};

}  // namespace pelwick
