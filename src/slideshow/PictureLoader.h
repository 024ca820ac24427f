#pragma once

#include <cstdint>
#include <string>

#include "gfx/Bitmap.h"

namespace pelwick {

class TCustomGlimrascreen;

// Turns a picture file into the picture the control brings on screen with its next
// transition: decodes it in the format its extension names (any letter case; the formats
// are the table PictureFormats of gfx/PictureDecoders.h), flattens a format that may be
// transparent onto the control's Color, scales it by the control's SizeMode, places a
// smaller one at random when RandomPlacement is set, and pads it so that it covers the
// previous picture. Any failure ends the procedure where it struck and is not passed on;
// what the picture holds then is what the last completed step left.
void LoadScreenPicture(TCustomGlimrascreen& control, const std::string& fileName);

// The same, reporting the failure: "" when every step ran, else the reason.
std::string TryLoadScreenPicture(TCustomGlimrascreen& control, const std::string& fileName);

// What of the control a picture is prepared for: a picture prepared away from the control
// fits it only while all of this is still so.
struct TPictureStage {
    int Width = 0, Height = 0;
    TColor Color = clBlack;
    std::uint8_t SizeMode = 0;
    bool RandomPlacement = false;
    // The size of the picture prepared before (PreviousPicture); 0 x 0 before the first.
    TSize Previous;

    bool operator==(const TPictureStage&) const = default;
};

TPictureStage StageOf(TCustomGlimrascreen& control);

// A picture made ready for a control without touching it, so that it can be made on
// another thread.
struct TPreparedPicture {
    std::string FileName;
    TPictureStage Stage;
    // What the control shows next: scaled, placed and padded.
    TBitmap Picture;
    // The same before padding, which the picture after it is compared with.
    TBitmap Unpadded;
    // Why it could not be made; "" when it was.
    std::string Error;
    // The file is gone and its format counts that as no failure: the control's own picture
    // goes through the steps again (LoadScreenPicture does that).
    bool Missing = false;

    bool Ready() const { return Error.empty() && !Missing; }
};

// Every step of LoadScreenPicture for a control in stage, on bitmaps of its own; a random
// placement takes its numbers from placementSeed. Never raises: a failure is in Error.
TPreparedPicture PreparePicture(const std::string& fileName, const TPictureStage& stage,
                                std::uint64_t placementSeed);

// Hands a ready picture to the control, by moving it: the picture and PreviousPicture
// become the prepared ones, the control is told once.
void TakePreparedPicture(TCustomGlimrascreen& control, TPreparedPicture&& prepared);

}  // namespace pelwick
