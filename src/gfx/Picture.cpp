#include "gfx/Picture.h"

namespace pelwick {

TBitmap& TPicture::ForceBitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return *bitmap_;
}

void TPicture::SetBitmap(TBitmap bitmap) {
    if (bitmap_)
        *bitmap_ = std::move(bitmap);
    else
        bitmap_ = std::make_unique<TBitmap>(std::move(bitmap));
    Changed();
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) return;
    if (other.bitmap_)
        bitmap_ = std::make_unique<TBitmap>(*other.bitmap_);
    else
        bitmap_.reset();
    Changed();
}

void TPicture::Clear() {
    bitmap_.reset();
    Changed();
}

}  // namespace pelwick
