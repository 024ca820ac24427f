#pragma once

#include <string>
#include <string_view>

// libxml2's own declarations, repeated so that users of the model need not include libxml2;
// the struct tags are libxml2's, reserved names included.
typedef struct _xmlDoc xmlDoc;    // NOLINT(bugprone-reserved-identifier)
typedef struct _xmlNode xmlNode;  // NOLINT(bugprone-reserved-identifier)

namespace pelwick {

// The parsed XML of a feed: libxml2's tree, owned. Parsing is safe for bytes from anywhere:
// no external entity, DTD or address is ever loaded, entity expansion is bounded, nesting is
// limited, and nothing is printed. Whitespace-only text nodes are dropped unless xml:space
// "preserve" applies to them or they are the word space after an HTML phrasing element inside
// markup ("<b>big</b> <i>news</i>"), so an element holding only blanks reads as empty.
class TXMLDocument {
  public:
    TXMLDocument() = default;
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // Replaces the tree by the one parsed from bytes. Blanks before the XML declaration are
    // skipped. The encoding comes from the byte-order mark or the XML declaration; a declared
    // encoding the system does not know is retried as UTF-8, then as windows-1252, and text
    // that does not convert from its declared encoding is retried in that encoding's common
    // superset (EUC-KR as CP949, Shift_JIS as CP932, ...). Raises EXMLError with the parser's
    // first error ("Line 3: ...") and leaves the document empty.
    void LoadFromBytes(std::string_view bytes);
    // Like LoadFromBytes, for bytes that LoadFromBytes refused: the parser mends what it can
    // (a bare "&", an undefined HTML entity, a mismatched or missing end tag, a stray byte) under
    // the same safety settings. A bare "&" and an undeclared reference stay in the text as
    // written, an HTML entity reads as its character, a byte that is not UTF-8 as U+FFFD;
    // elements the data ended inside are marked incomplete. Raises EXMLError when no root
    // element results.
    void RecoverFromBytes(std::string_view bytes);
    void Clear();

    // Whether the document came from RecoverFromBytes.
    bool IsRecovered() const { return recovered_; }
    // False for an element of a recovered document whose end tag never came, such as the item
    // a truncated download stopped in.
    static bool IsComplete(const xmlNode* element);

    bool IsEmpty() const { return doc_ == nullptr; }
    // The root element, or nullptr for an empty document.
    xmlNode* DocumentElement() const;
    xmlDoc* Handle() const { return doc_; }

  private:
    void Load(std::string_view bytes, bool recover);

    xmlDoc* doc_ = nullptr;
    bool recovered_ = false;
};

}  // namespace pelwick
