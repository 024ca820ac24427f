#pragma once

#include <string>

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

}  // namespace pelwick
