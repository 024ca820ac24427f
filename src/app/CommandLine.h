#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelwick {

// Run modes chosen by the screen-saver switches.
enum TRunMode : std::int32_t {
    rmOptions = 1,   // no switch, or P / A without a window id
    rmOptionsC = 2,  // C
    rmSaver = 3,     // S or any other letter
    rmPreview = 4,   // P and a window id
    rmNothing = 5,   // A and a window id
};

// Written once by ParseCommandLine, read afterwards.
extern std::int32_t RunMode;
extern std::int32_t PreviewParent;

// Remembers the process's arguments (main calls it first); argv[0] is the program.
void SetProcessArguments(int argc, char** argv);

// Sets RunMode and PreviewParent from the remembered process arguments.
void ParseCommandLine();
// The same from an explicit argument list (without the program name).
void ParseCommandLine(const std::vector<std::string>& args);

// A window id: a signed 32-bit decimal, or 0x-prefixed hexadecimal of up to 32 bits; 0 for
// anything else.
std::int32_t ParseWindowId(const std::string& text);

// What a screen-saver host asks of the full-screen mode beyond the switches: where to draw
// (a window of its own, or the root window) and the options of its settings dialog, which
// hold for this run only.
struct TSaverArguments {
    // -window-id ID or --window-id ID, else $XSCREENSAVER_WINDOW (hexadecimal with 0x, or
    // decimal); 0 for none.
    std::uint32_t Window = 0;
    // -root or --root: the root window, when no window is given.
    bool Root = false;
    std::string PictureFolder;  // --picture-folder DIR
    int ItemInterval = 0;       // --item-interval SECONDS, 0 when not given
    int PictureInterval = 0;    // --picture-interval SECONDS
};
// From an argument list (without the program name) and the host's window variable (may be
// null). Unknown arguments are left to the switches.
TSaverArguments ParseSaverArguments(const std::vector<std::string>& args, const char* hostWindow);
// The same from the remembered process arguments and the environment.
TSaverArguments ProcessSaverArguments();

// --help, -h or -? (help) and --version or -v (version) as the first argument: the program
// prints and ends, opening no window. They are not switch letters: people type them to ask.
enum TInfoRequest { irNone, irHelp, irVersion };
TInfoRequest InfoRequest(const std::vector<std::string>& args);
const std::vector<std::string>& ProcessArguments();

// The program's version ("0.1.0").
const char* ProgramVersion();

}  // namespace pelwick
