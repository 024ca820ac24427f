#include "gfx/RowShrink.h"

#include <algorithm>
#include <cmath>

namespace pelwick {

namespace {

// The target in the picture's terms: what it must stay at least as large as.
bool Bounds(const TDecodeTarget& target, int& tw, int& th) {
    if (!target.Shrinks || target.Width <= 0 || target.Height <= 0) return false;
    tw = std::max(target.Width, 256);
    th = std::max(target.Height, 256);
    return true;
}

// Blocks stay small enough that their sums fit 32 bits with room to spare.
constexpr int MaxFactor = 256;

}  // namespace

int ShrinkFactor(int width, int height, const TDecodeTarget& target) {
    int tw, th;
    if (!Bounds(target, tw, th) || width <= 0 || height <= 0) return 1;
    for (int k = std::min({width / tw, height / th, MaxFactor}); k >= 2; --k)
        if ((width + k - 1) / k >= tw && (height + k - 1) / k >= th) return k;
    return 1;
}

TSize ShrunkSize(int width, int height, const TDecodeTarget& target) {
    int tw, th;
    if (!Bounds(target, tw, th) || width <= tw || height <= th) return TSize{width, height};
    const double scale = std::max(double(tw) / width, double(th) / height);
    return TSize{std::clamp(int(std::ceil(width * scale)), 1, width),
                 std::clamp(int(std::ceil(height * scale)), 1, height)};
}

void TRowShrinker::Start(int width, int height, int factor) {
    width_ = width;
    height_ = height;
    factor_ = std::clamp(factor, 1, MaxFactor);
    y_ = rowsInBlock_ = 0;
    const int outWidth = (width + factor_ - 1) / factor_;
    out_ = TBitmap::Uninitialized(outWidth, (height + factor_ - 1) / factor_, pf24bit);
    sums_.assign(static_cast<size_t>(outWidth) * 3, 0);
}

void TRowShrinker::AddRow(const std::uint8_t* bgr) {
    if (y_ >= height_) return;
    std::uint32_t* sum = sums_.data();
    for (int x = 0; x < width_; x += factor_, sum += 3) {
        const int n = std::min(factor_, width_ - x);
        std::uint32_t b = 0, g = 0, r = 0;
        for (const std::uint8_t* p = bgr + 3 * x; p < bgr + 3 * (x + n); p += 3)
            b += p[0], g += p[1], r += p[2];
        sum[0] += b, sum[1] += g, sum[2] += r;
    }
    ++y_;
    if (++rowsInBlock_ == factor_ || y_ == height_) EmitRow();
}

void TRowShrinker::EmitRow() {
    std::uint8_t* d = out_.ScanLine((y_ - 1) / factor_);
    std::uint32_t* sum = sums_.data();
    for (int x = 0; x < width_; x += factor_, sum += 3, d += 3) {
        const std::uint32_t n =
            static_cast<std::uint32_t>(std::min(factor_, width_ - x) * rowsInBlock_);
        for (int c = 0; c < 3; ++c) {
            d[c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
            sum[c] = 0;
        }
    }
    rowsInBlock_ = 0;
}

}  // namespace pelwick
