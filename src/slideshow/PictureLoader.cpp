#include "slideshow/PictureLoader.h"

#include <algorithm>

#include "app/Files.h"
#include "app/Process.h"
#include "gfx/PictureDecoders.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {

namespace {

TBitmap Canvas(int width, int height, TColor color) {
    if (width <= 0 || height <= 0) throw Exception("The control has no area to show a picture in");
    TBitmap b(width, height, pf24bit);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect(b.BoundsRect());
    return b;
}

TBitmap Stretched(const TBitmap& picture, int width, int height) {
    TBitmap b = TBitmap::Uninitialized(width, height, pf24bit);
    b.Canvas().StretchMode = smHalftone;
    b.Canvas().StretchDraw(b.BoundsRect(), picture);
    return b;
}

// What the size mode will make of a picture: the decoders need not make it any larger.
TDecodeTarget TargetOf(const TCustomGlimrascreen& control) {
    const int mode = control.SizeMode();
    const bool shrinks =
        mode == szShrinkToFit || mode == szFit || mode == szStretch || mode == szTileOrFit;
    return TDecodeTarget{control.width(), control.height(), shrinks, control.Color()};
}

// Decodes the file into the control's picture, in the format its extension names.
const TPictureFormat& Decode(TCustomGlimrascreen& control, const std::string& fileName) {
    const TPictureFormat& format = PictureFormatOf(fileName);
    TPicture& picture = control.Picture();
    picture.ForceBitmap();
    if (format.MissingIsNoFailure && !FileExists(fileName)) return format;
    picture.SetBitmap(DecodePictureFile(format, fileName, TargetOf(control)));
    return format;
}

void Scale(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    const int w = picture.Width(), h = picture.Height();
    const int cw = control.width(), ch = control.height();
    int mode = control.SizeMode();
    if (mode == szTileOrFit) {
        if (h < 250 || w < 250) {
            TBitmap tiled = Canvas(cw, ch, control.Color());
            tiled.Canvas().FillPattern(tiled.BoundsRect(), *picture.Bitmap());
            picture.SetBitmap(std::move(tiled));
            return;
        }
        mode = szFit;
    }
    if (mode == szShrinkToFit || mode == szFit) {
        if (mode == szShrinkToFit && w <= cw && h <= ch) return;
        if (cw <= 0 || ch <= 0) throw Exception("The control has no area to fit a picture in");
        // Extended precision, as the sizes have always been computed.
        const long double fw = w, fh = h, fcw = cw, fch = ch;
        int nw, nh;
        if ((fw - fcw) / fcw > (fh - fch) / fch) {
            nw = cw;
            nh = static_cast<int>(fh / (fw / fcw));
        } else {
            nw = static_cast<int>(fw / (fh / fch));
            nh = ch;
        }
        // A sliver of a picture keeps at least one pixel instead of vanishing.
        picture.SetBitmap(Stretched(*picture.Bitmap(), std::max(nw, 1), std::max(nh, 1)));
    } else if (mode == szStretch) {
        if (cw <= 0 || ch <= 0) throw Exception("The control has no area to stretch a picture to");
        picture.SetBitmap(Stretched(*picture.Bitmap(), cw, ch));
    } else if (mode == szOriginal) {
        if (w <= cw && h <= ch) return;
        auto span = [](int size, int target, int& destOffset, int& srcOffset, int& length) {
            if (size > target) {
                destOffset = 0, srcOffset = (size - target) / 2, length = target;
            } else {
                destOffset = (target - size) / 2, srcOffset = 0, length = size;
            }
        };
        int dx, sx, lw, dy, sy, lh;
        span(w, cw, dx, sx, lw);
        span(h, ch, dy, sy, lh);
        TBitmap cut = Canvas(cw, ch, control.Color());
        cut.Canvas().CopyRect(TRect{dx, dy, dx + lw, dy + lh}, *picture.Bitmap(),
                              TRect{sx, sy, sx + lw, sy + lh});
        picture.SetBitmap(std::move(cut));
    }
}

void PlaceAtRandom(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    const int w = picture.Width(), h = picture.Height();
    const int cw = control.width(), ch = control.height();
    if (!control.RandomPlacement() || (w >= cw && h >= ch)) return;
    // A dimension in which the picture is larger than the control (only with size modes
    // that do not scale) gets offset 0.
    const int x = Random(std::max(cw - w, 0));
    const int y = Random(std::max(ch - h, 0));
    TBitmap placed = Canvas(cw, ch, control.Color());
    placed.Canvas().Draw(x, y, *picture.Bitmap());
    picture.SetBitmap(std::move(placed));
}

void RememberAndPad(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    if (!control.PreviousPicture()) control.SetPreviousPicture(picture);
    const int pw = control.PreviousPicture()->Width(), ph = control.PreviousPicture()->Height();
    const int w = picture.Width(), h = picture.Height();
    if (pw > w || ph > h) {
        TBitmap padded = Canvas(std::max(w, pw) + 3, std::max(h, ph) + 3, control.Color());
        padded.Canvas().Draw((padded.Width() - w) / 2 + 1, (padded.Height() - h) / 2 + 1,
                             *picture.Bitmap());
        control.SetPreviousPicture(picture);
        picture.SetBitmap(std::move(padded));
    } else {
        control.SetPreviousPicture(picture);
    }
}

}  // namespace

std::string TryLoadScreenPicture(TCustomGlimrascreen& control, const std::string& fileName) {
    try {
        const TPictureFormat& format = Decode(control, fileName);
        TPicture& picture = control.Picture();
        if (!picture.HasImage()) return "";  // nothing decoded and nothing held before
        if (format.Transparency) {
            TBitmap flat = Canvas(picture.Width(), picture.Height(), control.Color());
            flat.Canvas().Draw(0, 0, *picture.Bitmap());
            picture.SetBitmap(std::move(flat));
        }
        Scale(control);
        PlaceAtRandom(control);
        RememberAndPad(control);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

void LoadScreenPicture(TCustomGlimrascreen& control, const std::string& fileName) {
    // The slideshow goes on with the picture it has; a bad file is simply not shown.
    (void)TryLoadScreenPicture(control, fileName);
}

}  // namespace pelwick
