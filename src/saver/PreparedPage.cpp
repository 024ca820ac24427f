#include "saver/PreparedPage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/Strings.h"

namespace pelwick {
namespace {

// About 64 MB of 32-bit pixels: enough for any picture a card shows, and a bound for images
// whose few encoded bytes claim a huge size.
constexpr long long MaxImagePixels = 16LL * 1024 * 1024;

using TAttributes = std::vector<std::pair<std::string, std::string>>;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == ':';
}

char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), LowerChar);
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == prefix;
}

// Attribute values as a browser reads them: the common NamedReferences and all numeric references.
std::string DecodeAttribute(std::string_view value) {
    static const std::pair<const char*, const char*> NamedReferences[] = {
        {"&amp;", "&"},   {"&lt;", "<"},   {"&gt;", ">"},
        {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", "\xC2\xA0"}};
    std::string out;
    for (size_t i = 0; i < value.size();) {
        bool done = false;
        if (value[i] != '&') {
            out += value[i++];
            continue;
        }
        for (const auto& [ref, text] : NamedReferences) {
            if (StartsWithNoCase(value.substr(i), ref)) {
                out += text;
                i += std::string_view(ref).size();
                done = true;
                break;
            }
        }
        if (!done && value.substr(i, 2) == "&#") {
            const size_t semi = value.find(';', i);
            if (semi != std::string_view::npos && semi - i <= 10) {
                const QString digits = QString::fromUtf8(value.substr(i + 2, semi - i - 2));
                bool ok = false;
                const uint cp = digits.startsWith('x', Qt::CaseInsensitive)
                                    ? digits.mid(1).toUInt(&ok, 16)
                                    : digits.toUInt(&ok, 10);
                if (ok && cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
                    const char32_t c = cp;
                    out += QString::fromUcs4(&c, 1).toStdString();
                    i = semi + 1;
                    done = true;
                }
            }
        }
        if (!done) out += value[i++];
    }
    return out;
}

// A tag's attributes from just after its name; end is set past its '>' (or to the end of
// the text when it never closes). A quoted value may hold '>'.
TAttributes ParseAttributes(std::string_view html, size_t i, size_t& end) {
    TAttributes attributes;
    const size_t n = html.size();
    for (;;) {
        while (i < n && (IsSpace(html[i]) || html[i] == '/'))
            ++i;
        if (i >= n || html[i] == '>') {
            end = std::min(i + 1, n);
            return attributes;
        }
        const size_t nameStart = i++;
        while (i < n && !IsSpace(html[i]) && html[i] != '/' && html[i] != '>' && html[i] != '=')
            ++i;
        std::string name = Lower(html.substr(nameStart, i - nameStart));
        while (i < n && IsSpace(html[i]))
            ++i;
        std::string value;
        if (i < n && html[i] == '=') {
            ++i;
            while (i < n && IsSpace(html[i]))
                ++i;
            if (i < n && (html[i] == '"' || html[i] == '\'')) {
                const size_t close = html.find(html[i], i + 1);
                const size_t stop = close == std::string_view::npos ? n : close;
                value = html.substr(i + 1, stop - i - 1);
                i = std::min(stop + 1, n);
            } else {
                const size_t valueStart = i;
                while (i < n && !IsSpace(html[i]) && html[i] != '>')
                    ++i;
                value = html.substr(valueStart, i - valueStart);
            }
        }
        attributes.emplace_back(std::move(name), DecodeAttribute(value));
    }
}

const std::string* Find(const TAttributes& attributes, std::string_view name) {
    for (const auto& [key, value] : attributes)
        if (key == name) return &value;
    return nullptr;
}

// Where a start tag of this name begins its attributes, when '<' at pos opens one. HTML
// parsers differ in what they accept here (blanks after '<', "<img/src=..."), so anything
// that could be taken for the tag counts as it.
std::optional<size_t> TagAt(std::string_view html, size_t pos, std::string_view name) {
    size_t i = pos + 1;
    while (i < html.size() && IsSpace(html[i]))
        ++i;
    if (!StartsWithNoCase(html.substr(i), name)) return std::nullopt;
    i += name.size();
    if (i < html.size() && IsNameChar(html[i])) return std::nullopt;
    return i;
}

// The body's margins are pixels; like browsers we read the leading digits ("6", "6px").
int MarginOf(const TAttributes& body, std::string_view name) {
    const std::string* value = Find(body, name);
    if (!value) return 0;
    long long pixels = 0;
    size_t i = 0;
    while (i < value->size() && IsSpace((*value)[i]))
        ++i;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i)
        pixels = std::min(pixels * 10 + ((*value)[i] - '0'), 1000LL);
    return int(std::clamp(pixels, 0LL, 200LL));
}

QColor ColorOf(const std::string& value) {
    QString name = QString::fromStdString(value).trimmed();
    QColor color = QColor::fromString(name);
    // Old pages write hex colours without the '#'.
    if (!color.isValid() && name.size() == 6) color = QColor::fromString(u'#' + name);
    return color;
}

void ReadBody(std::string_view html, TPreparedPage& page) {
    for (size_t lt = html.find('<'); lt != std::string_view::npos; lt = html.find('<', lt + 1)) {
        if (const std::optional<size_t> at = TagAt(html, lt, "body")) {
            size_t end = 0;
            const TAttributes body = ParseAttributes(html, *at, end);
            if (const std::string* bg = Find(body, "bgcolor")) {
                const QColor color = ColorOf(*bg);
                if (color.isValid()) page.background = color;
            }
            page.topMargin = MarginOf(body, "topmargin");
            page.leftMargin = MarginOf(body, "leftmargin");
            page.rightMargin = MarginOf(body, "rightmargin");
            page.bottomMargin = MarginOf(body, "bottommargin");
            return;
        }
    }
}

// The image tag again, with its source replaced by the registered name.
std::string ImageTag(const std::string& name, const TAttributes& attributes) {
    std::string tag = "<img src=\"" + name + "\"";
    for (const auto& [key, value] : attributes) {
        if (key == "src" || key.empty() ||
            !std::all_of(key.begin(), key.end(), [](char c) { return IsNameChar(c); }))
            continue;
        tag += " " + key + "=\"" + HtmlEscape(value) + "\"";
    }
    return tag + ">";
}

// The item card writes its description as bare inline content between the heading and the
// date line. Qt's importer starts a new block at the first inline tag of such content (a
// browser keeps it one paragraph), so the description is laid out inside a block of its own.
void WrapCardDescription(std::string& html) {
    constexpr std::string_view start = "</h3><font color=\"#FFFFFF\">";
    constexpr std::string_view end = "</font><p align=\"right\">";
    const size_t open = html.find(start);
    const size_t close = html.rfind(end);
    if (open == std::string::npos || close == std::string::npos || close < open + start.size())
        return;
    html.insert(close + std::string_view("</font>").size(), "</div>");
    html.insert(open + std::string_view("</h3>").size(), "<div>");
}

}  // namespace

QImage DecodeDataImage(std::string_view url) {
    std::string compact;  // data URLs in attributes are often wrapped over lines
    for (const char c : url)
        if (!IsSpace(c)) compact += c;
    if (!StartsWithNoCase(compact, "data:")) return {};
    const size_t comma = compact.find(',');
    if (comma == std::string::npos) return {};
    const std::string meta = Lower(std::string_view(compact).substr(5, comma - 5));
    const bool base64 = meta.size() >= 7 && meta.compare(meta.size() - 7, 7, ";base64") == 0;
    const QByteArray payload = QByteArray::fromStdString(compact.substr(comma + 1));
    QByteArray bytes;
    if (base64) {
        if (payload.size() / 4 * 3 > MaxDataImageBytes + 3) return {};
        auto decoded =
            QByteArray::fromBase64Encoding(payload, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) return {};
        bytes = std::move(decoded.decoded);
    } else {
        if (payload.size() / 3 > MaxDataImageBytes) return {};
        bytes = QByteArray::fromPercentEncoding(payload);
    }
    if (bytes.isEmpty() || bytes.size() > MaxDataImageBytes) return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Only plain raster formats: a vector image could refer to files of its own.
    const QByteArray format = reader.format().toLower();
    if (format != "png" && format != "jpeg" && format != "jpg" && format != "gif" &&
        format != "bmp")
        return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        (long long)size.width() * size.height() > MaxImagePixels)
        return {};
    return reader.read();
}

TPreparedPage PreparePage(const std::string& html) {
    TPreparedPage page;
    ReadBody(html, page);
    std::string& out = page.html;
    out.reserve(html.size());
    size_t copied = 0;
    for (size_t lt = html.find('<'); lt != std::string::npos; lt = html.find('<', lt + 1)) {
        const std::optional<size_t> link = TagAt(html, lt, "link");
        const std::optional<size_t> at = link ? link : TagAt(html, lt, "img");
        if (!at) continue;
        size_t end = 0;
        const TAttributes attributes = ParseAttributes(html, *at, end);
        out.append(html, copied, lt - copied);
        copied = end;
        lt = end - 1;
        // A link tag only names a stylesheet we would refuse anyway, and the text document
        // takes it for a container that hides the rest of the page.
        if (link) {
            out += "<span></span>";
            continue;
        }
        const std::string* src = Find(attributes, "src");
        QImage image = src ? DecodeDataImage(*src) : QImage();
        if (!image.isNull()) {
            const std::string name = PageImagePrefix + std::to_string(page.images.size());
            out += ImageTag(name, attributes);
            page.images.push_back({name, std::move(image)});
        } else {
            // Always a span, so that a '<' before the tag cannot join what follows it into a
            // new tag.
            const std::string* alt = Find(attributes, "alt");
            out += "<span>" + (alt ? HtmlEscape(*alt) : std::string()) + "</span>";
        }
    }
    out.append(html, copied, std::string::npos);
    WrapCardDescription(out);
    return page;
}

}  // namespace pelwick
