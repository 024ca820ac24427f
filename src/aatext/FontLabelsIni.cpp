#include "aatext/FontLabelsIni.h"

#include <algorithm>

#include "app/SettingsFile.h"

namespace pelwick {

void LoadFontLabels(const TSettingsFile& ini, TFontLabels& fonts) {
    TFontLabels loaded;
    for (const std::string& section : ini.SectionNames()) {
        if (loaded.IndexOf(section) >= 0) continue;  // the file's first section of a name counts
        TFontLabel& label = loaded.Add();
        label.SetName(section);
        TFont font = label.Font();
        font.Name = ini.ReadString(section, "Face", font.Name);
        font.Height = ini.ReadInteger(section, "Height", font.Height);
        font.Size = ini.ReadInteger(section, "Size", font.Size);
        font.Bold = ini.ReadBool(section, "Bold", font.Bold);
        font.Italic = ini.ReadBool(section, "Italic", font.Italic);
        font.Underline = ini.ReadBool(section, "Underline", font.Underline);
        font.StrikeOut = ini.ReadBool(section, "StrikeOut", font.StrikeOut);
        font.Color =
            static_cast<TColor>(ini.ReadInteger(section, "Color", static_cast<int>(font.Color)));
        font.Charset = static_cast<std::uint8_t>(
            std::clamp(ini.ReadInteger(section, "Charset", font.Charset), 0, 255));
        label.SetFont(font);
        label.Effect().LoadFromIni(ini, section);
    }
    fonts.Assign(loaded);
}

void SaveFontLabels(const TFontLabels& fonts, TSettingsFile& ini) {
    for (int i = 0; i < fonts.Count(); ++i) {
        const TFontLabel& label = fonts[i];
        const std::string& section = label.Name();
        const TFont& font = label.Font();
        ini.WriteString(section, "Face", font.Name);
        ini.WriteInteger(section, "Height", font.Height);
        ini.WriteInteger(section, "Size", font.Size);
        ini.WriteBool(section, "Bold", font.Bold);
        ini.WriteBool(section, "Italic", font.Italic);
        ini.WriteBool(section, "Underline", font.Underline);
        ini.WriteBool(section, "StrikeOut", font.StrikeOut);
        ini.WriteInteger(section, "Color", static_cast<int>(font.Color));
        ini.WriteInteger(section, "Charset", font.Charset);
        label.Effect().SaveToIni(ini, section);
    }
}

}  // namespace pelwick
