// WebP pictures through libwebp: straight into the bitmap's rows, or through a premultiplied
// copy (which is the picture composed over black) when the picture has alpha.
#include <webp/decode.h>

#include <cstring>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace pelwick {

namespace {

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Invalid WebP picture: " + why);
}

}  // namespace

TBitmap DecodeWebp(std::string_view bytes, const TDecodeTarget&) {
    if (bytes.empty()) Fail("the file is empty");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK)
        Fail("not a WebP picture, or a damaged one");
    const std::uint64_t w = std::uint64_t(features.width), h = std::uint64_t(features.height);
    if (features.width <= 0 || features.height <= 0) Fail("the picture is empty");
    if (w * h > (features.has_alpha ? MaxAlphaPixels : MaxPicturePixels))
        Fail("the picture is too large");
    TBitmap out(int(w), int(h), pf24bit);
    if (!features.has_alpha) {
        if (!WebPDecodeBGRInto(data, bytes.size(), out.Bits(), out.ByteSize(), out.Stride()))
            Fail("the data is damaged or ends early");
        return out;
    }
    TBitmap premultiplied(int(w), int(h), pf32bit);
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) Fail("the decoder cannot start");
    config.output.colorspace = MODE_bgrA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = premultiplied.Bits();
    config.output.u.RGBA.stride = premultiplied.Stride();
    config.output.u.RGBA.size = premultiplied.ByteSize();
    const VP8StatusCode status = WebPDecode(data, bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) Fail("the data is damaged or ends early");
    for (int y = 0; y < int(h); ++y) {
        const std::uint8_t* s = premultiplied.ScanLine(y);
        std::uint8_t* d = out.ScanLine(y);
        for (int x = 0; x < int(w); ++x)
            std::memcpy(d + 3 * x, s + 4 * x, 3);
    }
    return out;
}

}  // namespace pelwick
