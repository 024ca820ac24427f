#include "slideshow/PictureLoader.h"

#include <algorithm>
#include <optional>

#include "app/Files.h"
#include "app/Process.h"
#include "gfx/PictureDecoders.h"
#include "gfx/RandomSequence.h"
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

// What the size mode will make of a picture: the decoders need not make it any larger, nor
// hold more of it than the screen's pixel limit.
TDecodeTarget TargetOf(const TPictureStage& stage) {
    const int mode = stage.SizeMode;
    const bool shrinks =
        mode == szShrinkToFit || mode == szFit || mode == szStretch || mode == szTileOrFit;
    return TDecodeTarget{stage.Width,
                         stage.Height,
                         shrinks,
                         stage.Color,
                         ScreenPixelLimit(stage.Width, stage.Height),
                         mode == szStretch};
}

// Decodes the file into the control's picture, in the format its extension names.
const TPictureFormat& Decode(TCustomGlimrascreen& control, const std::string& fileName) {
    const TPictureFormat& format = PictureFormatOf(fileName);
    TPicture& picture = control.Picture();
    picture.ForceBitmap();
    if (format.MissingIsNoFailure && !FileExists(fileName)) return format;
    picture.SetBitmap(DecodePictureFile(format, fileName, TargetOf(StageOf(control))));
    return format;
}

TBitmap Flattened(const TBitmap& picture, TColor color) {
    TBitmap flat = Canvas(picture.Width(), picture.Height(), color);
    flat.Canvas().Draw(0, 0, picture);
    return flat;
}

// The picture as the size mode makes it; nothing when the mode leaves it as it is.
std::optional<TBitmap> Scaled(const TBitmap& picture, const TPictureStage& stage) {
    const int w = picture.Width(), h = picture.Height();
    const int cw = stage.Width, ch = stage.Height;
    int mode = stage.SizeMode;
    if (mode == szTileOrFit) {
        if (h < 250 || w < 250) {
            TBitmap tiled = Canvas(cw, ch, stage.Color);
            tiled.Canvas().FillPattern(tiled.BoundsRect(), picture);
            return tiled;
        }
        mode = szFit;
    }
    if (mode == szShrinkToFit || mode == szFit) {
        if (mode == szShrinkToFit && w <= cw && h <= ch) return std::nullopt;
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
        return Stretched(picture, std::max(nw, 1), std::max(nh, 1));
    }
    if (mode == szStretch) {
        if (cw <= 0 || ch <= 0) throw Exception("The control has no area to stretch a picture to");
        return Stretched(picture, cw, ch);
    }
    if (mode != szOriginal || (w <= cw && h <= ch)) return std::nullopt;
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
    TBitmap cut = Canvas(cw, ch, stage.Color);
    cut.Canvas().CopyRect(TRect{dx, dy, dx + lw, dy + lh}, picture,
                          TRect{sx, sy, sx + lw, sy + lh});
    return cut;
}

// The picture on a control-sized canvas at a random place; nothing when it is not smaller.
template <class TRandom>
std::optional<TBitmap> PlacedAtRandom(const TBitmap& picture, const TPictureStage& stage,
                                      TRandom&& random) {
    const int w = picture.Width(), h = picture.Height();
    const int cw = stage.Width, ch = stage.Height;
    if (!stage.RandomPlacement || (w >= cw && h >= ch)) return std::nullopt;
    // A dimension in which the picture is larger than the control (only with size modes
    // that do not scale) gets offset 0.
    const int x = random(std::max(cw - w, 0));
    const int y = random(std::max(ch - h, 0));
    TBitmap placed = Canvas(cw, ch, stage.Color);
    placed.Canvas().Draw(x, y, picture);
    return placed;
}

// The picture in the middle of a canvas that covers the previous one; nothing when it
// covers it itself.
std::optional<TBitmap> Padded(const TBitmap& picture, TSize previous, TColor color) {
    const int w = picture.Width(), h = picture.Height();
    if (previous.Width <= w && previous.Height <= h) return std::nullopt;
    TBitmap padded =
        Canvas(std::max(w, previous.Width) + 3, std::max(h, previous.Height) + 3, color);
    padded.Canvas().Draw((padded.Width() - w) / 2 + 1, (padded.Height() - h) / 2 + 1, picture);
    return padded;
}

void Scale(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    if (std::optional<TBitmap> scaled = Scaled(*picture.Bitmap(), StageOf(control)))
        picture.SetBitmap(std::move(*scaled));
}

void PlaceAtRandom(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    if (std::optional<TBitmap> placed = PlacedAtRandom(*picture.Bitmap(), StageOf(control), Random))
        picture.SetBitmap(std::move(*placed));
}

void RememberAndPad(TCustomGlimrascreen& control) {
    TPicture& picture = control.Picture();
    if (!control.PreviousPicture()) control.SetPreviousPicture(picture);
    const TSize previous{control.PreviousPicture()->Width(), control.PreviousPicture()->Height()};
    std::optional<TBitmap> padded = Padded(*picture.Bitmap(), previous, control.Color());
    control.SetPreviousPicture(picture);
    if (padded) picture.SetBitmap(std::move(*padded));
}

void Prepare(TPreparedPicture& r, std::uint64_t placementSeed) {
    const TPictureFormat& format = PictureFormatOf(r.FileName);
    if (format.MissingIsNoFailure && !FileExists(r.FileName)) {
        r.Missing = true;
        return;
    }
    const TPictureStage& stage = r.Stage;
    TBitmap b = DecodePictureFile(format, r.FileName, TargetOf(stage));
    if (b.Empty()) throw EInvalidGraphic("The picture has no pixels");
    if (format.Transparency) b = Flattened(b, stage.Color);
    if (std::optional<TBitmap> scaled = Scaled(b, stage)) b = std::move(*scaled);
    TRandomSequence random(placementSeed);
    if (std::optional<TBitmap> placed =
            PlacedAtRandom(b, stage, [&](int n) { return random.Next(n); }))
        b = std::move(*placed);
    const TSize previous = stage.Previous.Width > 0 ? stage.Previous : TSize{b.Width(), b.Height()};
    std::optional<TBitmap> padded = Padded(b, previous, stage.Color);
    if (padded) {
        r.Picture = std::move(*padded);
        r.Unpadded = std::move(b);
    } else {
        r.Unpadded = b;
        r.Picture = std::move(b);
    }
}

}  // namespace

std::string TryLoadScreenPicture(TCustomGlimrascreen& control, const std::string& fileName) {
    try {
        const TPictureFormat& format = Decode(control, fileName);
        TPicture& picture = control.Picture();
        if (!picture.HasImage()) return "";  // nothing decoded and nothing held before
        if (format.Transparency) picture.SetBitmap(Flattened(*picture.Bitmap(), control.Color()));
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

TPictureStage StageOf(TCustomGlimrascreen& control) {
    const TPicture* previous = control.PreviousPicture();
    return TPictureStage{control.width(),
                         control.height(),
                         control.Color(),
                         control.SizeMode(),
                         control.RandomPlacement(),
                         previous ? TSize{previous->Width(), previous->Height()} : TSize{}};
}

TPreparedPicture PreparePicture(const std::string& fileName, const TPictureStage& stage,
                                std::uint64_t placementSeed) {
    TPreparedPicture r;
    r.FileName = fileName;
    r.Stage = stage;
    try {
        Prepare(r, placementSeed);
    } catch (const std::exception& e) {
        // Reported to whoever takes it: the control keeps the picture it has.
        r.Error = e.what();
        if (r.Error.empty()) r.Error = "The picture could not be prepared";
        r.Picture = TBitmap();
        r.Unpadded = TBitmap();
    }
    return r;
}

void TakePreparedPicture(TCustomGlimrascreen& control, TPreparedPicture&& prepared) {
    control.SetPreviousPicture(std::move(prepared.Unpadded));
    control.Picture().SetBitmap(std::move(prepared.Picture));
}

}  // namespace pelwick
