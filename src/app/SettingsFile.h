#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelwick {

// An INI-style file held in memory. Sections and keys match without regard to letter case;
// keys keep their file order. Comments and lines that are not "key=value" are kept as they
// were, so rewriting a hand-edited file loses nothing but blank lines.
class TSettingsFile {
  public:
    TSettingsFile() = default;
    // Loads fileName when it exists; a missing or unreadable file gives an empty image.
    explicit TSettingsFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    void SetText(std::string_view text);
    // The file as UpdateFile writes it: CR LF line ends, a blank line between sections.
    std::string Text() const;

    bool SectionExists(std::string_view section) const;
    std::vector<std::string> SectionNames() const;
    // The keys of a section in file order (the first of duplicate keys only once).
    std::vector<std::string> ReadSection(std::string_view section) const;

    // The first value of the key, if present.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& def) const;
    // Decimal 32-bit integers; anything else reads as def.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // An integer, non-zero meaning true; anything else reads as def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Updates the first occurrence of the key or appends it; a missing section is added at
    // the end. Keys that could not be read back unchanged ("=" inside, a leading ";" or "[",
    // blanks at either end, line breaks) and values with line breaks raise an Exception.
    // A value is read back trimmed, as every value of the format is.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Adds an empty section at the end unless one of the name (in any letter case) exists.
    void AddSection(std::string_view section);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // Writes the image to FileName in one step; raises EFileError and keeps the old file.
    void UpdateFile() const;

    static bool IsValidKey(std::string_view key);

  private:
    struct TLine {
        std::string key;  // empty for a kept raw line
        std::string value;
        std::string raw;
    };
    struct TSection {
        std::string name;
        std::vector<TLine> lines;
    };

    const TSection* Find(std::string_view name) const;
    TSection* Find(std::string_view name);
    static const TLine* FindKey(const TSection& s, std::string_view key);

    std::string fileName_;
    std::vector<std::string> preamble_;  // comments before the first section
    std::vector<TSection> sections_;
};

}  // namespace pelwick
