#include "feeds/FeedDiscovery.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "app/Strings.h"

namespace pelwick {

namespace {

struct TFreeDoc {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using THtmlDoc = std::unique_ptr<xmlDoc, TFreeDoc>;

// Read as a browser would, quietly, and never from the network.
THtmlDoc ReadHtml(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > 64u << 20) return nullptr;
    return THtmlDoc(htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                   HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                       HTML_PARSE_NONET | HTML_PARSE_COMPACT));
}

std::string Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) return "";
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return TrimBlanks(text);
}

// rel is a list of words; "alternate" must be one of them.
bool IsAlternate(const std::string& rel) {
    std::string words = " " + LowerAscii(rel) + " ";
    std::replace_if(
        words.begin(), words.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; },
        ' ');
    return words.find(" alternate ") != std::string::npos;
}

bool IsFeedType(const std::string& type) {
    const std::string t = LowerAscii(type.substr(0, type.find(';')));
    return t == "application/rss+xml" || t == "application/atom+xml" || t == "application/rdf+xml";
}

bool IsWebAddress(const std::string& address) {
    const std::string lower = LowerAscii(address.substr(0, 8));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

std::string FindIn(xmlNode* node, const std::string& page) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>("link")) == 0 &&
            IsAlternate(Attribute(node, "rel")) && IsFeedType(Attribute(node, "type"))) {
            const std::string href = Attribute(node, "href");
            if (!href.empty()) {
                std::string address = ResolveAddress(page, href);
                if (IsWebAddress(address)) return address;
            }
        }
        std::string inside = FindIn(node->children, page);
        if (!inside.empty()) return inside;
    }
    return "";
}

bool HasScheme(const std::string& s) {
    const std::size_t colon = s.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    return std::all_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

// "a/./b/../c" as "a/c": the path a server is asked for and the address that is stored.
std::string WithoutDotSegments(const std::string& path) {
    std::vector<std::string> kept;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        const bool last = end == path.size();
        if (segment == "..") {
            if (kept.size() > 1) kept.pop_back();
            if (last) kept.push_back("");
        } else if (segment == ".") {
            if (last) kept.push_back("");
        } else {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < kept.size(); ++i)
        out += (i ? "/" : "") + kept[i];
    return out;
}

}  // namespace

std::string FindFeedLink(std::string_view bytes, const std::string& pageAddress) {
    const THtmlDoc doc = ReadHtml(bytes);
    if (!doc) return "";
    return FindIn(xmlDocGetRootElement(doc.get()), pageAddress);
}

bool IsWebPage(std::string_view bytes) {
    const THtmlDoc doc = ReadHtml(bytes);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    return root && xmlStrcasecmp(root->name, reinterpret_cast<const xmlChar*>("html")) == 0 &&
           bytes.find('<') != std::string_view::npos;
}

std::string ResolveAddress(const std::string& base, const std::string& reference) {
    if (HasScheme(reference)) return reference;
    const std::size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string::npos) return reference;
    if (reference.rfind("//", 0) == 0) return base.substr(0, schemeEnd + 1) + reference;
    const std::size_t hostStart = schemeEnd + 3;
    const std::size_t pathStart = std::min(base.find_first_of("/?#", hostStart), base.size());
    const std::string origin = base.substr(0, pathStart);
    // The reference's own query and fragment stay as written; its path loses its dots.
    const std::size_t tail = std::min(reference.find_first_of("?#"), reference.size());
    const std::string rest = reference.substr(tail);
    std::string path = reference.substr(0, tail);
    if (path.rfind('/', 0) != 0) {
        std::string basePath = base.substr(pathStart);
        basePath = basePath.substr(0, basePath.find_first_of("?#"));
        if (path.empty()) return origin + basePath + (rest.empty() ? "" : rest);
        const std::size_t slash = basePath.rfind('/');
        path = (slash == std::string::npos ? "/" : basePath.substr(0, slash + 1)) + path;
    }
    return origin + WithoutDotSegments(path) + rest;
}

}  // namespace pelwick
