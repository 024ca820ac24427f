#include "ToolSupport.h"

#include <QBuffer>
#include <QImage>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "app/Exception.h"
#include "app/Files.h"

namespace pelwick {

namespace {
const char* toolName = "";
const char* toolUsage = nullptr;
}  // namespace

void SetTool(const char* name, const char* usage) {
    toolName = name;
    toolUsage = usage;
}

void Fail(const std::string& message, int code) {
    std::fprintf(stderr, "%s: %s\n", toolName, message.c_str());
    if (code == 2 && toolUsage) std::fputs(toolUsage, stderr);
    std::exit(code);
}

void HandleInfoOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            if (toolUsage) std::fputs(toolUsage, stdout);
            std::exit(0);
        }
        if (arg == "--version") {
            std::printf("%s %s\n", toolName, ProgramVersion());
            std::exit(0);
        }
    }
}

std::vector<std::string> ReadArguments(
    int argc, char** argv,
    const std::function<bool(const std::string& option, const TOptionValue& value)>& onOption) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const TOptionValue value = [&]() -> std::string {
            if (i + 1 >= argc) Fail(arg + " needs a value", 2);
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            if (toolUsage) std::fputs(toolUsage, stdout);
            std::exit(0);
        }
        if (arg.size() > 1 && arg[0] == '-') {
            if (!onOption(arg, value)) Fail("unknown option " + arg, 2);
        } else {
            words.push_back(arg);
        }
    }
    return words;
}

int Number(const std::string& option, const std::string& text, int low, int high) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || v < low || v > high)
        Fail(option + " wants a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + text + "\"",
             2);
    return static_cast<int>(v);
}

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of("/\\"), dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

const char* PictureFormat(const std::string& path) {
    const std::string ext = LowerExtension(path);
    return ext == "png" ? "PNG" : ext == "bmp" ? "BMP" : ext == "ppm" ? "PPM" : nullptr;
}

void WritePicture(const QImage& image, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) throw Exception("cannot encode the picture");
    WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

void UseOffscreenQt() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s: %s\n", toolName, qPrintable(text));
    });
}

}  // namespace pelwick
