#include "options/Opml.h"

#include <libxml/tree.h>

#include <QDate>
#include <QLocale>
#include <QTime>
#include <algorithm>

#include "aatext/Labels.h"
#include "app/DateTime.h"
#include "app/Files.h"
#include "app/Strings.h"
#include "feeds/FeedException.h"
#include "feeds/XMLDocument.h"

namespace pelwick {

namespace {

constexpr std::string_view EntrySeparator = " [";
// Addresses longer than this are cut when an entry is exported.
constexpr std::size_t MaxExportedAddress = 1000;

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

bool NowParts(TDateTimeParts& parts) {
    return DecodeDateTime(Now(), parts);
}

std::string Property(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) return {};
    std::string result(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return result;
}

void CollectOutlines(xmlNode* node, std::vector<TOpmlFeed>& feeds) {
    for (xmlNode* child = node; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        if (xmlStrcmp(child->name, reinterpret_cast<const xmlChar*>("outline")) == 0) {
            const std::string address = TrimBlanks(Property(child, "xmlUrl"));
            if (!address.empty()) {
                std::string name = Property(child, "text");
                if (TrimBlanks(name).empty()) name = Property(child, "title");
                if (TrimBlanks(name).empty()) name = address;
                feeds.push_back({name, address});
            }
        }
        CollectOutlines(child->children, feeds);
    }
}

// Reads the text as the lines of a file joined by CR LF, so that both paths see one form.
std::string JoinLines(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (i + 1 < text.size()) result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

// Up to the next double quote from pos; "" when no quote follows.
std::string QuotedValue(const std::string& text, std::size_t pos) {
    const std::size_t end = text.find('"', pos);
    return end == std::string::npos ? std::string() : text.substr(pos, end - pos);
}

// The literal scan for text that an XML parser refuses: outlines whose first attribute is
// text in double quotes, each taking the address of the next xmlUrl in double quotes.
std::vector<TOpmlFeed> ScanOutlines(const std::string& text) {
    constexpr std::string_view outlineMarker = "<outline text=\"";
    constexpr std::string_view addressMarker = "xmlUrl=\"";
    std::vector<TOpmlFeed> feeds;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t marker = text.find(outlineMarker, pos);
        if (marker == std::string::npos) break;
        const std::size_t nameStart = marker + outlineMarker.size();
        std::string name = OpmlUnescape(QuotedValue(text, nameStart));
        const std::size_t address = text.find(addressMarker, nameStart);
        if (address == std::string::npos || address == nameStart) {
            pos = nameStart;
            continue;
        }
        const std::size_t addressStart = address + addressMarker.size();
        // An empty or unfinished address names no feed, as in a well-formed document.
        std::string url = OpmlUnescape(QuotedValue(text, addressStart));
        if (!url.empty()) feeds.push_back({std::move(name), std::move(url)});
        pos = addressStart;
    }
    return feeds;
}

}  // namespace

std::string FeedEntryText(const std::string& name, const std::string& address) {
    return name + std::string(EntrySeparator) + address + "]";
}

std::string FeedEntryName(std::string_view entry) {
    const std::size_t pos = entry.find(EntrySeparator);
    return pos == std::string_view::npos ? std::string() : std::string(entry.substr(0, pos));
}

std::string FeedEntryAddress(std::string_view entry) {
    const std::size_t pos = entry.find(EntrySeparator);
    if (pos == std::string_view::npos) return {};
    std::string_view rest = entry.substr(pos + EntrySeparator.size());
    if (!rest.empty()) rest.remove_suffix(1);
    return std::string(rest);
}

std::string CurrentLongTime() {
    TDateTimeParts parts;
    if (!NowParts(parts)) return {};
    const QTime time(parts.Hour, parts.Minute, parts.Second);
    return QLocale().toString(time, LongTimeFormat()).toStdString();
}

std::string CurrentShortDate() {
    TDateTimeParts parts;
    if (!NowParts(parts)) return {};
    const QDate date(parts.Year, parts.Month, parts.Day);
    return QLocale().toString(date, QLocale::ShortFormat).toStdString();
}

std::string MendFeedName(std::string_view proposed, const std::string& timeText) {
    std::string name(proposed);
    for (char& c : name) {
        // The settings file holds one entry a line: a line break would split the name.
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        if (c == '=') c = '-';
    }
    name = TrimBlanks(name);
    // A leading ";" reads as a comment and a leading "[" as a section in the settings file.
    while (!name.empty() && (name[0] == ';' || name[0] == '['))
        name = TrimBlanks(name.substr(1));
    ReplaceAll(name, EntrySeparator, " (");
    if (name.empty()) name = "notitle (" + timeText + ")";
    return name;
}

namespace {

// Settings keys ignore letter case, so two names that differ only by case would share one
// key and one of the feeds would be lost on Save.
bool NameTaken(const std::string& name, const std::vector<std::string>& entries) {
    return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
        return SameText(FeedEntryName(entry), name);
    });
}

}  // namespace

std::string UniqueFeedName(std::string_view proposed, const std::vector<std::string>& entries,
                           const std::string& timeText) {
    std::string name = MendFeedName(proposed, timeText);
    if (!NameTaken(name, entries)) return name;
    std::string timed = name + " (" + timeText + ")";
    if (!NameTaken(timed, entries)) return timed;
    // Several feeds of one name added within the same second.
    for (int n = 2;; ++n) {
        std::string numbered = timed + " (" + std::to_string(n) + ")";
        if (!NameTaken(numbered, entries)) return numbered;
    }
}

std::string OpmlUnescape(std::string_view text) {
    static constexpr std::pair<std::string_view, char> References[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const auto& [reference, c] : References) {
                if (text.substr(i, reference.size()) == reference) {
                    result += c;
                    i += reference.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) result += text[i++];
    }
    return result;
}

std::string BuildOpmlDocument(const std::vector<std::string>& entries,
                              const std::string& dateText) {
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><opml version=\"1.0\"><head><title>Glimra "
        "VER Irirureridi OPML - ";
    doc += MarkupEscape(dateText, apKept);
    doc += "</title></head><body><outline title=\"Glimra opml\" text=\"Glimra opml\">";
    for (const std::string& entry : entries) {
        const std::string name = MarkupEscape(FeedEntryName(entry), apKept);
        std::string_view rest;
        const std::size_t pos = entry.find(EntrySeparator);
        if (pos != std::string::npos) rest = std::string_view(entry).substr(pos + 2);
        rest = rest.substr(0, MaxExportedAddress);
        if (!rest.empty()) rest.remove_suffix(1);
        const std::string address = MarkupEscape(rest, apKept);
        doc.append("<outline text=\"").append(name).append("\" title=\"").append(name);
        doc.append("\" type=\"rss\" xmlUrl=\"").append(address).append("\" htmlUrl=\"");
        doc.append(address).append("\"/>");
    }
    doc += "</outline></body></opml>";
    return doc;
}

std::string OpmlFileName(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && dot >= start) return fileName;
    return fileName + ".opml";
}

void ExportOpml(const std::vector<std::string>& entries, const std::string& fileName) {
    SaveTextFile(BuildOpmlDocument(entries, CurrentShortDate()), fileName);
}

bool IsOpmlText(std::string_view text) {
    const std::string joined = JoinLines(text);
    return joined.find("<opml ") != std::string::npos ||
           joined.find("<outline") != std::string::npos;
}

std::string NotOpmlMessage(const std::string& fileName) {
    return fileName + " is not an OPML file.";
}

std::vector<TOpmlFeed> ReadOpmlFeeds(std::string_view text) {
    if (!IsOpmlText(text)) return {};
    const std::string joined = JoinLines(text);
    TXMLDocument xml;
    try {
        xml.LoadFromBytes(text);
    } catch (const EXMLError&) {
        return ScanOutlines(joined);
    }
    std::vector<TOpmlFeed> feeds;
    CollectOutlines(xml.DocumentElement(), feeds);
    return feeds;
}

namespace {

// The address with its scheme and host in lower case and "/" for an empty path; text that is
// not scheme://host... stays as it is.
std::string AddressKey(std::string_view address) {
    std::string key(address);
    const std::size_t scheme = key.find("://");
    if (scheme == std::string::npos) return key;
    const std::size_t hostEnd = std::min(key.find_first_of("/?#", scheme + 3), key.size());
    for (std::size_t i = 0; i < hostEnd; ++i)
        if (key[i] >= 'A' && key[i] <= 'Z') key[i] = char(key[i] - 'A' + 'a');
    if (hostEnd == key.size() || key[hostEnd] != '/') key.insert(hostEnd, "/");
    return key;
}

}  // namespace

bool SameFeedAddress(std::string_view a, std::string_view b) {
    return AddressKey(a) == AddressKey(b);
}

TOpmlImport ImportOpml(std::string_view text, std::vector<std::string> entries,
                       const std::function<std::string()>& timeText) {
    TOpmlImport import;
    for (const TOpmlFeed& feed : ReadOpmlFeeds(text)) {
        const bool listed = std::any_of(entries.begin(), entries.end(), [&](const auto& entry) {
            return SameFeedAddress(FeedEntryAddress(entry), feed.Address);
        });
        if (listed) {
            ++import.Skipped;
            continue;
        }
        const std::string name = UniqueFeedName(feed.Name, entries, timeText());
        entries.push_back(FeedEntryText(name, feed.Address));
        import.Added.push_back(entries.back());
    }
    return import;
}

std::string ImportMessage(const TOpmlImport& import) {
    std::string message = "Add feeds: " + std::to_string(import.Added.size());
    if (import.Skipped > 0)
        message += " (" + std::to_string(import.Skipped) + " already in the list)";
    return message;
}

}  // namespace pelwick
