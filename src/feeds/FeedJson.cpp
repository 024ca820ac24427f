#include "feeds/FeedJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/Utf8.h"

namespace pelwick {

namespace {

std::string Number(double value) {
    if (!std::isfinite(value)) return "null";
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

// A small writer for nested objects and arrays with two-space indentation.
class TJsonWriter {
  public:
    void BeginObject(const char* key = nullptr) { Open(key, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(const char* key = nullptr) { Open(key, '['); }
    void EndArray() { Close(']'); }
    void String(const char* key, std::string_view value) { Raw(key, JsonString(value)); }
    void Int(const char* key, long long value) { Raw(key, std::to_string(value)); }
    void Double(const char* key, double value) { Raw(key, Number(value)); }
    void Bool(const char* key, bool value) { Raw(key, value ? "true" : "false"); }
    std::string Take() { return std::move(out_) + "\n"; }

  private:
    void Item(const char* key) {
        if (!first_.empty()) {
            if (!first_.back()) out_ += ',';
            first_.back() = false;
            out_ += '\n';
            out_.append(2 * first_.size(), ' ');
        }
        if (key) out_ += JsonString(key) + ": ";
    }
    void Raw(const char* key, const std::string& value) {
        Item(key);
        out_ += value;
    }
    void Open(const char* key, char bracket) {
        Item(key);
        out_ += bracket;
        first_.push_back(true);
    }
    void Close(char bracket) {
        const bool empty = first_.back();
        first_.pop_back();
        if (!empty) {
            out_ += '\n';
            out_.append(2 * first_.size(), ' ');
        }
        out_ += bracket;
    }

    std::string out_;
    std::vector<bool> first_;  // per open level: nothing written yet
};

void WriteDate(TJsonWriter& w, const char* name, const TRFC822DateTime& date) {
    const std::string key(name);
    w.String(name, FormatISODateTime(date.DateTime()));
    w.Double((key + "Value").c_str(), date.DateTime());
    w.String((key + "TimeZone").c_str(), date.TimeZone());
}

void WriteKeywords(TJsonWriter& w, const TiTunesKeywords& keywords) {
    w.BeginArray("keywords");
    for (int i = 0; i < keywords.Count(); ++i)
        w.String(nullptr, keywords[i].Value());
    w.EndArray();
}

void WriteCategory(TJsonWriter& w, const TiTunesCategory& category) {
    w.BeginObject("category");
    w.String("category", category.Category());
    w.String("subCategory", category.SubCategory());
    w.EndObject();
}

void WriteChannel(TJsonWriter& w, const TRSSChannel& channel) {
    const TRSSChannelOpt& opt = channel.Optional();
    w.BeginObject("channel");
    w.String("title", channel.Required().Title());
    w.String("link", channel.Required().Link());
    w.String("description", channel.Required().Desc());
    w.String("aboutURL", channel.AboutURL());
    w.String("language", opt.Language() == langX ? "x" : LanguageCode(opt.Language()));
    w.String("xLang", opt.XLang());
    w.String("copyright", opt.Copyright());
    w.String("managingEditor", opt.ManagingEditor());
    w.String("webMaster", opt.WebMaster());
    WriteDate(w, "pubDate", opt.PubDate());
    WriteDate(w, "lastBuildDate", opt.LastBuildDate());
    w.BeginArray("categories");
    for (int i = 0; i < opt.Categories().Count(); ++i) {
        w.BeginObject();
        w.String("category", opt.Categories()[i].Category());
        w.String("domain", opt.Categories()[i].Domain());
        w.EndObject();
    }
    w.EndArray();
    w.String("generator", opt.Generator());
    w.String("docs", opt.Docs());
    const TRSSCloud& cloud = opt.Cloud();
    w.BeginObject("cloud");
    w.Bool("include", cloud.Include());
    w.String("domain", cloud.Domain());
    w.Int("port", cloud.Port());
    w.String("path", cloud.Path());
    w.String("registerProcedure", cloud.RegisterProcedure());
    w.String("protocol", cloud.Protocol());
    w.EndObject();
    w.Int("ttl", opt.TTL());
    const TRSSImage& image = opt.Image();
    w.BeginObject("image");
    w.Bool("include", image.Include());
    w.String("url", image.Required().URL());
    w.String("title", image.Required().Title());
    w.String("link", image.Required().Link());
    w.Int("width", image.Optional().Width());
    w.Int("height", image.Optional().Height());
    w.String("description", image.Optional().Description());
    w.EndObject();
    w.String("rating", opt.Rating());
    const TRSSTextInput& input = opt.TextInput();
    w.BeginObject("textInput");
    w.Bool("include", input.Include());
    w.String("title", input.Title());
    w.String("description", input.Description());
    w.String("name", input.TextInputName());
    w.String("link", input.Link());
    w.EndObject();
    w.BeginArray("skipHours");
    for (int h = 0; h < 24; ++h)
        if (opt.SkipHours().Hour(h)) w.Int(nullptr, h);
    w.EndArray();
    const TRSSChannelSkipDays& days = opt.SkipDays();
    w.BeginArray("skipDays");
    const std::pair<bool, const char*> dayFlags[] = {
        {days.Monday(), "Monday"},     {days.Tuesday(), "Tuesday"}, {days.Wednesday(), "Wednesday"},
        {days.Thursday(), "Thursday"}, {days.Friday(), "Friday"},   {days.Saturday(), "Saturday"},
        {days.Sunday(), "Sunday"}};
    for (const auto& [set, name] : dayFlags)
        if (set) w.String(nullptr, name);
    w.EndArray();
    const TiTunesChannelExtra& it = channel.iTunes();
    w.BeginObject("itunes");
    w.Bool("block", it.Block());
    WriteCategory(w, it.Category());
    w.Bool("explicit", it.Explict());
    WriteKeywords(w, it.KeyWords());
    w.BeginObject("owner");
    w.String("name", it.Owner().Name());
    w.String("email", it.Owner().EmailAddress());
    w.EndObject();
    w.String("subtitle", it.Subtitle());
    w.String("summary", it.Summary());
    w.String("author", it.Author());
    w.String("image", it.Image());
    w.EndObject();
    w.EndObject();
}

const char* ContentTypeName(TContentType type) {
    switch (type) {
        case ctHTML:
            return "html";
        case ctXHTML:
            return "xhtml";
        case ctText:
            break;
    }
    return "text";
}

void WriteItem(TJsonWriter& w, const TRSSItem& item) {
    w.BeginObject();
    w.String("title", item.Title());
    w.String("link", item.Link());
    w.String("description", item.Description());
    w.BeginObject("author");
    w.String("name", item.Author().Name());
    w.String("email", item.Author().EMail());
    w.String("url", item.Author().URL());
    w.EndObject();
    w.String("comments", item.Comments());
    w.BeginArray("categories");
    for (int i = 0; i < item.Categories().Count(); ++i) {
        w.BeginObject();
        w.String("title", item.Categories()[i].Title());
        w.String("domain", item.Categories()[i].Domain());
        w.EndObject();
    }
    w.EndArray();
    w.BeginObject("enclosure");
    w.Bool("include", item.Enclosure().Include());
    w.String("url", item.Enclosure().URL());
    w.Int("length", item.Enclosure().Length());
    w.String("type", item.Enclosure().EnclosureType());
    w.EndObject();
    w.BeginObject("guid");
    w.Bool("include", item.GUID().Include());
    w.String("guid", item.GUID().GUID());
    w.Bool("isPermaLink", item.GUID().IsPermaLink());
    w.EndObject();
    w.BeginObject("source");
    w.Bool("include", item.Source().Include());
    w.String("title", item.Source().Title());
    w.String("url", item.Source().URL());
    w.EndObject();
    w.String("pubDate", FormatISODateTime(item.PubDate().DateTime()));
    w.Double("pubDateValue", item.PubDate().DateTime());
    w.String("timeZone", item.PubDate().TimeZone());
    w.String("contentType", ContentTypeName(item.ContentType()));
    const TiTunesItemExtra& it = item.iTunes();
    w.BeginObject("itunes");
    w.String("author", it.Author());
    w.String("duration", it.Duration().Duration());
    w.Bool("block", it.Block());
    WriteCategory(w, it.Category());
    w.Bool("explicit", it.Explict());
    WriteKeywords(w, it.KeyWords());
    w.String("subtitle", it.Subtitle());
    w.String("summary", it.Summary());
    w.EndObject();
    w.EndObject();
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else if (c >= 0x80) {
            const std::size_t len = utf8::SequenceLength(text, i);
            if (len == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
                continue;
            }
            out.append(text.substr(i, len));
            i += len;
            continue;
        } else {
            out += char(c);
        }
        ++i;
    }
    out += '"';
    return out;
}

namespace {

std::string WriteFeedJson(const TFeedDocument& feed, const std::string& error,
                          const TFeedOrigin* origin) {
    TJsonWriter w;
    w.BeginObject();
    w.String("format", XMLTypeName(feed.XMLType()));
    w.String("version", feed.Version());
    w.String("channelTitle", feed.ChannelTitle);
    w.String("channelLink", feed.ChannelLink);
    w.String("channelDescription", feed.ChannelDescription);
    w.String("channelDate", feed.ChannelDate);
    WriteChannel(w, feed.Channel());
    w.BeginArray("items");
    for (int i = 0; i < feed.Items().Count(); ++i)
        WriteItem(w, feed.Items()[i]);
    w.EndArray();
    if (!feed.Recovered().empty()) w.String("recovered", feed.Recovered());
    if (origin) {
        w.Bool("from_store", origin->FromStore);
        if (origin->FromStore) w.String("reason", origin->Reason);
    }
    if (!error.empty()) w.String("error", error);
    w.EndObject();
    return w.Take();
}

}  // namespace

std::string FeedToJson(const TFeedDocument& feed, const std::string& error) {
    return WriteFeedJson(feed, error, nullptr);
}

std::string FeedToJson(const TFeedDocument& feed, const std::string& error,
                       const TFeedOrigin& origin) {
    return WriteFeedJson(feed, error, &origin);
}

}  // namespace pelwick
