#include "app/SettingsFile.h"

#include <utility>

#include "app/Exception.h"
#include "app/Files.h"
#include "app/Strings.h"

namespace pelwick {

TSettingsFile::TSettingsFile(std::string fileName) : fileName_(std::move(fileName)) {
    if (!FileExists(fileName_)) return;
    try {
        SetText(ReadFileBytes(fileName_));
    } catch (const EFileError&) {
        // An unreadable file behaves like a missing one: every key takes its default.
    }
}

void TSettingsFile::SetText(std::string_view text) {
    preamble_.clear();
    sections_.clear();
    TSection* current = nullptr;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            const std::string name = TrimBlanks(std::string_view(line).substr(1, line.size() - 2));
            // A section that appears twice is one section: its keys are gathered in the first.
            current = Find(name);
            if (!current) current = &sections_.emplace_back(TSection{name, {}});
            continue;
        }
        if (!current) {
            preamble_.push_back(line);
            continue;
        }
        const size_t eq = line.find('=');
        std::string key = eq == std::string::npos ? std::string() : TrimBlanks(line.substr(0, eq));
        if (line.front() == ';' || key.empty()) {
            current->lines.push_back(TLine{{}, {}, line});
        } else {
            current->lines.push_back(TLine{std::move(key), TrimBlanks(line.substr(eq + 1)), {}});
        }
    }
}

std::string TSettingsFile::Text() const {
    std::string out;
    for (const std::string& line : preamble_)
        out += line + "\r\n";
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0 || !preamble_.empty()) out += "\r\n";
        out += "[" + sections_[i].name + "]\r\n";
        for (const TLine& line : sections_[i].lines)
            out += (line.key.empty() ? line.raw : line.key + "=" + line.value) + "\r\n";
    }
    return out;
}

const TSettingsFile::TSection* TSettingsFile::Find(std::string_view name) const {
    for (const TSection& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

TSettingsFile::TSection* TSettingsFile::Find(std::string_view name) {
    return const_cast<TSection*>(std::as_const(*this).Find(name));
}

const TSettingsFile::TLine* TSettingsFile::FindKey(const TSection& s, std::string_view key) {
    for (const TLine& line : s.lines)
        if (!line.key.empty() && SameText(line.key, key)) return &line;
    return nullptr;
}

bool TSettingsFile::SectionExists(std::string_view section) const {
    return Find(section);
}

std::vector<std::string> TSettingsFile::SectionNames() const {
    std::vector<std::string> names;
    for (const TSection& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> TSettingsFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const TSection* s = Find(section);
    if (!s) return keys;
    for (const TLine& line : s->lines)
        if (!line.key.empty() && FindKey(*s, line.key) == &line) keys.push_back(line.key);
    return keys;
}

std::optional<std::string> TSettingsFile::Value(std::string_view section,
                                                std::string_view key) const {
    const TSection* s = Find(section);
    const TLine* line = s ? FindKey(*s, key) : nullptr;
    if (!line) return std::nullopt;
    return line->value;
}

std::string TSettingsFile::ReadString(std::string_view section, std::string_view key,
                                      const std::string& def) const {
    return Value(section, key).value_or(def);
}

int TSettingsFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const auto text = Value(section, key);
    if (!text) return def;
    return TryParseInt(*text).value_or(def);
}

bool TSettingsFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TSettingsFile::IsValidKey(std::string_view key) {
    return !key.empty() && TrimBlanks(key) == key && key.find_first_of("=\r\n") == key.npos &&
           key.front() != ';' && key.front() != '[';
}

namespace {

// The section's name as the file holds it; raises when the file could not hold it.
std::string ValidSectionName(std::string_view section) {
    std::string name = TrimBlanks(section);
    if (name.empty() || name.find_first_of("[]\r\n") != name.npos)
        throw Exception("Invalid settings section \"" + std::string(section) + "\"");
    return name;
}

}  // namespace

void TSettingsFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    if (!IsValidKey(key)) throw Exception("Invalid settings key \"" + std::string(key) + "\"");
    if (value.find_first_of("\r\n") != value.npos)
        throw Exception("Invalid value for settings key \"" + std::string(key) + "\"");
    const std::string name = ValidSectionName(section);
    TSection* s = Find(name);
    if (!s) s = &sections_.emplace_back(TSection{name, {}});
    if (TLine* line = const_cast<TLine*>(FindKey(*s, key))) {
        line->value = value;
        return;
    }
    s->lines.push_back(TLine{std::string(key), std::string(value), {}});
}

void TSettingsFile::AddSection(std::string_view section) {
    const std::string name = ValidSectionName(section);
    if (!Find(name)) sections_.push_back(TSection{name, {}});
}

void TSettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TSettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TSettingsFile::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const TSection& s) { return SameText(s.name, section); });
}

void TSettingsFile::DeleteKey(std::string_view section, std::string_view key) {
    if (TSection* s = Find(section))
        std::erase_if(s->lines,
                      [&](const TLine& l) { return !l.key.empty() && SameText(l.key, key); });
}

void TSettingsFile::UpdateFile() const {
    WriteFileAtomically(fileName_, Text());
}

}  // namespace pelwick
