#pragma once

#include <functional>
#include <memory>

#include "gfx/Bitmap.h"

namespace pelwick {

// A picture file that cannot be decoded: corrupt, truncated, of an unknown kind or too
// large to be safe.
class EInvalidGraphic : public Exception {
  public:
    using Exception::Exception;
};

// A container for the one picture an owner shows. It holds a bitmap or nothing, and tells
// its owner after every change.
class TPicture {
  public:
    std::function<void()> OnChange;

    // True when it holds a bitmap with at least one pixel.
    bool HasImage() const { return bitmap_ && !bitmap_->Empty(); }
    bool HasBitmap() const { return bitmap_ != nullptr; }
    int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
    int Height() const { return bitmap_ ? bitmap_->Height() : 0; }
    // The bitmap held, or nullptr.
    const TBitmap* Bitmap() const { return bitmap_.get(); }

    // Makes it hold a bitmap, keeping the one it holds (an empty one when it held none).
    TBitmap& ForceBitmap();
    // Replaces the picture by bitmap; OnChange fires.
    void SetBitmap(TBitmap bitmap);
    // Copies other's picture (or nothing); OnChange fires.
    void Assign(const TPicture& other);
    void Clear();

    void Changed() {
        if (OnChange) OnChange();
    }

  private:
    std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace pelwick
