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

// Lists a picture folder again on a worker thread while the slideshow goes on with the list
// it has. The new list is built whole on the worker, together with where each picture of the
// old list went, so that the user-interface thread only swaps it in and never waits on the
// file system. The old list must not change while the worker reads it.
class TPictureRescan {
  public:
    struct TResult {
        // The pictures of first, then the folder's in the walk's order; none when listing
        // failed (memory ran out), so that the old list stays.
        std::shared_ptr<TPictureList> List;
        // For each picture of the old list, its index in List; -1 when it is gone.
        std::vector<int> NewIndexOf;
        // Where the folder's changes show: the folder itself when it was there to be listed,
        // else the nearest folder above it that was, where its return will show; "" when
        // none was.
        std::string WatchFolder;
    };

    TPictureRescan(std::string folder, TPictureWalk walk, std::vector<std::string> first,
                   std::shared_ptr<const TPictureList> old);
    // As TPictureScan's: asks the worker to stop and waits for it a moment at most.
    ~TPictureRescan();
    TPictureRescan(const TPictureRescan&) = delete;
    TPictureRescan& operator=(const TPictureRescan&) = delete;

    bool Finished() const;
    // The result once Finished; an empty one before, or when taken already.
    TResult Take();

  private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};

}  // namespace pelwick
