// One picture decoder on any bytes; PELWICK_FUZZ_DECODER picks which when the target is
// built. A decoded picture has the size it claims, within the cap.
#include "FuzzSupport.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace {

pelwick::TBitmap Decode(std::string_view bytes) {
    using namespace pelwick;
    // A target that shrinks half of the inputs, so the scaled paths run too.
    const TDecodeTarget target{640, 400, !bytes.empty() && (bytes.back() & 1)};
#if PELWICK_FUZZ_DECODER == 1
    return DecodeJpeg(bytes, target);
#elif PELWICK_FUZZ_DECODER == 2
    return DecodeGif(bytes, target);
#elif PELWICK_FUZZ_DECODER == 3
    return DecodeBmp(bytes, target);
#elif PELWICK_FUZZ_DECODER == 4
    return DecodePng(bytes, target);
#else
    return DecodeWebp(bytes, target);
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const pelwick::TBitmap b = Decode(pelwick::fuzz::Input(data, size));
        FUZZ_CHECK(std::uint64_t(b.Width()) * std::uint64_t(b.Height()) <=
                   pelwick::MaxPicturePixels);
    } catch (const std::exception&) {
    }
    return 0;
}
