#include "feeds/XMLRepair.h"

#include <array>
#include <utility>

namespace pelwick {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsXMLBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Upper case without "-" and "_", so that "shift_jis", "Shift-JIS" and "SHIFT_JIS" compare
// equal.
std::string EncodingKey(std::string_view name) {
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_') key += char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return key;
}

}  // namespace

std::string_view SkipBlanksBeforeDeclaration(std::string_view bytes) {
    std::string_view rest = bytes;
    if (StartsWith(rest, kUtf8Mark)) rest.remove_prefix(kUtf8Mark.size());
    std::size_t blanks = 0;
    while (blanks < rest.size() && IsXMLBlank(rest[blanks]))
        ++blanks;
    if (blanks == 0 || !StartsWith(rest.substr(blanks), "<?xml")) return bytes;
    return rest.substr(blanks);
}

std::string DeclaredEncoding(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
    if (!StartsWith(bytes, "<?xml")) return "";
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return "";
    at += 8;
    while (at < declaration.size() && (IsXMLBlank(declaration[at]) || declaration[at] == '='))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return "";
    const std::size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos) return "";
    return std::string(declaration.substr(at + 1, end - at - 1));
}

const char* EncodingSuperset(std::string_view encoding) {
    static constexpr std::array<std::pair<std::string_view, const char*>, 10> kSupersets = {{
        {"EUCKR", "CP949"},
        {"GB2312", "GB18030"},
        {"SHIFTJIS", "CP932"},
        {"SJIS", "CP932"},
        {"BIG5", "BIG5-HKSCS"},
        {"ISO88591", "WINDOWS-1252"},
        {"LATIN1", "WINDOWS-1252"},
        {"USASCII", "WINDOWS-1252"},
        {"ASCII", "WINDOWS-1252"},
        {"ISOLATIN1", "WINDOWS-1252"},
    }};
    const std::string key = EncodingKey(encoding);
    for (const auto& [name, superset] : kSupersets)
        if (key == name) return superset;
    return nullptr;
}

}  // namespace pelwick
