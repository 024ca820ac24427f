#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"

namespace pelwick {

namespace {

struct TMemoryInput {
    std::string_view bytes;
    std::size_t at = 0;
};

int ReadInput(GifFileType* gif, GifByteType* buffer, int length) {
    auto* in = static_cast<TMemoryInput*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                                in->bytes.size() - in->at);
    std::memcpy(buffer, in->bytes.data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

struct TGifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Invalid GIF picture: " + why);
}

[[noreturn]] void FailWith(int code) {
    const char* text = GifErrorString(code);
    Fail(text ? text : "unknown error");
}

// The colour of a palette entry, or fallback for an index the table does not have.
TColor Lookup(const ColorMapObject* map, int index, TColor fallback) {
    if (!map || !map->Colors || index < 0 || index >= map->ColorCount) return fallback;
    const GifColorType& c = map->Colors[index];
    return RGB(c.Red, c.Green, c.Blue);
}

// A logical screen this large (a few bytes of file can claim 65535 x 65535) is made at a
// whole fraction of its size when it will be shown much smaller anyway.
constexpr std::uint64_t LargeScreenPixels = 4'000'000;

// Which columns and rows of the logical screen are made: every Width-th and Height-th.
TSize ScreenStep(int screenW, int screenH, const TDecodeTarget& target) {
    if (!target.Shrinks || target.Width <= 0 || target.Height <= 0) return {1, 1};
    if (std::uint64_t(screenW) * std::uint64_t(screenH) <= LargeScreenPixels) return {1, 1};
    const int tw = std::max(target.Width, 256), th = std::max(target.Height, 256);
    // Stretched to the target, each direction needs only the target's own size.
    if (target.Stretches) return {std::max(1, screenW / tw), std::max(1, screenH / th)};
    // Fitted, the proportions stay: one step for both directions that covers the target in
    // both, unless the screen is long and narrow (65535 x 1525), whose fitted picture is
    // bound by its long side: then as far as that allows and 256 pixels across (narrower, the
    // size mode would tile it instead of fitting it).
    int step = std::max(1, std::min(screenW / tw, screenH / th));
    if (std::uint64_t(screenW / step) * std::uint64_t(screenH / step) > LargeScreenPixels)
        step = std::max(
            step, std::min({std::max(screenW / tw, screenH / th), screenW / 256, screenH / 256}));
    return {step, step};
}

}  // namespace

TBitmap DecodeGif(std::string_view bytes, const TDecodeTarget& target) {
    if (bytes.empty()) Fail("the file is empty");
    const TColor background = ColorToRGB(target.Background);
    TMemoryInput input{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, ReadInput, &error));
    if (!gif) FailWith(error);
    const int screenW = gif->SWidth, screenH = gif->SHeight;
    if (screenW <= 0 || screenH <= 0) Fail("the logical screen is empty");
    if (static_cast<std::uint64_t>(screenW) * static_cast<std::uint64_t>(screenH) >
        MaxPicturePixels)
        Fail("the picture is too large");
    const TColor screenBackground = Lookup(gif->SColorMap, gif->SBackGroundColor, background);

    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) FailWith(gif->Error);
        if (type == TERMINATE_RECORD_TYPE) Fail("the file holds no image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) FailWith(gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 && (block[1] & 1))
                transparent = block[4];
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) FailWith(gif->Error);
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) FailWith(gif->Error);
        const GifImageDesc& desc = gif->Image;
        const int left = desc.Left, top = desc.Top, w = desc.Width, h = desc.Height;
        if (w <= 0 || h <= 0) Fail("the first image is empty");
        if (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > MaxPicturePixels)
            Fail("the first image is too large");
        // Rows below the logical screen are never decoded (but for interlaced images).
        const int rows = desc.Interlace ? h : std::clamp(screenH - top, 0, h);
        CheckPlausible("GIF", std::uint64_t(w), std::uint64_t(h), bytes.size(),
                       LeastPictureBytes(std::uint64_t(w) * std::uint64_t(rows), GifPixelsPerByte));
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;

        // Every dx-th column and dy-th row of the logical screen; 1 but for huge screens.
        const TSize step = ScreenStep(screenW, screenH, target);
        const int dx = step.Width, dy = step.Height;
        const int outW = (screenW + dx - 1) / dx, outH = (screenH + dy - 1) / dy;
        CheckHeldSize("GIF", std::uint64_t(outW), std::uint64_t(outH), target);
        std::vector<GifPixelType> line(static_cast<size_t>(w));
        // The screen is made once the image's first row has come: a file that ends after
        // its header costs nothing.
        bool first = rows > 0;
        if (first && DGifGetLine(gif.get(), line.data(), w) == GIF_ERROR) FailWith(gif->Error);
        TBitmap out(outW, outH, pf24bit);
        out.Canvas().Brush.Color = screenBackground;
        out.Canvas().FillRect(out.BoundsRect());
        // The image's colours, looked up once: 256 entries cover every possible index.
        std::uint8_t lut[256][3];
        for (int i = 0; i < 256; ++i) {
            const TColor c = i == transparent ? background : Lookup(map, i, screenBackground);
            lut[i][0] = GetBValue(c), lut[i][1] = GetGValue(c), lut[i][2] = GetRValue(c);
        }
        const int x0 = std::max(0, left), x1 = std::min(screenW, left + w);
        auto readRow = [&](int row) {
            if (!first && DGifGetLine(gif.get(), line.data(), w) == GIF_ERROR) FailWith(gif->Error);
            first = false;
            const int y = top + row;
            if (y < 0 || y >= screenH || x0 >= x1 || y % dy) return;
            std::uint8_t* to = out.ScanLine(y / dy);
            for (int x = (x0 + dx - 1) / dx * dx; x < x1; x += dx)
                std::memcpy(to + 3 * (x / dx), lut[line[x - left]], 3);
        };
        if (desc.Interlace) {
            // The interlaced passes: their first rows and their steps.
            static constexpr int PassStart[] = {0, 4, 2, 1}, PassStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = PassStart[pass]; row < h; row += PassStep[pass])
                    readRow(row);
        } else {
            for (int row = 0; row < rows; ++row)
                readRow(row);
        }
        return out;
    }
}

}  // namespace pelwick
