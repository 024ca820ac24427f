// The decoder of one picture format on any bytes: PELWICK_FUZZ_FORMAT names its row of
// gfx/PictureDecoders.h when the target is built. A decoded picture is a 24-bit bitmap
// within the pixel cap; a bad one raises EInvalidGraphic and nothing else.
#include "FuzzSupport.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace {

const pelwick::TPictureFormat& Format() {
    static const pelwick::TPictureFormat* const format =
        pelwick::PictureFormatNamed(PELWICK_FUZZ_FORMAT);
    FUZZ_CHECK(format);  // a target without a row is a mistake of the build
    return *format;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    const std::string_view bytes = fuzz::Input(data, size);
    // A target that shrinks half of the inputs, so the scaled paths run too; the slideshow's
    // limit for a small screen on half of them, stretching on a quarter.
    const int last = bytes.empty() ? 0 : static_cast<unsigned char>(bytes.back());
    const TDecodeTarget target{640,
                               400,
                               (last & 1) != 0,
                               clBlack,
                               (last & 2) ? ScreenPixelLimit(640, 400) : MaxPicturePixels,
                               (last & 5) == 5};
    try {
        const TBitmap b = Format().Decode(bytes, target);
        FUZZ_CHECK(b.PixelFormat() == pf24bit);
        FUZZ_CHECK(std::uint64_t(b.Width()) * std::uint64_t(b.Height()) <= target.MaxPixels);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
