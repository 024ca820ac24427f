#include "app/PictureScan.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>

#include "app/Files.h"

namespace pelwick {

// What the worker and the owner share. The worker holds it too, so that a worker left
// behind by the destructor still writes into memory that lives.
struct TPictureScan::TShared {
    std::mutex Mutex;
    std::condition_variable Done;
    std::vector<std::vector<std::string>> Found;
    bool Finished = false;
    std::stop_source Stop;
};

TPictureScan::TPictureScan(std::string folder, TPictureWalk walk)
    : folder_(std::move(folder)), shared_(std::make_shared<TShared>()) {
    std::thread([shared = shared_, folder = folder_, walk] {
        try {
            WalkPictureFolder(
                folder, walk,
                [&](std::vector<std::string>&& paths) {
                    const std::lock_guard lock(shared->Mutex);
                    shared->Found.push_back(std::move(paths));
                },
                shared->Stop.get_token());
        } catch (const std::exception&) {
            // Memory ran out listing a folder: what was found so far is the list.
        }
        const std::lock_guard lock(shared->Mutex);
        shared->Finished = true;
        shared->Done.notify_all();
    }).detach();
}

TPictureScan::~TPictureScan() {
    shared_->Stop.request_stop();
    std::unique_lock lock(shared_->Mutex);
    shared_->Done.wait_for(lock, StopWait, [&] { return shared_->Finished; });
}

std::size_t TPictureScan::TakeFound(TPictureList& list) {
    std::vector<std::vector<std::string>> found;
    {
        const std::lock_guard lock(shared_->Mutex);
        found.swap(shared_->Found);
    }
    std::size_t added = 0;
    for (std::vector<std::string>& folder : found)
        for (std::string& path : folder)
            added += list.Add(std::move(path)) ? 1 : 0;
    return added;
}

bool TPictureScan::Finished() const {
    const std::lock_guard lock(shared_->Mutex);
    return shared_->Finished;
}

struct TPictureRescan::TShared {
    mutable std::mutex Mutex;
    std::condition_variable Done;
    TResult Result;
    bool Finished = false;
    std::stop_source Stop;
};

namespace {

std::string FolderToWatch(const std::string& folder) {
    if (DirectoryExists(folder)) return folder;
    std::filesystem::path above = ToPath(folder);
    if (!above.has_filename()) above = above.parent_path();  // the trailing separator
    while (above.has_relative_path()) {
        above = above.parent_path();
        if (DirectoryExists(FromPath(above))) return FromPath(above);
    }
    return {};
}

TPictureRescan::TResult ListAgain(const std::string& folder, const TPictureWalk& walk,
                                  const std::vector<std::string>& first, const TPictureList& old,
                                  const std::stop_token& stop) {
    TPictureRescan::TResult result;
    auto list = std::make_shared<TPictureList>();
    for (const std::string& path : first)
        list->Add(path);
    result.WatchFolder = FolderToWatch(folder);
    WalkPictureFolder(
        folder, walk,
        [&](std::vector<std::string>&& paths) {
            for (std::string& path : paths)
                list->Add(std::move(path));
        },
        stop);
    result.NewIndexOf.reserve(old.Size());
    for (const std::string& path : old.Paths())
        result.NewIndexOf.push_back(list->IndexOf(path));
    result.List = std::move(list);
    return result;
}

}  // namespace

TPictureRescan::TPictureRescan(std::string folder, TPictureWalk walk,
                               std::vector<std::string> first,
                               std::shared_ptr<const TPictureList> old)
    : shared_(std::make_shared<TShared>()) {
    std::thread([shared = shared_, folder = std::move(folder), walk, first = std::move(first),
                 old = std::move(old)] {
        TResult result;
        try {
            result = ListAgain(folder, walk, first, *old, shared->Stop.get_token());
        } catch (const std::exception&) {
            // Memory ran out: no list, so the one in use stays rather than a part of it.
            result = {};
        }
        const std::lock_guard lock(shared->Mutex);
        shared->Result = std::move(result);
        shared->Finished = true;
        shared->Done.notify_all();
    }).detach();
}

TPictureRescan::~TPictureRescan() {
    shared_->Stop.request_stop();
    std::unique_lock lock(shared_->Mutex);
    shared_->Done.wait_for(lock, TPictureScan::StopWait, [&] { return shared_->Finished; });
}

bool TPictureRescan::Finished() const {
    const std::lock_guard lock(shared_->Mutex);
    return shared_->Finished;
}

TPictureRescan::TResult TPictureRescan::Take() {
    const std::lock_guard lock(shared_->Mutex);
    if (!shared_->Finished) return {};
    return std::exchange(shared_->Result, {});
}

}  // namespace pelwick
