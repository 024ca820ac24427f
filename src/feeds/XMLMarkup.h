#pragma once

#include <string>

#include "feeds/XMLDocument.h"

namespace pelwick {

// Feeds put markup where plain text is expected: unescaped HTML in an RSS description, Atom
// "xhtml" titles and contents, an author holding a name element. These read such an element
// without failing.

// The text of every text and character data node below node, in document order, joined as it
// stands (comments and processing instructions add nothing).
std::string DescendantText(const xmlNode* node);

// The children of element written as HTML, so that a card renders them: elements under their
// local names with their attributes, text escaped, character data sections as they stand (feeds
// wrap HTML in them), comments and processing instructions left out. When the only child is
// an XHTML "div", as Atom requires around xhtml content, its children are written instead.
std::string InnerHTML(const xmlNode* element);

// Whether element is an HTML element that flows inside a line of text ("b", "a", "span", ...),
// so that a blank beside it is a word space and not the indentation of the document.
bool IsPhrasingElement(const xmlNode* element);

}  // namespace pelwick
