// WebP pictures through libwebp: straight into the bitmap's rows, or through a premultiplied
// copy (which is the picture composed over black) when the picture has alpha.
#include <webp/decode.h>

#include <cstring>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"
#include "gfx/RowShrink.h"

namespace pelwick {

namespace {

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Invalid WebP picture: " + why);
}

}  // namespace

TBitmap DecodeWebp(std::string_view bytes, const TDecodeTarget& target) {
    if (bytes.empty()) Fail("the file is empty");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK)
        Fail("not a WebP picture, or a damaged one");
    const std::uint64_t w = std::uint64_t(features.width), h = std::uint64_t(features.height);
    if (features.width <= 0 || features.height <= 0) Fail("the picture is empty");
    if (w * h > (features.has_alpha ? MaxAlphaPixels : MaxPicturePixels))
        Fail("the picture is too large");
    CheckPlausible("WebP", w, h, bytes.size(), LeastPictureBytes(w * h, WebpPixelsPerByte));
    // libwebp's own scaling averages while it decodes: a lossy picture the target shrinks is
    // never held at full size. A lossless one is (its transforms need the whole picture).
    const TSize size = ShrunkSize(features.width, features.height, target);
    const bool scaled = size.Width != features.width || size.Height != features.height;
    constexpr int lossless = 2;  // WebPBitstreamFeatures::format
    if (features.format == lossless)
        CheckHeldSize("WebP", w, h, target);
    else
        CheckHeldSize("WebP", std::uint64_t(size.Width), std::uint64_t(size.Height), target);
    TBitmap out(size.Width, size.Height, pf24bit);
    if (!features.has_alpha && !scaled) {
        if (!WebPDecodeBGRInto(data, bytes.size(), out.Bits(), out.ByteSize(), out.Stride()))
            Fail("the data is damaged or ends early");
        return out;
    }
    TBitmap premultiplied;
    if (features.has_alpha) premultiplied = TBitmap(size.Width, size.Height, pf32bit);
    TBitmap& into = features.has_alpha ? premultiplied : out;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) Fail("the decoder cannot start");
    config.options.use_scaling = scaled ? 1 : 0;
    config.options.scaled_width = size.Width;
    config.options.scaled_height = size.Height;
    config.output.colorspace = features.has_alpha ? MODE_bgrA : MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = into.Bits();
    config.output.u.RGBA.stride = into.Stride();
    config.output.u.RGBA.size = into.ByteSize();
    const VP8StatusCode status = WebPDecode(data, bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) Fail("the data is damaged or ends early");
    if (!features.has_alpha) return out;
    for (int y = 0; y < size.Height; ++y) {
        const std::uint8_t* s = premultiplied.ScanLine(y);
        std::uint8_t* d = out.ScanLine(y);
        for (int x = 0; x < size.Width; ++x)
            std::memcpy(d + 3 * x, s + 4 * x, 3);
    }
    return out;
}

}  // namespace pelwick
