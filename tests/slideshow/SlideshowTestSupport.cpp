#include "SlideshowTestSupport.h"

#include <gtest/gtest.h>

#include "app/Files.h"
#include "gfx/BmpEncoder.h"
#include "gfx/Rounding.h"
#include "support/TestSupport.h"

namespace pelwick::test {

std::string DataFile(const std::string& name) {
    return std::string(PELWICK_SLIDESHOW_DATA) + name;
}

std::string ReadData(const std::string& name) {
    return ReadFileBytes(DataFile(name));
}

TBitmap Solid(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect(b.BoundsRect());
    return b;
}

TBitmap Pattern(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 7 + y * 3);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(x);
        }
    }
    return b;
}

void WritePicture(const std::string& path, const TBitmap& bitmap) {
    WriteFile(path, EncodeBmp(bitmap));
}

void ShowAtOnce(TCustomGlimrascreen& control, const TBitmap& bitmap) {
    const bool manual = control.Manual();
    control.Picture().SetBitmap(bitmap);
    control.SetManual(true);
    control.StartTransition();
    control.SetProgress(100);
    control.StopTransition();
    control.SetManual(manual);
}

TPoint ProgressXY(int w, int h, int p) {
    if (h > w) {
        const int y = MulDiv(h, p, 100);
        return TPoint{MulDiv(y, w, h), y};
    }
    const int x = MulDiv(w, p, 100);
    return TPoint{x, MulDiv(x, h, w)};
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

bool ShowsAt(const TCustomGlimrascreen& control, const TBitmap& bitmap, int x, int y) {
    const TBitmap& buffer = control.PaintBuffer();
    for (int by = 0; by < bitmap.Height(); ++by)
        for (int bx = 0; bx < bitmap.Width(); ++bx) {
            const int px = x + bx, py = y + by;
            if (px < 0 || py < 0 || px >= buffer.Width() || py >= buffer.Height()) continue;
            if (buffer.Pixel(px, py) != bitmap.Pixel(bx, by)) return false;
        }
    return true;
}

}  // namespace pelwick::test
