#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/SettingsFile.h"

namespace pelwick {

inline constexpr const char* SettingsFileName = "Pelwick.ini";

// Sections of the settings file. Options live under "set"; some keys have always been
// written under "Set", which is the same section since names match without case.
inline constexpr const char* FeedsSection = "feeds";
inline constexpr const char* UseFeedSection = "usefeed";
inline constexpr const char* OptionsSection = "set";
inline constexpr const char* OptionsSectionAlt = "Set";

struct TRssSaverOptions {
    std::vector<std::string> ImageFiles;
    std::string ImagePath;
    std::uint8_t ImageSize = 4;
    std::int32_t EffectSpeed2 = 2;
    std::int32_t ImageInterval = 17;
    std::uint8_t ImageSequence = 1;
    bool RandomPosition = false;
    std::vector<std::string> FeedNames;
    bool RandomFeed = false;
    std::int32_t BlogInterval = 12;
    bool Loop = false;
    bool Mute = false;
    bool MouseMoveExit = true;
    bool MousePressExit = true;
    bool KeyboardPressExit = true;
    bool ShowCursor = false;
    bool OnlyEscKeyExit = false;
};

// The process-wide settings record and the settings file it came from. SettingsFile is
// empty until the first LoadSettings.
extern TRssSaverOptions SaverOptions;
extern std::unique_ptr<TSettingsFile> SettingsFile;

// Reads ProgramFolder() + "Pelwick.ini" into SettingsFile and SaverOptions. Callers call it
// only while SettingsFile is empty.
void LoadSettings();

// Writes the fifteen option keys from SaverOptions and the whole file to disk. Raises
// EFileError when the file cannot be written; the file on disk is then unchanged.
void SaveSettings();

// Forgets the loaded settings so that the next LoadSettings reads the file again (tests).
void UnloadSettings();

// The "usefeed" filter; entry is a feed name or "name [address]".
bool IsFeedUsed(const std::string& entry);

// Appends the folder's JPEG, then GIF, then BMP files, each group sorted by name without
// regard to case, skipping paths already listed. folder carries its trailing separator.
void BuildImageList(const std::string& folder, std::vector<std::string>& list);

// Finds an existing file for path: as given, under ImagePath, then under ProgramFolder.
bool ResolveImagePath(std::string& path);

// True when no mouse or key option ends the saver, so that any key must.
bool NoExitOptionSet();

}  // namespace pelwick
