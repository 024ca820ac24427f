#include "feeds/XMLAccess.h"

#include <libxml/tree.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "app/Strings.h"
#include "feeds/FeedException.h"
#include "feeds/XMLMarkup.h"

namespace pelwick {

namespace {

std::string_view View(const xmlChar* s) {
    return s ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

const xmlChar* Prefix(const xmlNode* node) {
    return node->ns ? node->ns->prefix : nullptr;
}

bool QualifiedNameIs(std::string_view prefix, std::string_view local, std::string_view name) {
    if (prefix.empty()) return local == name;
    return name.size() == prefix.size() + 1 + local.size() &&
           name.substr(0, prefix.size()) == prefix && name[prefix.size()] == ':' &&
           name.substr(prefix.size() + 1) == local;
}

bool NameOrLocalNameIs(std::string_view prefix, std::string_view local, std::string_view name) {
    return local == name || QualifiedNameIs(prefix, local, name);
}

bool SameNamespace(const xmlNode* a, const xmlNode* b) {
    const xmlChar* ha = a->ns ? a->ns->href : nullptr;
    const xmlChar* hb = b->ns ? b->ns->href : nullptr;
    if (ha == nullptr || hb == nullptr) return ha == hb;
    return xmlStrcasecmp(ha, hb) == 0;
}

bool IsTextLike(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

std::string_view TrimNumberBlanks(std::string_view s) {
    while (!s.empty() && (unsigned char)s.front() <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && (unsigned char)s.back() <= ' ')
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string NodeName(const xmlNode* node) {
    const std::string_view prefix = View(Prefix(node));
    const std::string_view local = View(node->name);
    if (prefix.empty()) return std::string(local);
    std::string name;
    name.reserve(prefix.size() + 1 + local.size());
    name.append(prefix).append(1, ':').append(local);
    return name;
}

bool NodeNameIs(const xmlNode* node, std::string_view name) {
    return QualifiedNameIs(View(Prefix(node)), View(node->name), name);
}

bool LocalNameIs(const xmlNode* node, std::string_view name) {
    return View(node->name) == name;
}

bool IsElement(const xmlNode* node) {
    return node != nullptr && node->type == XML_ELEMENT_NODE;
}

xmlNode* FindNode(const xmlNode* parent, std::string_view name) {
    if (!IsElement(parent)) return nullptr;
    const bool anyNamespace = parent->ns == nullptr;
    xmlNode* byLocalName = nullptr;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        if (!anyNamespace && !SameNamespace(child, parent)) continue;
        if (QualifiedNameIs(View(Prefix(child)), View(child->name), name)) return child;
        if (byLocalName == nullptr && View(child->name) == name) byLocalName = child;
    }
    return byLocalName;
}

xmlNode* ChildNode(xmlNode* parent, std::string_view name) {
    if (!IsElement(parent))
        throw EXMLError("Cannot add element \"" + std::string(name) +
                        "\" to a node that is not an element");
    if (xmlNode* found = FindNode(parent, name)) return found;
    const std::string copy(name);
    xmlNode* added = xmlNewDocNode(parent->doc, parent->ns, BAD_CAST copy.c_str(), nullptr);
    if (added == nullptr || xmlAddChild(parent, added) == nullptr) {
        xmlFreeNode(added);
        throw EXMLError("Cannot add element \"" + copy + "\"");
    }
    return added;
}

xmlNode* FindNodeInNamespace(const xmlNode* parent, std::string_view namespaceName,
                             std::string_view localName) {
    if (!IsElement(parent)) return nullptr;
    const std::string wanted(namespaceName);
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || child->ns == nullptr || child->ns->href == nullptr)
            continue;
        if (View(child->name) == localName &&
            xmlStrcasecmp(child->ns->href, BAD_CAST wanted.c_str()) == 0)
            return child;
    }
    return nullptr;
}

bool InNamespace(const xmlNode* node, std::string_view namespaceName) {
    if (!IsElement(node) || node->ns == nullptr || node->ns->href == nullptr) return false;
    const std::string wanted(namespaceName);
    return xmlStrcasecmp(node->ns->href, BAD_CAST wanted.c_str()) == 0;
}

xmlAttr* FindAttributeNamed(const xmlNode* element, std::string_view name) {
    if (!IsElement(element)) return nullptr;
    for (xmlAttr* a = element->properties; a; a = a->next) {
        const std::string_view prefix = a->ns ? View(a->ns->prefix) : std::string_view();
        if (QualifiedNameIs(prefix, View(a->name), name)) return a;
    }
    return nullptr;
}

xmlAttr* FindAttribute(const xmlNode* element, std::string_view name) {
    if (!IsElement(element)) return nullptr;
    for (xmlAttr* a = element->properties; a; a = a->next) {
        const std::string_view prefix = a->ns ? View(a->ns->prefix) : std::string_view();
        if (NameOrLocalNameIs(prefix, View(a->name), name)) return a;
    }
    return nullptr;
}

xmlAttr* AttributeNode(xmlNode* element, std::string_view name) {
    if (xmlAttr* found = FindAttribute(element, name)) return found;
    if (!IsElement(element))
        throw EXMLError("Cannot add attribute \"" + std::string(name) +
                        "\" to a node that is not an element");
    const std::string copy(name);
    xmlAttr* added = xmlNewProp(element, BAD_CAST copy.c_str(), BAD_CAST "");
    if (added == nullptr) throw EXMLError("Cannot add attribute \"" + copy + "\"");
    return added;
}

std::string NodeText(const xmlNode* node) {
    if (node == nullptr) return "";
    if (node->type == XML_ATTRIBUTE_NODE)
        return AttributeText(reinterpret_cast<const xmlAttr*>(node));
    if (node->type != XML_ELEMENT_NODE) return std::string(View(node->content));
    const xmlNode* child = node->children;
    if (child == nullptr) return "";
    if (child->next == nullptr && IsTextLike(child)) return std::string(View(child->content));
    return DescendantText(node);
}

std::string AttributeText(const xmlAttr* attribute) {
    if (attribute == nullptr) return "";
    const xmlNode* child = attribute->children;
    if (child == nullptr) return "";
    if (child->next == nullptr && child->type == XML_TEXT_NODE)
        return std::string(View(child->content));
    xmlChar* joined = xmlNodeListGetString(attribute->doc, child, 1);
    std::string text(View(joined));
    xmlFree(joined);
    return text;
}

TXMLValue NodeValue(const xmlNode* node) {
    std::string text = NodeText(node);
    if (text.empty()) return std::nullopt;
    return text;
}

TXMLValue AttributeValue(const xmlAttr* attribute) {
    std::string text = AttributeText(attribute);
    if (text.empty()) return std::nullopt;
    return text;
}

TXMLValue MarkupValue(const xmlNode* element) {
    if (!IsElement(element)) return NodeValue(element);
    bool holdsElements = false;
    for (const xmlNode* child = element->children; child && !holdsElements; child = child->next)
        holdsElements = child->type == XML_ELEMENT_NODE;
    std::string text = holdsElements ? InnerHTML(element) : NodeText(element);
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<int> TryValueNumber(const TXMLValue& value) {
    if (!value) return std::nullopt;
    std::string_view s = TrimNumberBlanks(*value);
    if (auto exact = TryParseInt(s)) return *exact;
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') s = {};
    }
    double number = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), number);
    // from_chars also reads "inf" and "nan", which are no numbers a feed means.
    const bool ok =
        !s.empty() && ec == std::errc() && end == s.data() + s.size() && std::isfinite(number);
    if (!ok) return std::nullopt;
    const double rounded = std::nearbyint(number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return int(rounded);
}

int ValueNumber(const TXMLValue& value) {
    if (!value) throw EConvertError("Could not convert an empty value to an integer");
    if (const std::optional<int> number = TryValueNumber(value)) return *number;
    throw EConvertError("Could not convert \"" + *value + "\" to an integer");
}

bool HasChildNodes(const xmlNode* node) {
    return node != nullptr && node->type == XML_ELEMENT_NODE && node->children != nullptr;
}

bool HasAttributes(const xmlNode* node) {
    return IsElement(node) && (node->properties != nullptr || node->nsDef != nullptr);
}

}  // namespace pelwick
