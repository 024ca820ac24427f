#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/PictureDecoders.h"

namespace pelwick {

// The largest whole factor by which a width x height picture can be reduced and stay at least
// as large as the target (and 256 pixels, below which the size modes tile instead of
// fitting); 1 when the target does not shrink it.
int ShrinkFactor(int width, int height, const TDecodeTarget& target);

// The smallest size of the picture's proportions that is at least as large as the target in
// both directions (and 256 pixels); its own size when the target does not shrink it.
TSize ShrunkSize(int width, int height, const TDecodeTarget& target);

// Reduces a picture that arrives a row at a time by a whole factor in both directions: each
// pixel of the result is the average of a factor x factor block of the picture (a smaller
// one at the right and bottom edges). Only a row of sums is held, never the picture at full
// size.
class TRowShrinker {
  public:
    // The picture's size (checked by the caller) and the factor, at least 1.
    void Start(int width, int height, int factor);
    // The next row: width pixels of blue, green and red.
    void AddRow(const std::uint8_t* bgr);
    // The reduced picture, once every row has been added.
    TBitmap& Result() { return out_; }

  private:
    void EmitRow();

    int width_ = 0, height_ = 0, factor_ = 1, y_ = 0, rowsInBlock_ = 0;
    std::vector<std::uint32_t> sums_;
    TBitmap out_;
};

}  // namespace pelwick
