#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "feeds/Languages.h"
#include "feeds/RFC822DateTime.h"

// The macros take type names, which cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)

// A plain published property: a getter Name(), a setter SetName(value) and its storage.
#define PELWICK_FEED_PROPERTY(Type, Name, Default) \
  public:                                          \
    const Type& Name() const {                     \
        return Name##_;                            \
    }                                              \
    void Set##Name(Type value) {                   \
        Name##_ = std::move(value);                \
    }                                              \
                                                   \
  private:                                         \
    Type Name##_ = Default;

// An owned sub-object: created with its holder, freed with it, reached by reference.
#define PELWICK_FEED_PART(Type, Name) \
  public:                             \
    Type& Name() {                    \
        return Name##_;               \
    }                                 \
    const Type& Name() const {        \
        return Name##_;               \
    }                                 \
                                      \
  private:                            \
    Type Name##_;
// NOLINTEND(bugprone-macro-parentheses)

namespace pelwick {

// A collection that owns its items and keeps them in insertion order; references returned by
// Add and Items stay valid while the collection lives.
template <class T>
class TOwnedCollection {
  public:
    T& Add() { return *items_.emplace_back(std::make_unique<T>()); }
    int Count() const { return int(items_.size()); }
    T& Items(int index) { return *items_.at(std::size_t(index)); }
    const T& Items(int index) const { return *items_.at(std::size_t(index)); }
    T& operator[](int index) { return Items(index); }
    const T& operator[](int index) const { return Items(index); }
    void Clear() { items_.clear(); }

  private:
    std::vector<std::unique_ptr<T>> items_;
};

// The string that blank text (only spaces and control characters) reads as: empty.
std::string BlankAsEmpty(const std::string& text);

// text cut to its first maxChars UTF-8 characters, never inside a character's bytes.
std::string CutToCharacters(const std::string& text, std::size_t maxChars);

// A braced, upper-case globally unique identifier: "{8-4-4-4-12 hex digits}".
std::string NewGuidString();
using TGuidGenerator = std::string (*)();
// Replaces the generator NewGuidString uses (tests make identifiers repeatable) and returns
// the previous one; nullptr restores the random one.
TGuidGenerator SetGuidGenerator(TGuidGenerator generator);

enum TXMLType { xtRDF, xtRSS, xtAtom, xtiTunes };
enum TContentType { ctText, ctHTML, ctXHTML };

inline constexpr const char* FeedModelVersion = "0.4.1";

// ----- channel -----

// Title, link and description; blank text reads as empty.
class TRSSChannelReq {
  public:
    std::string Title() const { return BlankAsEmpty(title_); }
    void SetTitle(std::string value) { title_ = std::move(value); }
    std::string Link() const { return BlankAsEmpty(link_); }
    void SetLink(std::string value) { link_ = std::move(value); }
    std::string Desc() const { return BlankAsEmpty(desc_); }
    void SetDesc(std::string value) { desc_ = std::move(value); }

  private:
    std::string title_, link_, desc_;
};

class TRSSChannelCategory {
    PELWICK_FEED_PROPERTY(std::string, Category, "")
    PELWICK_FEED_PROPERTY(std::string, Domain, "")
};
using TRSSChannelCategories = TOwnedCollection<TRSSChannelCategory>;

class TRSSImageReq {
  public:
    std::string URL() const { return BlankAsEmpty(url_); }
    void SetURL(std::string value) { url_ = std::move(value); }
    std::string Title() const { return BlankAsEmpty(title_); }
    void SetTitle(std::string value) { title_ = std::move(value); }
    std::string Link() const { return BlankAsEmpty(link_); }
    void SetLink(std::string value) { link_ = std::move(value); }

  private:
    std::string url_, title_, link_;
};

class TRSSImageOpt {
  public:
    static constexpr int MaxWidth = 144;
    static constexpr int MaxHeight = 400;
    int Width() const { return width_; }
    // Clamped to 0..MaxWidth.
    void SetWidth(int value);
    int Height() const { return height_; }
    // Clamped to 0..MaxHeight.
    void SetHeight(int value);
    PELWICK_FEED_PROPERTY(std::string, Description, "")

  private:
    int width_ = 0;
    int height_ = 0;
};

class TRSSImage {
    PELWICK_FEED_PROPERTY(bool, Include, false)
    PELWICK_FEED_PART(TRSSImageReq, Required)
    PELWICK_FEED_PART(TRSSImageOpt, Optional)
};

class TRSSCloud {
    PELWICK_FEED_PROPERTY(std::string, Domain, "")
  public:
    int Port() const { return port_; }
    // Any value below 2 is stored as 1.
    void SetPort(int value) { port_ = value < 2 ? 1 : value; }
    PELWICK_FEED_PROPERTY(std::string, Path, "")
    PELWICK_FEED_PROPERTY(std::string, RegisterProcedure, "")
    PELWICK_FEED_PROPERTY(std::string, Protocol, "")
    PELWICK_FEED_PROPERTY(bool, Include, false)

  private:
    int port_ = 0;
};

class TRSSTextInput {
    PELWICK_FEED_PROPERTY(std::string, Title, "")
    PELWICK_FEED_PROPERTY(std::string, Description, "")
    PELWICK_FEED_PROPERTY(std::string, TextInputName, "")
    PELWICK_FEED_PROPERTY(std::string, Link, "")
    PELWICK_FEED_PROPERTY(bool, Include, false)
};

// Hours in which aggregators may skip the channel, 0..23 (published h01 ... h23, h00).
class TRSSChannelSkipHours {
  public:
    bool Hour(int hour) const { return hour >= 0 && hour < 24 && hours_[std::size_t(hour)]; }
    // Hours outside 0..23 are ignored.
    void SetHour(int hour, bool value);

  private:
    std::array<bool, 24> hours_{};
};

class TRSSChannelSkipDays {
    PELWICK_FEED_PROPERTY(bool, Monday, false)
    PELWICK_FEED_PROPERTY(bool, Tuesday, false)
    PELWICK_FEED_PROPERTY(bool, Wednesday, false)
    PELWICK_FEED_PROPERTY(bool, Thursday, false)
    PELWICK_FEED_PROPERTY(bool, Friday, false)
    PELWICK_FEED_PROPERTY(bool, Saturday, false)
    PELWICK_FEED_PROPERTY(bool, Sunday, false)
};

// ----- podcast extras -----

class TiTunesCategory {
    PELWICK_FEED_PROPERTY(std::string, Category, "")
    PELWICK_FEED_PROPERTY(std::string, SubCategory, "")
};

class TiTunesOwner {
    PELWICK_FEED_PROPERTY(std::string, Name, "")
    PELWICK_FEED_PROPERTY(std::string, EmailAddress, "")
};

class TiTunesKeyword {
    PELWICK_FEED_PROPERTY(std::string, Value, "")
};
using TiTunesKeywords = TOwnedCollection<TiTunesKeyword>;

// Appends one keyword per blank-separated word of text (runs of blanks give empty keywords).
void KeywordsFromText(TiTunesKeywords& keywords, std::string_view text);

class TiTunesDuration {
    PELWICK_FEED_PROPERTY(int, Hour, 0)
    PELWICK_FEED_PROPERTY(int, Minute, 0)
    PELWICK_FEED_PROPERTY(int, Second, 0)
  public:
    // "h:m:ss": 1 hour 5 minutes 7 seconds reads "1:5:07".
    std::string Duration() const;
    // Takes exactly "h:m:s" with three decimal integers; raises EConvertError naming the text
    // otherwise ("5:30" and "330" fail) and then changes nothing.
    void SetDuration(std::string_view text);
};

inline constexpr std::size_t MaxSummaryCharacters = 4000;

class TiTunesChannelExtra {
    PELWICK_FEED_PROPERTY(bool, Block, false)
    PELWICK_FEED_PART(TiTunesCategory, Category)
    PELWICK_FEED_PROPERTY(bool, Explict, false)
    PELWICK_FEED_PART(TiTunesKeywords, KeyWords)
    PELWICK_FEED_PART(TiTunesOwner, Owner)
    PELWICK_FEED_PROPERTY(std::string, Subtitle, "")
  public:
    const std::string& Summary() const { return summary_; }
    // Keeps the first MaxSummaryCharacters characters.
    void SetSummary(const std::string& value) {
        summary_ = CutToCharacters(value, MaxSummaryCharacters);
    }
    void KeywordsFromText(std::string_view text) { pelwick::KeywordsFromText(KeyWords_, text); }
    PELWICK_FEED_PROPERTY(std::string, Author, "")
    PELWICK_FEED_PROPERTY(std::string, Image, "")

  private:
    std::string summary_;
};

class TiTunesItemExtra {
    PELWICK_FEED_PROPERTY(std::string, Author, "")
    PELWICK_FEED_PART(TiTunesDuration, Duration)
    PELWICK_FEED_PROPERTY(bool, Block, false)
    PELWICK_FEED_PART(TiTunesCategory, Category)
    PELWICK_FEED_PROPERTY(bool, Explict, false)
    PELWICK_FEED_PART(TiTunesKeywords, KeyWords)
    PELWICK_FEED_PROPERTY(std::string, Subtitle, "")
  public:
    const std::string& Summary() const { return summary_; }
    void SetSummary(const std::string& value) {
        summary_ = CutToCharacters(value, MaxSummaryCharacters);
    }
    void KeywordsFromText(std::string_view text) { pelwick::KeywordsFromText(KeyWords_, text); }

  private:
    std::string summary_;
};

// ----- channel, continued -----

class TRSSChannelOpt {
    PELWICK_FEED_PROPERTY(TLanguages, Language, langEN)
    PELWICK_FEED_PROPERTY(std::string, XLang, "")
    PELWICK_FEED_PROPERTY(std::string, Copyright, "")
    PELWICK_FEED_PROPERTY(std::string, ManagingEditor, "")
    PELWICK_FEED_PROPERTY(std::string, WebMaster, "")
    PELWICK_FEED_PART(TRFC822DateTime, PubDate)
    PELWICK_FEED_PART(TRFC822DateTime, LastBuildDate)
    PELWICK_FEED_PART(TRSSChannelCategories, Categories)
    PELWICK_FEED_PROPERTY(std::string, Generator, std::string("RSS ") + FeedModelVersion)
    PELWICK_FEED_PROPERTY(std::string, Docs, "Doc")
    PELWICK_FEED_PART(TRSSCloud, Cloud)
  public:
    int TTL() const { return ttl_; }
    // A value of 0 or less is stored as 0.
    void SetTTL(int value) { ttl_ = value < 0 ? 0 : value; }
    PELWICK_FEED_PART(TRSSImage, Image)
    PELWICK_FEED_PROPERTY(std::string, Rating, "")
    PELWICK_FEED_PART(TRSSTextInput, TextInput)
    PELWICK_FEED_PART(TRSSChannelSkipHours, SkipHours)
    PELWICK_FEED_PART(TRSSChannelSkipDays, SkipDays)

  private:
    int ttl_ = 60;
};

class TRSSChannel {
    PELWICK_FEED_PART(TRSSChannelReq, Required)
    PELWICK_FEED_PART(TRSSChannelOpt, Optional)
    PELWICK_FEED_PART(TiTunesChannelExtra, iTunes)
    PELWICK_FEED_PROPERTY(std::string, AboutURL, "")
};

// ----- items -----

class TRSSAuthor {
    PELWICK_FEED_PROPERTY(std::string, Name, "")
    PELWICK_FEED_PROPERTY(std::string, EMail, "")
    PELWICK_FEED_PROPERTY(std::string, URL, "")
};

class TRSSItemCategory {
    PELWICK_FEED_PROPERTY(std::string, Title, "")
    PELWICK_FEED_PROPERTY(std::string, Domain, "")
};
using TRSSItemCategories = TOwnedCollection<TRSSItemCategory>;

class TRSSItemEnclosure {
    PELWICK_FEED_PROPERTY(std::string, URL, "")
    PELWICK_FEED_PROPERTY(int, Length, 0)
    PELWICK_FEED_PROPERTY(std::string, EnclosureType, "")
    PELWICK_FEED_PROPERTY(bool, Include, false)
};

// A new one carries a freshly generated identifier, so items without one stay distinct.
class TRSSItemGUID {
    PELWICK_FEED_PROPERTY(std::string, GUID, NewGuidString())
    PELWICK_FEED_PROPERTY(bool, IsPermaLink, false)
    PELWICK_FEED_PROPERTY(bool, Include, false)
};

class TRSSItemSource {
    PELWICK_FEED_PROPERTY(std::string, Title, "")
    PELWICK_FEED_PROPERTY(std::string, URL, "")
    PELWICK_FEED_PROPERTY(bool, Include, false)
};

class TRSSItem {
    PELWICK_FEED_PROPERTY(std::string, Title, "")
    PELWICK_FEED_PROPERTY(std::string, Link, "")
    PELWICK_FEED_PROPERTY(std::string, Description, "")
    PELWICK_FEED_PART(TRSSAuthor, Author)
    PELWICK_FEED_PART(TRSSItemCategories, Categories)
    PELWICK_FEED_PROPERTY(std::string, Comments, "")
    PELWICK_FEED_PART(TRSSItemEnclosure, Enclosure)
    PELWICK_FEED_PART(TRSSItemGUID, GUID)
    PELWICK_FEED_PART(TRFC822DateTime, PubDate)
    PELWICK_FEED_PART(TRSSItemSource, Source)
    PELWICK_FEED_PROPERTY(TContentType, ContentType, ctText)
    PELWICK_FEED_PART(TiTunesItemExtra, iTunes)
};
using TRSSItems = TOwnedCollection<TRSSItem>;

}  // namespace pelwick
