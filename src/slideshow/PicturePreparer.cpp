#include "slideshow/PicturePreparer.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace pelwick {

// What the worker and the owner share; the worker holds it too, so that a worker left
// behind by the destructor still writes into memory that lives. Requests and results carry
// a number: a result is kept only for the request asked last.
struct TPicturePreparer::TShared {
    struct TRequest {
        std::string FileName;
        TPictureStage Stage;
        std::uint64_t Seed = 0;
        std::uint64_t Number = 0;
    };

    std::mutex Mutex;
    std::condition_variable Changed;
    std::optional<TRequest> Request;
    std::optional<TPreparedPicture> Result;
    std::uint64_t Asked = 0;  // the number of the request asked last
    std::uint64_t Done = 0;   // the number of the request Result belongs to
    bool Stop = false;
    bool Exited = false;

    void Work() {
        std::unique_lock lock(Mutex);
        while (true) {
            Changed.wait(lock, [&] { return Stop || Request; });
            if (Stop) break;
            TRequest request = std::move(*Request);
            Request.reset();
            lock.unlock();
            TPreparedPicture prepared =
                PreparePicture(request.FileName, request.Stage, request.Seed);
            lock.lock();
            if (request.Number == Asked) {
                Result = std::move(prepared);
                Done = request.Number;
                Changed.notify_all();
            }
        }
        Exited = true;
        Changed.notify_all();
    }
};

TPicturePreparer::TPicturePreparer() : shared_(std::make_shared<TShared>()) {
    std::thread([shared = shared_] { shared->Work(); }).detach();
}

TPicturePreparer::~TPicturePreparer() {
    std::unique_lock lock(shared_->Mutex);
    shared_->Stop = true;
    shared_->Request.reset();
    shared_->Changed.notify_all();
    shared_->Changed.wait_for(lock, StopWait, [&] { return shared_->Exited; });
}

void TPicturePreparer::Prepare(const std::string& fileName, const TPictureStage& stage,
                               std::uint64_t placementSeed) {
    const std::lock_guard lock(shared_->Mutex);
    shared_->Result.reset();
    shared_->Request = TShared::TRequest{fileName, stage, placementSeed, ++shared_->Asked};
    shared_->Changed.notify_all();
    asked_ = fileName;
    askedStage_ = stage;
}

bool TPicturePreparer::Ready() const {
    const std::lock_guard lock(shared_->Mutex);
    return !asked_.empty() && shared_->Result && shared_->Done == shared_->Asked;
}

std::optional<TPreparedPicture> TPicturePreparer::Take(const std::string& fileName,
                                                       const TPictureStage& stage) {
    if (asked_.empty()) return std::nullopt;
    if (fileName != asked_ || !(stage == askedStage_)) {
        Cancel();
        return std::nullopt;
    }
    std::unique_lock lock(shared_->Mutex);
    shared_->Changed.wait(lock, [&] { return shared_->Result && shared_->Done == shared_->Asked; });
    std::optional<TPreparedPicture> result = std::move(shared_->Result);
    shared_->Result.reset();
    asked_.clear();
    return result;
}

void TPicturePreparer::Cancel() {
    const std::lock_guard lock(shared_->Mutex);
    ++shared_->Asked;  // whatever the worker is busy with is dropped when it ends
    shared_->Request.reset();
    shared_->Result.reset();
    asked_.clear();
}

}  // namespace pelwick
