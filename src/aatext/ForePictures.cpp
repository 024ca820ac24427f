#include "aatext/ForePictures.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "app/Process.h"

namespace pelwick {

namespace {

// Makes picture a 24-bit bitmap of the size; its pixels are left for the caller to write.
void Prepare(TBitmap& picture, int width, int height) {
    if (picture.Width() != width || picture.Height() != height || picture.PixelFormat() != pf24bit)
        picture = TBitmap::Uninitialized(std::max(width, 0), std::max(height, 0), pf24bit);
}

std::uint8_t Jitter(int value, int noise) {
    return static_cast<std::uint8_t>(std::clamp(value + Random(noise) - noise / 2, 0, 255));
}

}  // namespace

void PlacePicture(TBitmap& target, const TBitmap& picture, TTextureMode mode) {
    if (picture.Empty() || target.Empty()) return;
    TCanvas& canvas = target.Canvas();
    switch (mode) {
        case tmTiled:
            canvas.FillPattern(target.BoundsRect(), picture);
            break;
        case tmStretched:
            canvas.StretchDraw(target.BoundsRect(), picture);
            break;
        case tmCenter:
            canvas.Draw((target.Width() - picture.Width()) / 2,
                        (target.Height() - picture.Height()) / 2, picture);
            break;
        case tmNormal:
            canvas.Draw(0, 0, picture);
            break;
    }
}

void BuildGradient(TBitmap& picture, int width, int height, const TAAGradual& gradual, int left,
                   int fullWidth) {
    Prepare(picture, width, height);
    if (picture.Empty()) return;
    const TAAGradual::TGradualStyle style = gradual.Style();
    const bool alongWidth = style == TAAGradual::gsLeftToRight ||
                            style == TAAGradual::gsRightToLeft || style == TAAGradual::gsCenterToLR;
    const bool centre = style == TAAGradual::gsCenterToLR || style == TAAGradual::gsCenterToTB;
    if (!alongWidth || fullWidth < left + width) left = 0, fullWidth = width;
    const int length = alongWidth ? fullWidth : height;
    const int steps = centre ? (length + 1) / 2 : length;
    const bool forward = style == TAAGradual::gsLeftToRight || style == TAAGradual::gsTopToBottom;
    const TColor c1 = ColorToRGB(forward ? gradual.StartColor() : gradual.EndColor());
    const TColor c2 = ColorToRGB(forward ? gradual.EndColor() : gradual.StartColor());
    const int r1 = GetRValue(c1), g1 = GetGValue(c1), b1 = GetBValue(c1);
    const int dr = GetRValue(c2) - r1, dg = GetGValue(c2) - g1, db = GetBValue(c2) - b1;

    // Each entry as blue, green, red; integer division truncates, so c2 is never reached.
    std::vector<std::array<std::uint8_t, 3>> ramp(static_cast<std::size_t>(length));
    for (int i = 0; i < steps; ++i)
        ramp[i] = {std::uint8_t(b1 + i * db / steps), std::uint8_t(g1 + i * dg / steps),
                   std::uint8_t(r1 + i * dr / steps)};
    if (centre)
        for (int i = 0; i < steps; ++i)
            ramp[length - 1 - i] = ramp[i];

    // Along the width every row is the same; along the height every row is one colour.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        if (alongWidth && y > 0) {
            std::memcpy(row, picture.ScanLine(0), static_cast<std::size_t>(width) * 3);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const auto& e = ramp[alongWidth ? left + x : y];
            row[3 * x] = e[0];
            row[3 * x + 1] = e[1];
            row[3 * x + 2] = e[2];
        }
    }
}

void BuildTexture(TBitmap& picture, int width, int height, TColor fontColor,
                  const TAATexture& texture) {
    Prepare(picture, width, height);
    picture.Canvas().SetClipRegion(nullptr);
    picture.Canvas().Brush = TBrush{TBrush::bsSolid, fontColor};
    picture.Canvas().FillRect(picture.BoundsRect());
    if (const TBitmap* source = texture.Picture().Bitmap())
        PlacePicture(picture, *source, texture.Mode());
}

void BuildNoise(TBitmap& picture, int width, int height, TColor fontColor, int noise) {
    Prepare(picture, width, height);
    const TColor c = ColorToRGB(fontColor);
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t r = Jitter(GetRValue(c), noise);
            const std::uint8_t g = Jitter(GetGValue(c), noise);
            row[3 * x] = Jitter(GetBValue(c), noise);
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
        }
    }
}

void AddNoise(TBitmap& picture, int noise) {
    if (picture.PixelFormat() != pf24bit) picture.SetPixelFormat(pf24bit);
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) {
            std::uint8_t* p = row + 3 * x;
            const std::uint8_t r = Jitter(p[2], noise);
            const std::uint8_t g = Jitter(p[1], noise);
            p[0] = Jitter(p[0], noise);
            p[1] = g;
            p[2] = r;
        }
    }
}

}  // namespace pelwick
