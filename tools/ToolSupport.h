// What the command-line tools share: failing with the tool's own name and usage, reading the
// command line and numeric options, and writing pictures. Each tool calls SetTool first thing
// in main.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QImage;

namespace pelwick {

// name prefixes every message; usage (may be null) follows messages that end with status 2.
void SetTool(const char* name, const char* usage);

[[noreturn]] void Fail(const std::string& message, int code = 1);

// --help or -h anywhere prints the usage on standard output and --version the tool's name
// and the program's version; either ends the tool with status 0.
void HandleInfoOptions(int argc, char** argv);

// Takes the value of the option being read: the next word of the command line, else a usage
// failure "OPTION needs a value".
using TOptionValue = std::function<std::string()>;
// Reads the command line: --help and -h print the usage and end the tool with status 0; every
// other word that starts with "-" (but "-" alone) goes to onOption, which answers false for an
// option it does not know (a usage failure "unknown option X"). Returns the other words in order.
std::vector<std::string> ReadArguments(
    int argc, char** argv,
    const std::function<bool(const std::string& option, const TOptionValue& value)>& onOption);

// The whole number in text within low..high, else a usage failure naming option.
int Number(const std::string& option, const std::string& text, int low, int high);

// The extension of path's file name in lower case, "" when it has none.
std::string LowerExtension(const std::string& path);

// "PNG", "BMP" or "PPM" by path's extension, nullptr for anything else.
const char* PictureFormat(const std::string& path);

// Replaces path atomically, so a failed run never leaves half a picture behind. Raises
// Exception when the picture cannot be encoded or written.
void WritePicture(const QImage& image, const std::string& path, const char* format);

// Drawing happens in memory: no display is needed, and Qt's notes about the desktop it runs
// without do not concern the tool's user, so only Qt's real errors reach stderr.
void UseOffscreenQt();

}  // namespace pelwick
