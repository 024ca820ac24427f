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

}  // namespace pelwick
