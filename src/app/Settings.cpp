#include "app/Settings.h"

#include "app/Files.h"
#include "app/Process.h"
#include "app/Strings.h"

namespace pelwick {

TRssSaverOptions SaverOptions;
std::unique_ptr<TSettingsFile> SettingsFile;

namespace {

std::uint8_t ToByte(int value) {
    return std::uint8_t(unsigned(value) & 0xFFu);
}

// The transition styles are numbered up to 172; 0 picks one at random.
constexpr int LastTransitionStyle = 172;
constexpr int CrossFadeStyle = 118;

}  // namespace

bool IsFeedUsed(const std::string& entry) {
    const std::string name = entry.substr(0, entry.find(" ["));
    return !SettingsFile || SettingsFile->ReadBool(UseFeedSection, name, true);
}

std::string PictureFolderOf(const TRssSaverOptions& options) {
    return DirectoryExists(options.ImagePath) ? options.ImagePath : ProgramFolder();
}

std::string DefaultImagePath() {
    std::string program = ProgramFolder();
    // Settings in the user's configuration folder belong to an installed program, whose
    // folders hold no pictures: the user's own picture folder is where they are.
    if (program == UserConfigFolder()) {
        std::string pictures = GetShellFolder("My Pictures");
        if (!pictures.empty() && DirectoryExists(pictures)) return pictures;
    }
    return program;
}

void LoadSettings() {
    Randomize();
    SettingsFile = std::make_unique<TSettingsFile>(ProgramFolder() + SettingsFileName);
    const TSettingsFile& ini = *SettingsFile;
    TRssSaverOptions& o = SaverOptions;

    std::vector<std::string> names = ini.ReadSection(FeedsSection);
    o.FeedNames.insert(o.FeedNames.end(), names.begin(), names.end());
    for (size_t i = o.FeedNames.size(); i-- > 0;)
        if (!IsFeedUsed(o.FeedNames[i])) o.FeedNames.erase(o.FeedNames.begin() + i);

    o.EffectSpeed2 = ini.ReadInteger(OptionsSectionAlt, "EffectSpeed2", 2);
    const std::string stored = ini.ReadString(OptionsSection, "ImagePath", "");
    // Earlier versions stored an installed program's settings folder as the picture folder
    // when the user had none: that was never a choice.
    o.ImagePathChosen =
        !stored.empty() && !(stored == ProgramFolder() && stored == UserConfigFolder());
    o.ImagePath = o.ImagePathChosen ? stored : DefaultImagePath();
    o.ImageSize = ToByte(ini.ReadInteger(OptionsSectionAlt, "ImageSize", 4));
    o.ImageInterval = ini.ReadInteger(OptionsSectionAlt, "ImageInterval", 17);
    o.ImageSequence = ToByte(ini.ReadInteger(OptionsSectionAlt, "ImageSequence", 1));
    o.RandomPosition = ini.ReadBool(OptionsSectionAlt, "RandomPosition", false);
    o.BlogInterval = ini.ReadInteger(OptionsSectionAlt, "BlogInterval", 12);
    o.RandomFeed = ini.ReadBool(OptionsSectionAlt, "RandomFeed", false);

    o.Loop = ini.ReadBool(OptionsSection, "Loop", false);
    o.Mute = ini.ReadBool(OptionsSection, "Mute", false);
    o.MouseMoveExit = ini.ReadBool(OptionsSection, "MouseMoveExit", true);
    o.MousePressExit = ini.ReadBool(OptionsSection, "MousePressExit", true);
    o.KeyboardPressExit = ini.ReadBool(OptionsSection, "KeyboardPressExit", true);
    o.ShowCursor = ini.ReadBool(OptionsSection, "ShowCursor", false);
    o.OnlyEscKeyExit = ini.ReadBool(OptionsSection, "OnlyEscKeyExit", false);
    o.TransitionStyle = ini.ReadInteger(OptionsSection, "TransitionStyle", CrossFadeStyle);
    if (o.TransitionStyle < 0 || o.TransitionStyle > LastTransitionStyle)
        o.TransitionStyle = CrossFadeStyle;
    o.ImageSubfolders = ini.ReadBool(OptionsSection, "ImageSubfolders", true);
    o.FeedRefresh = ini.ReadInteger(OptionsSection, "FeedRefresh", 30);
    if (o.FeedRefresh < 0) o.FeedRefresh = 30;
}

void SaveSettings() {
    if (!SettingsFile)
        SettingsFile = std::make_unique<TSettingsFile>(ProgramFolder() + SettingsFileName);
    TSettingsFile& ini = *SettingsFile;
    const TRssSaverOptions& o = SaverOptions;
    ini.AddSection(OptionsSection);  // named as it always was, whichever key comes first
    if (o.ImagePathChosen || o.ImagePath != DefaultImagePath())
        ini.WriteString(OptionsSection, "ImagePath", o.ImagePath);
    else
        ini.DeleteKey(OptionsSection, "ImagePath");
    ini.WriteInteger(OptionsSectionAlt, "EffectSpeed2", o.EffectSpeed2);
    ini.WriteInteger(OptionsSectionAlt, "ImageSize", o.ImageSize);
    ini.WriteInteger(OptionsSectionAlt, "ImageInterval", o.ImageInterval);
    ini.WriteInteger(OptionsSectionAlt, "ImageSequence", o.ImageSequence);
    ini.WriteBool(OptionsSectionAlt, "RandomPosition", o.RandomPosition);
    ini.WriteInteger(OptionsSectionAlt, "BlogInterval", o.BlogInterval);
    ini.WriteBool(OptionsSectionAlt, "RandomFeed", o.RandomFeed);
    ini.WriteBool(OptionsSection, "Loop", o.Loop);
    ini.WriteBool(OptionsSection, "Mute", o.Mute);
    ini.WriteBool(OptionsSection, "MouseMoveExit", o.MouseMoveExit);
    ini.WriteBool(OptionsSection, "MousePressExit", o.MousePressExit);
    ini.WriteBool(OptionsSection, "KeyboardPressExit", o.KeyboardPressExit);
    ini.WriteBool(OptionsSection, "ShowCursor", o.ShowCursor);
    ini.WriteBool(OptionsSection, "OnlyEscKeyExit", o.OnlyEscKeyExit);
    ini.WriteInteger(OptionsSection, "TransitionStyle", o.TransitionStyle);
    ini.WriteBool(OptionsSection, "ImageSubfolders", o.ImageSubfolders);
    ini.WriteInteger(OptionsSection, "FeedRefresh", o.FeedRefresh);
    // The user's configuration folder is made by the first save.
    const std::size_t slash = ini.FileName().find_last_of(PathDelim);
    if (slash != std::string::npos) ForceFolders(ini.FileName().substr(0, slash + 1));
    ini.UpdateFile();
}

void UnloadSettings() {
    SettingsFile.reset();
    SaverOptions = TRssSaverOptions{};
}

bool ResolveImagePath(std::string& path) {
    return ResolveImagePath(path, SaverOptions.ImagePath);
}

bool ResolveImagePath(std::string& path, const std::string& imagePath) {
    if (FileExists(path)) return true;
    for (const std::string& base : {imagePath, ProgramFolder()}) {
        std::string full = base;
        full += path;
        if (FileExists(full)) {
            path = std::move(full);
            return true;
        }
    }
    return false;
}

bool NoExitOptionSet() {
    const TRssSaverOptions& o = SaverOptions;
    return !o.MouseMoveExit && !o.MousePressExit && !o.KeyboardPressExit && !o.OnlyEscKeyExit;
}

}  // namespace pelwick
