#include "gfx/PictureLimits.h"

#include <algorithm>
#include <string>

#include "gfx/Picture.h"

namespace pelwick {

namespace {

std::string Size(std::uint64_t width, std::uint64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

std::uint64_t LeastPictureBytes(std::uint64_t pixels, std::uint64_t pixelsPerByte) {
    if (pixels <= FreePicturePixels || pixelsPerByte == 0) return 0;
    return pixels / pixelsPerByte;
}

void CheckPlausible(std::string_view format, std::uint64_t width, std::uint64_t height,
                    std::uint64_t fileBytes, std::uint64_t leastBytes) {
    if (fileBytes >= leastBytes) return;
    throw EInvalidGraphic("Invalid " + std::string(format) + " picture: declares " +
                          Size(width, height) + " in " + std::to_string(fileBytes) + " bytes");
}

void CheckHeldSize(std::string_view format, std::uint64_t width, std::uint64_t height,
                   const TDecodeTarget& target) {
    if (width * height <= target.MaxPixels) return;
    throw EInvalidGraphic("Invalid " + std::string(format) + " picture: " + Size(width, height) +
                          " are more than the " + std::to_string(target.MaxPixels / 1'000'000) +
                          " megapixels a picture may have on this screen");
}

std::uint64_t ScreenPixelLimit(int width, int height) {
    const std::uint64_t area =
        std::uint64_t(std::max(width, 0)) * std::uint64_t(std::max(height, 0));
    return std::clamp<std::uint64_t>(4 * area, ScreenPixelFloor, MaxPicturePixels);
}

}  // namespace pelwick
