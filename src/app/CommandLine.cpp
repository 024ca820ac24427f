#include "app/CommandLine.h"

#include <charconv>
#include <cstdlib>

#include "app/Strings.h"

namespace pelwick {

std::int32_t RunMode = rmOptions;
std::int32_t PreviewParent = 0;

namespace {

std::vector<std::string>& Arguments() {
    static std::vector<std::string> args;
    return args;
}

// Seconds of an interval option; 0 (not given) for anything that is not 1..10000.
int Seconds(const std::string& text) {
    const int value = TryParseInt(text).value_or(0);
    return value >= 1 && value <= 10000 ? value : 0;
}

}  // namespace

void SetProcessArguments(int argc, char** argv) {
    Arguments().assign(argv + (argc > 0 ? 1 : 0), argv + argc);
}

const std::vector<std::string>& ProcessArguments() {
    return Arguments();
}

TSaverArguments ParseSaverArguments(const std::vector<std::string>& args, const char* hostWindow) {
    TSaverArguments result;
    if (hostWindow && *hostWindow) result.Window = std::uint32_t(ParseWindowId(hostWindow));
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "-root" || a == "--root") {
            result.Root = true;
        } else if ((a == "-window-id" || a == "--window-id") && hasValue) {
            result.Window = std::uint32_t(ParseWindowId(args[++i]));
        } else if (a == "--picture-folder" && hasValue) {
            result.PictureFolder = args[++i];
        } else if (a == "--item-interval" && hasValue) {
            result.ItemInterval = Seconds(args[++i]);
        } else if (a == "--picture-interval" && hasValue) {
            result.PictureInterval = Seconds(args[++i]);
        }
    }
    return result;
}

TSaverArguments ProcessSaverArguments() {
    return ParseSaverArguments(Arguments(), std::getenv("XSCREENSAVER_WINDOW"));
}

TInfoRequest InfoRequest(const std::vector<std::string>& args) {
    if (args.empty()) return irNone;
    const std::string& a = args[0];
    if (a == "--help" || a == "-h" || a == "-?") return irHelp;
    if (a == "--version" || a == "-v") return irVersion;
    return irNone;
}

const char* ProgramVersion() {
    return PELWICK_VERSION;
}

void ParseCommandLine() {
    ParseCommandLine(Arguments());
}

std::int32_t ParseWindowId(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        const char* first = text.data() + 2;
        const char* last = text.data() + text.size();
        const auto [end, ec] = std::from_chars(first, last, value, 16);
        return ec == std::errc() && end == last ? std::int32_t(value) : 0;
    }
    return TryParseInt(text).value_or(0);
}

void ParseCommandLine(const std::vector<std::string>& args) {
    RunMode = rmOptions;
    PreviewParent = 0;
    // An empty first argument carries no switch at all; it counts as none.
    if (args.empty() || args[0].empty()) return;
    const std::string first = UpperAscii(args[0]).substr(1);
    const bool hasSecond = args.size() > 1;
    // A one-character argument leaves no letter: that is "any other letter", the saver.
    const char letter = first.empty() ? '\0' : first[0];
    if (letter == 'A' || letter == 'P') {
        if (!hasSecond) return;
        RunMode = letter == 'A' ? rmNothing : rmPreview;
        PreviewParent = ParseWindowId(args[1]);
    } else if (letter == 'C') {
        RunMode = rmOptionsC;
    } else {
        RunMode = rmSaver;
    }
}

}  // namespace pelwick
