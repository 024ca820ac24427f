#include "feeds/XMLMarkup.h"

#include <libxml/tree.h>

#include <array>
#include <string_view>

namespace pelwick {

namespace {

constexpr const char* XHTMLNamespace = "http://www.w3.org/1999/xhtml";

std::string_view View(const xmlChar* s) {
    return s ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

// HTML elements without content, written without an end tag.
constexpr std::array<std::string_view, 14> VoidElements = {
    "area",  "base", "br",   "col",   "embed",  "hr",    "img",
    "input", "link", "meta", "param", "source", "track", "wbr"};

constexpr std::array<std::string_view, 33> PhrasingElements = {
    "a",     "abbr", "acronym", "b",      "bdi", "bdo", "big",  "br",   "cite", "code", "del",
    "dfn",   "em",   "font",    "i",      "img", "ins", "kbd",  "mark", "q",    "s",    "samp",
    "small", "span", "strike",  "strong", "sub", "sup", "time", "tt",   "u",    "var",  "wbr"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    for (std::string_view candidate : names)
        if (candidate == name) return true;
    return false;
}

void AppendEscaped(std::string& out, std::string_view text, bool inAttribute) {
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<' && !inAttribute)
            out += "&lt;";
        else if (c == '>' && !inAttribute)
            out += "&gt;";
        else if (c == '"' && inAttribute)
            out += "&quot;";
        else
            out += c;
    }
}

void AppendAttributes(std::string& out, const xmlNode* element) {
    for (const xmlAttr* a = element->properties; a; a = a->next) {
        out += ' ';
        if (a->ns && a->ns->prefix) out.append(View(a->ns->prefix)).append(1, ':');
        out += View(a->name);
        out += "=\"";
        xmlChar* value = xmlNodeListGetString(a->doc, a->children, 1);
        AppendEscaped(out, View(value), true);
        xmlFree(value);
        out += '"';
    }
}

// The parser bounds the depth of the tree, so the recursion stays shallow.
void AppendNodes(std::string& out, const xmlNode* node) {
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE) {
            AppendEscaped(out, View(node->content), false);
        } else if (node->type == XML_CDATA_SECTION_NODE) {
            out += View(node->content);
        } else if (node->type == XML_ELEMENT_NODE) {
            const std::string_view name = View(node->name);
            out.append(1, '<').append(name);
            AppendAttributes(out, node);
            out += '>';
            if (node->children == nullptr && IsOneOf(name, VoidElements)) continue;
            AppendNodes(out, node->children);
            out.append("</").append(name).append(1, '>');
        }
    }
}

bool IsXHTMLDiv(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE && View(node->name) == "div" && node->ns &&
           View(node->ns->href) == XHTMLNamespace;
}

}  // namespace

std::string DescendantText(const xmlNode* node) {
    std::string text;
    if (node == nullptr) return text;
    // Walks without recursion: text may sit at any depth the parser allows.
    const xmlNode* current = node->children;
    while (current != nullptr) {
        if (current->type == XML_TEXT_NODE || current->type == XML_CDATA_SECTION_NODE)
            text += View(current->content);
        if (current->type == XML_ELEMENT_NODE && current->children != nullptr) {
            current = current->children;
            continue;
        }
        while (current != nullptr && current->next == nullptr) {
            current = current->parent;
            if (current == node) return text;
        }
        if (current != nullptr) current = current->next;
    }
    return text;
}

std::string InnerHTML(const xmlNode* element) {
    std::string html;
    if (element == nullptr) return html;
    const xmlNode* first = element->children;
    if (first && first->next == nullptr && IsXHTMLDiv(first)) first = first->children;
    AppendNodes(html, first);
    return html;
}

bool IsPhrasingElement(const xmlNode* element) {
    return element != nullptr && element->type == XML_ELEMENT_NODE &&
           IsOneOf(View(element->name), PhrasingElements);
}

}  // namespace pelwick
