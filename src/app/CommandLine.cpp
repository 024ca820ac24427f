#include "app/CommandLine.h"

#include <charconv>

#include "app/Strings.h"

namespace pelwick {

std::int32_t RunMode = rmOptions;
std::int32_t PreviewParent = 0;

namespace {

std::vector<std::string>& ProcessArguments() {
    static std::vector<std::string> args;
    return args;
}

}  // namespace

void SetProcessArguments(int argc, char** argv) {
    ProcessArguments().assign(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void ParseCommandLine() {
    ParseCommandLine(ProcessArguments());
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
