// What the command-line tools share: failing with the tool's own name and usage, reading
// numeric options, and writing pictures. Each tool calls SetTool first thing in main.
#pragma once

#include <string>

class QImage;

namespace pelwick {

// name prefixes every message; usage (may be null) follows messages that end with status 2.
void SetTool(const char* name, const char* usage);

[[noreturn]] void Fail(const std::string& message, int code = 1);

// --help anywhere prints the usage on standard output and --version the tool's name and the
// program's version; either ends the tool with status 0.
void HandleInfoOptions(int argc, char** argv);

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
