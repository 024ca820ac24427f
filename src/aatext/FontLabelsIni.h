#pragma once

#include "aatext/Labels.h"

namespace pelwick {

class TSettingsFile;

// Font labels in a settings file, one section per label in collection order: the section
// name is the label's name; "Face", "Height" (negative: character height, positive: cell
// height, in pixels), "Bold", "Italic", "Underline", "StrikeOut" (0 or 1), "Color"
// (0x00BBGGRR as a decimal number) and "Charset" give its font, and the keys of
// TAAEffect::LoadFromIni its effect. Missing keys keep the defaults of a new label.
void LoadFontLabels(const TSettingsFile& ini, TFontLabels& fonts);
void SaveFontLabels(const TFontLabels& fonts, TSettingsFile& ini);

}  // namespace pelwick
