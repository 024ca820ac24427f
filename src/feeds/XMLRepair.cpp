#include "feeds/XMLRepair.h"

#include <array>
#include <utility>

#include "app/Strings.h"

namespace pelwick {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

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

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

bool IsHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether the "&" at bytes[at] starts "&name;", "&#123;" or "&#x1F;".
bool StartsReference(std::string_view bytes, std::size_t at) {
    std::size_t i = at + 1;
    const auto c = [&](std::size_t k) { return k < bytes.size() ? (unsigned char)bytes[k] : 0; };
    if (c(i) == '#') {
        ++i;
        const bool hex = c(i) == 'x';
        if (hex) ++i;
        const std::size_t digits = i;
        while (hex ? IsHexDigit(c(i)) : (c(i) >= '0' && c(i) <= '9'))
            ++i;
        return i > digits && c(i) == ';';
    }
    if (!IsNameStart(c(i))) return false;
    while (IsNameChar(c(i)))
        ++i;
    return c(i) == ';';
}

// Where the construct starting at bytes[at] with "<" ends (one past it), when it is one whose
// content is not text: a character data section, comment, processing instruction or document
// type declaration; 0 otherwise.
std::size_t SkipOpaque(std::string_view bytes, std::size_t at) {
    const std::string_view rest = bytes.substr(at);
    const std::pair<std::string_view, std::string_view> constructs[] = {
        {"<![CDATA[", "]]>"}, {"<!--", "-->"}, {"<?", "?>"}};
    for (const auto& [open, close] : constructs) {
        if (!StartsWith(rest, open)) continue;
        const std::size_t end = bytes.find(close, at + open.size());
        return end == std::string_view::npos ? bytes.size() : end + close.size();
    }
    if (!StartsWith(rest, "<!DOCTYPE")) return 0;
    // The internal subset sits in brackets and may hold ">".
    int depth = 0;
    for (std::size_t i = at; i < bytes.size(); ++i) {
        if (bytes[i] == '[') ++depth;
        if (bytes[i] == ']') --depth;
        if (bytes[i] == '>' && depth <= 0) return i + 1;
    }
    return bytes.size();
}

// Length of the valid UTF-8 sequence at s[i], or 0.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const unsigned char c = s[i];
    const std::size_t len = c < 0x80         ? 1
                            : (c >> 5) == 6  ? 2
                            : (c >> 4) == 14 ? 3
                            : (c >> 3) == 30 ? 4
                                             : 0;
    if (len == 0 || i + len > s.size()) return 0;
    return IsValidUtf8(s.substr(i, len)) ? len : 0;
}

}  // namespace

std::string_view SkipBlanksBeforeDeclaration(std::string_view bytes) {
    std::string_view rest = bytes;
    if (StartsWith(rest, Utf8Mark)) rest.remove_prefix(Utf8Mark.size());
    std::size_t blanks = 0;
    while (blanks < rest.size() && IsXMLBlank(rest[blanks]))
        ++blanks;
    if (blanks == 0 || !StartsWith(rest.substr(blanks), "<?xml")) return bytes;
    return rest.substr(blanks);
}

std::string DeclaredEncoding(std::string_view bytes) {
    if (StartsWith(bytes, Utf8Mark)) bytes.remove_prefix(Utf8Mark.size());
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
    static constexpr std::array<std::pair<std::string_view, const char*>, 10> Supersets = {{
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
    for (const auto& [name, superset] : Supersets)
        if (key == name) return superset;
    return nullptr;
}

bool IsAsciiCompatible(std::string_view bytes) {
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) return false;
    if (bytes.size() >= 2 && (bytes[0] == 0 || bytes[1] == 0)) return false;
    const std::string key = EncodingKey(DeclaredEncoding(bytes));
    return !StartsWith(key, "UTF16") && !StartsWith(key, "UTF32") && !StartsWith(key, "UCS") &&
           key.find("2022") == std::string::npos;
}

bool EscapeBareAmpersands(std::string_view bytes, std::string& escaped) {
    escaped.clear();
    // Most documents have no bare "&": nothing is copied until the first one.
    std::size_t copied = 0;
    for (std::size_t i = bytes.find_first_of("<&"); i != std::string_view::npos;
         i = bytes.find_first_of("<&", i)) {
        if (bytes[i] == '<') {
            const std::size_t end = SkipOpaque(bytes, i);
            i = end > i ? end : i + 1;
            continue;
        }
        if (!StartsReference(bytes, i)) {
            if (copied == 0) escaped.reserve(bytes.size() + bytes.size() / 64);
            escaped.append(bytes.substr(copied, i + 1 - copied)).append("amp;");
            copied = i + 1;
        }
        ++i;
    }
    if (copied == 0) return false;
    escaped.append(bytes.substr(copied));
    return true;
}

std::string ReplaceInvalidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = Utf8SequenceLength(text, i);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace pelwick
