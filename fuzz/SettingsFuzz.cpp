// The settings file: any text loads, and what it writes reads back unchanged; a key and
// value taken from the input either raise or read back as written (the value trimmed).
#include <string>

#include "FuzzSupport.h"
#include "app/Exception.h"
#include "app/SettingsFile.h"
#include "app/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    const std::string_view input = fuzz::Input(data, size);
    TSettingsFile first;
    first.SetText(input);
    const std::string written = first.Text();
    TSettingsFile second;
    second.SetText(written);
    FUZZ_CHECK(second.Text() == written);
    for (const std::string& section : first.SectionNames())
        for (const std::string& key : first.ReadSection(section))
            FUZZ_CHECK(first.Value(section, key) == second.Value(section, key));

    // The first line is a key, the second its value.
    const std::size_t cut = input.find('\n');
    const std::string key(input.substr(0, std::min<std::size_t>(cut, 64)));
    const std::string value(cut == std::string_view::npos ? "" : input.substr(cut + 1, 256));
    try {
        second.WriteString("set", key, value);
    } catch (const Exception&) {
        return 0;
    }
    TSettingsFile third;
    third.SetText(second.Text());
    FUZZ_CHECK(third.ReadString("set", key, "\x01missing") == TrimBlanks(value));
    return 0;
}
