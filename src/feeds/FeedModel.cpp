#include "feeds/FeedModel.h"

#include <cstdio>
#include <random>

#include "app/Strings.h"
#include "app/Utf8.h"
#include "feeds/FeedException.h"

namespace pelwick {

namespace {

std::string RandomGuidString() {
    // Seeded once per thread from the system's entropy: cheap enough for feeds of tens of
    // thousands of items, and distinct between processes.
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(),
                           device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    std::uint64_t hi = engine(), lo = engine();
    // Version 4 (random) with the standard variant bits.
    hi = (hi & ~std::uint64_t(0xF000)) | 0x4000;
    lo = (lo & ~(std::uint64_t(0xC) << 60)) | (std::uint64_t(0x8) << 60);
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%012llX}", unsigned(hi >> 32),
                  unsigned(hi >> 16) & 0xFFFF, unsigned(hi) & 0xFFFF, unsigned(lo >> 48),
                  (unsigned long long)(lo & 0xFFFFFFFFFFFFULL));
    return buf;
}

TGuidGenerator& GuidGenerator() {
    static TGuidGenerator generator = nullptr;
    return generator;
}

// A decimal integer and nothing else, or EConvertError naming the whole text.
int DurationPart(std::string_view part, std::string_view whole) {
    if (auto value = TryParseInt(part)) return *value;
    throw EConvertError("Invalid duration \"" + std::string(whole) + "\": \"" + std::string(part) +
                        "\" is not an integer");
}

}  // namespace

std::string BlankAsEmpty(const std::string& text) {
    for (char c : text)
        if ((unsigned char)c > ' ') return text;
    return "";
}

std::string CutToCharacters(const std::string& text, std::size_t maxChars) {
    return text.substr(0, utf8::PrefixBytes(text, maxChars));
}

std::string NewGuidString() {
    const TGuidGenerator generator = GuidGenerator();
    return generator ? generator() : RandomGuidString();
}

TGuidGenerator SetGuidGenerator(TGuidGenerator generator) {
    const TGuidGenerator previous = GuidGenerator();
    GuidGenerator() = generator;
    return previous;
}

void TRSSImageOpt::SetWidth(int value) {
    width_ = value < 0 ? 0 : (value > MaxWidth ? MaxWidth : value);
}

void TRSSImageOpt::SetHeight(int value) {
    height_ = value < 0 ? 0 : (value > MaxHeight ? MaxHeight : value);
}

void TRSSChannelSkipHours::SetHour(int hour, bool value) {
    if (hour >= 0 && hour < 24) hours_[std::size_t(hour)] = value;
}

void KeywordsFromText(TiTunesKeywords& keywords, std::string_view text) {
    std::string rest = TrimBlanks(text);
    if (rest.empty()) return;
    std::size_t space;
    while ((space = rest.find(' ')) != std::string::npos) {
        keywords.Add().SetValue(rest.substr(0, space));
        rest.erase(0, space + 1);
    }
    keywords.Add().SetValue(rest);
}

std::string TiTunesDuration::Duration() const {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d:%d:%.2d", Hour_, Minute_, Second_);
    return buf;
}

void TiTunesDuration::SetDuration(std::string_view text) {
    // Without a ":" a part is empty (and fails), so only the three-part form passes.
    std::string_view rest = text;
    auto take = [&rest] {
        const std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos) return std::string_view();
        std::string_view part = rest.substr(0, colon);
        rest.remove_prefix(colon + 1);
        return part;
    };
    const std::string_view hourText = take();
    const std::string_view minuteText = take();
    const int hour = DurationPart(hourText, text);
    const int minute = DurationPart(minuteText, text);
    const int second = DurationPart(rest, text);
    Hour_ = hour;
    Minute_ = minute;
    Second_ = second;
}

}  // namespace pelwick
