#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "feeds/XMLDocument.h"

typedef struct _xmlAttr xmlAttr;  // NOLINT(bugprone-reserved-identifier): libxml2's tag

namespace pelwick {

// The rules by which every feed reader reads the document, so that all formats behave alike.
//
// Names: the node name is the qualified name as written ("content:encoded"), compared exactly
// and with case; the local name drops the prefix.
// Values: the value of a node is its text, or null (nullopt) when that text is empty. A field
// is assigned "if present", that is only when its value is not null.

using TXMLValue = std::optional<std::string>;

std::string NodeName(const xmlNode* node);
bool NodeNameIs(const xmlNode* node, std::string_view name);
bool LocalNameIs(const xmlNode* node, std::string_view name);
bool IsElement(const xmlNode* node);

// The first child element of parent whose node name is name; only when there is none, the
// first whose local name is name, so that a namesake of another vocabulary ("media:title")
// never hides the element itself. Only children in parent's namespace count (namespace names
// compared without case); when parent has no namespace, children of any namespace do.
xmlNode* FindNode(const xmlNode* parent, std::string_view name);
// FindNode, but an absent element is appended to parent (empty, in parent's namespace) and
// returned, so it reads as empty. Raises EXMLError when parent is not an element.
xmlNode* ChildNode(xmlNode* parent, std::string_view name);

// The first child element whose namespace name is namespaceName (compared without case) and
// whose local name is localName, whatever prefix the document gives it.
xmlNode* FindNodeInNamespace(const xmlNode* parent, std::string_view namespaceName,
                             std::string_view localName);

// The namespace of Dublin Core elements such as "dc:date".
inline constexpr const char* DublinCoreNamespace = "http://purl.org/dc/elements/1.1/";
// The namespaces that make a root a feed whatever its prefix: RDF's, Atom 1.0's, Atom 0.3's.
inline constexpr const char* RDFNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
inline constexpr const char* AtomNamespace = "http://www.w3.org/2005/Atom";
inline constexpr const char* Atom03Namespace = "http://purl.org/atom/ns#";

// Whether node is an element in the namespace namespaceName (compared without case).
bool InNamespace(const xmlNode* node, std::string_view namespaceName);

// The first attribute whose node name or local name is name, whatever its namespace.
xmlAttr* FindAttribute(const xmlNode* element, std::string_view name);
// The attribute whose node name is exactly name ("href" but not "xlink:href").
xmlAttr* FindAttributeNamed(const xmlNode* element, std::string_view name);
// FindAttribute, but an absent attribute is added empty, so it reads as null.
xmlAttr* AttributeNode(xmlNode* element, std::string_view name);

// The text of a node. An element without children reads "", one holding a single text node
// or character data section reads its content; any other element reads the text of all its
// descendants joined (markup in a title). Text, character data, comments and processing
// instructions give their content.
std::string NodeText(const xmlNode* node);
std::string AttributeText(const xmlAttr* attribute);
TXMLValue NodeValue(const xmlNode* node);
TXMLValue AttributeValue(const xmlAttr* attribute);
// The value of a field that may carry HTML (a description, content or summary): as NodeValue
// for an element without element children, except that text split over several nodes (text
// beside a character data section) reads joined; an element holding elements reads as its
// children written as HTML (see InnerHTML).
TXMLValue MarkupValue(const xmlNode* element);

// The value as an integer: a decimal integer as written, a number with a fraction (or an
// exponent) rounded to the nearest, ties to even; blanks around it are allowed. Null, text
// that is no number and numbers beyond 32 bits raise EConvertError.
int ValueNumber(const TXMLValue& value);
// ValueNumber, or nullopt where it would raise.
std::optional<int> TryValueNumber(const TXMLValue& value);

bool HasChildNodes(const xmlNode* node);
// Namespace declarations count, as they are attributes in the document's own view.
bool HasAttributes(const xmlNode* node);

}  // namespace pelwick
