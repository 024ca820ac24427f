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
    // The picture folder, with its trailing separator; the program folder by default. The
    // slideshow lists it in the background (PictureFolderOf says which folder it lists).
    std::string ImagePath;
    // The user chose ImagePath (it came from the settings file, or differs from the default):
    // only then is it written. An unchosen folder is decided afresh at every start, so the
    // pictures folder a desktop makes later is found.
    bool ImagePathChosen = false;
    // How pictures are scaled: 0 shrink to fit, 1 original size, 2 fit, 3 stretch, 4 tile
    // small pictures and fit the rest. Stored as a byte: 260 reads as 4.
    std::uint8_t ImageSize = 4;
    // How long a cross-fade takes, 1 (fastest) to 5 (slowest); other values leave the
    // picture screen's own step and delay.
    std::int32_t EffectSpeed2 = 2;
    // Seconds from the end of one cross-fade to the start of the next.
    std::int32_t ImageInterval = 17;
    // 1: pictures in random order (never the same twice in a row); anything else: list order.
    std::uint8_t ImageSequence = 1;
    // Pictures smaller than the screen are placed at random.
    bool RandomPosition = false;
    // The names of the [feeds] section that [usefeed] leaves ticked, in the user's order.
    std::vector<std::string> FeedNames;
    // The next feed is chosen at random instead of in list order.
    bool RandomFeed = false;
    // Seconds each feed item stays current.
    std::int32_t BlogInterval = 12;
    // Read and written back; nothing uses them.
    bool Loop = false;
    bool Mute = false;
    // Moving the mouse (more than 20 moves within 3 seconds) ends the saver.
    bool MouseMoveExit = true;
    // A left or right click ends the saver.
    bool MousePressExit = true;
    // A key without a function of its own ends the saver.
    bool KeyboardPressExit = true;
    // The mouse never ends the saver, and any key without a function of its own does.
    bool ShowCursor = false;
    // Only Escape ends the saver (and Enter, which opens the item); the mouse never does.
    bool OnlyEscKeyExit = false;
    // How the slideshow changes pictures: 118 the cross-fade, 1..172 that transition style,
    // 0 a random built style for every picture. Other values read as 118.
    std::int32_t TransitionStyle = 118;
    // The picture list covers the folders below the picture folder too.
    bool ImageSubfolders = true;
    // Minutes a feed's stored copy is shown without asking its server; 0 asks at every pass.
    std::int32_t FeedRefresh = 30;
};

// The process-wide settings record and the settings file it came from. SettingsFile is
// empty until the first LoadSettings.
extern TRssSaverOptions SaverOptions;
extern std::unique_ptr<TSettingsFile> SettingsFile;

// The picture folder when the settings name none: the program folder, or for settings in the
// user's configuration folder the user's picture folder.
std::string DefaultImagePath();

// Reads ProgramFolder() + "Pelwick.ini" into SettingsFile and SaverOptions. Callers call it
// only while SettingsFile is empty.
void LoadSettings();

// Writes the option keys from SaverOptions and the whole file to disk. Raises
// EFileError when the file cannot be written; the file on disk is then unchanged.
void SaveSettings();

// Forgets the loaded settings so that the next LoadSettings reads the file again (tests).
void UnloadSettings();

// The "usefeed" filter; entry is a feed name or "name [address]".
bool IsFeedUsed(const std::string& entry);

// The folder the slideshow lists: ImagePath when that folder exists, else the program
// folder (whose pictures came with the program).
std::string PictureFolderOf(const TRssSaverOptions& options);

// Finds an existing file for path: as given, under imagePath (ImagePath when none is given),
// then under ProgramFolder; rewrites path to the file found.
bool ResolveImagePath(std::string& path);
bool ResolveImagePath(std::string& path, const std::string& imagePath);

// True when no mouse or key option ends the saver, so that any key must.
bool NoExitOptionSet();

}  // namespace pelwick
