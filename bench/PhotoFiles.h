#pragma once

#include <string>

namespace pelwick::bench {

// Writes a photo-like picture (smooth gradients with grain, as bench_slideshow's big JPEG)
// of w x h pixels in the format the path's extension names: .jpg, .png, .webp (both lossy at
// quality 90 where the format has one) or .heic (through libheif's encoder). False when the
// format cannot be written here.
bool WritePhoto(const std::string& path, int w, int h);

}  // namespace pelwick::bench
