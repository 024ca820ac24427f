#pragma once

namespace pelwick {

// Qt draws at the scale a desktop sets (its Xft.dpi, or QT_SCALE_FACTOR), but a dense screen
// whose desktop says nothing would show the wall at a quarter of its share on a 3840 x 2160
// screen. Before the application object exists, this gives such a screen the whole-number
// scale of its physical density, unless the environment already chose one.
void ChooseScreenScale();

// The scale for a screen of dpi dots per inch: 1 up to 144 dpi, then dpi / 96 rounded,
// at most 3 (a monitor reporting a few millimetres would otherwise be scaled absurdly).
int ScaleForDpi(double dpi);

}  // namespace pelwick
