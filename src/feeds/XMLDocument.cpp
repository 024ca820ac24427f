#include "feeds/XMLDocument.h"

#include <libxml/HTMLparser.h>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <mutex>
#include <string>
#include <vector>

#include "app/Strings.h"
#include "feeds/FeedException.h"
#include "feeds/XMLMarkup.h"
#include "feeds/XMLRepair.h"

namespace pelwick {

namespace {

// Network off alone does not stop file:// reads, so every external entity, whatever its
// address, is refused; an entity that cannot be loaded expands to nothing.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void IgnoreGenericError(void*, const char*, ...) {}

void InitLibxml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
    });
}

// Keeps the first error libxml2 reports while a parse runs on this thread, instead of the
// text libxml2 would print on stderr.
class TErrorCapture {
  public:
    TErrorCapture() : oldHandler_(xmlStructuredError), oldContext_(xmlStructuredErrorContext) {
        // The generic handler is per thread in libxml2; some paths print through it directly.
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
        xmlSetStructuredErrorFunc(this, &TErrorCapture::Collect);
    }
    ~TErrorCapture() { xmlSetStructuredErrorFunc(oldContext_, oldHandler_); }
    TErrorCapture(const TErrorCapture&) = delete;
    TErrorCapture& operator=(const TErrorCapture&) = delete;

    void Reset() {
        message_.clear();
        code_ = 0;
    }
    int Code() const { return code_; }
    std::string Message() const {
        if (message_.empty()) return "The document could not be parsed";
        return line_ > 0 ? "Line " + std::to_string(line_) + ": " + message_ : message_;
    }

  private:
    static void Collect(void* self, xmlErrorPtr error) {
        auto* capture = static_cast<TErrorCapture*>(self);
        if (error == nullptr || error->level < XML_ERR_ERROR || !capture->message_.empty()) return;
        std::string text = error->message ? error->message : "";
        for (char& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        capture->message_ = TrimBlanks(text);
        if (capture->message_.empty())
            capture->message_ = "XML error " + std::to_string(error->code);
        capture->line_ = error->line;
        capture->code_ = error->code;
    }

    xmlStructuredErrorFunc oldHandler_;
    void* oldContext_;
    std::string message_;
    int line_ = 0;
    int code_ = 0;
};

// UTF-16 text without byte-order mark and without XML declaration starts with "<" and a
// zero byte beside it; libxml2 only recognises the declaration.
const char* GuessUtf16(std::string_view bytes) {
    if (bytes.size() < 4) return nullptr;
    const auto b = [&](std::size_t i) { return (unsigned char)bytes[i]; };
    if (b(0) == '<' && b(1) == 0 && b(2) != 0 && b(3) == 0) return "UTF-16LE";
    if (b(0) == 0 && b(1) == '<' && b(2) == 0 && b(3) != 0) return "UTF-16BE";
    return nullptr;
}

bool IsBlankText(const xmlChar* s) {
    if (s == nullptr) return true;
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\n' && *s != '\r') return false;
    return true;
}

// 1 for xml:space="preserve", 0 for "default", -1 when the element does not say.
int SpaceMode(const xmlNode* element) {
    for (const xmlAttr* a = element->properties; a; a = a->next) {
        if (a->ns == nullptr || !xmlStrEqual(a->ns->href, XML_XML_NAMESPACE) ||
            !xmlStrEqual(a->name, BAD_CAST "space"))
            continue;
        const xmlNode* text = a->children;
        if (text && text->content && xmlStrEqual(text->content, BAD_CAST "preserve")) return 1;
        return 0;
    }
    return -1;
}

// A blank between an HTML phrasing element and what follows it is the word space of markup
// in a field, not indentation.
bool IsWordSpace(const xmlNode* blank) {
    return blank->next != nullptr && IsPhrasingElement(blank->prev);
}

// Removes whitespace-only text nodes below root, walking without recursion so that depth
// never matters.
void DropBlankText(xmlNode* root) {
    std::vector<bool> preserve{SpaceMode(root) == 1};
    xmlNode* node = root->children;
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            const int mode = SpaceMode(node);
            preserve.push_back(mode == -1 ? preserve.back() : mode == 1);
            node = node->children;
            continue;
        }
        xmlNode* parent = node->parent;
        xmlNode* next = node->next;
        if (node->type == XML_TEXT_NODE && !preserve.back() && IsBlankText(node->content) &&
            !IsWordSpace(node)) {
            xmlUnlinkNode(node);
            xmlFreeNode(node);
        }
        while (next == nullptr && parent != root) {
            preserve.pop_back();
            next = parent->next;
            parent = parent->parent;
        }
        node = next;
    }
}

// Blanks libxml2 calls ignorable are not even built, except the word spaces after phrasing
// elements, which DropBlankText keeps as well (the blanks libxml2 does build it drops itself).
void KeepWordSpaces(void* context, const xmlChar* blanks, int length) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
    if (ctxt->node != nullptr && IsPhrasingElement(ctxt->node->last))
        xmlSAX2Characters(context, blanks, length);
}

// A recovered parse marks each element whose end tag it met; the others are where the data
// broke off.
int closedMarker = 0;
int unclosedMarker = 0;

void MarkClosed(void* context, const xmlChar* localName, const xmlChar* prefix,
                const xmlChar* uri) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
    if (ctxt->node != nullptr) ctxt->node->_private = &closedMarker;
    xmlSAX2EndElementNs(context, localName, prefix, uri);
}

// Feeds written by HTML tools use HTML's named characters ("&nbsp;") without declaring them; a
// recovered parse gives them their characters, and any other undeclared reference stays as
// written, instead of dropping them. The declarations go into the document's own internal
// subset, one character or one reference long; nothing is loaded.
xmlEntityPtr UndeclaredEntityFallback(void* context, const xmlChar* name) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
    if (xmlEntityPtr declared = xmlSAX2GetEntity(context, name)) return declared;
    if (ctxt->myDoc == nullptr || ctxt->inSubset != 0) return nullptr;
    if (ctxt->myDoc->intSubset == nullptr &&
        xmlCreateIntSubset(ctxt->myDoc, BAD_CAST "feed", nullptr, nullptr) == nullptr)
        return nullptr;
    std::string content;
    if (const htmlEntityDesc* html = htmlEntityLookup(name)) {
        xmlChar utf8[8] = {0};
        const int length = xmlCopyCharMultiByte(utf8, int(html->value));
        if (length <= 0) return nullptr;
        content.assign(reinterpret_cast<const char*>(utf8), std::size_t(length));
    } else {
        content = "&amp;" + std::string(reinterpret_cast<const char*>(name)) + ";";
    }
    return xmlAddDocEntity(ctxt->myDoc, name, XML_INTERNAL_GENERAL_ENTITY, nullptr, nullptr,
                           BAD_CAST content.c_str());
}

void RepairText(xmlNode* node) {
    const char* content = reinterpret_cast<const char*>(node->content);
    if (content == nullptr || IsValidUtf8(content)) return;
    const std::string repaired = ReplaceInvalidUtf8(content);
    xmlNodeSetContent(node, BAD_CAST repaired.c_str());
}

// After a recovered parse: marks the elements whose end tag never came, and replaces the bytes
// libxml2 let through when the text broke its encoding. Walks without recursion.
void FinishRecovered(xmlNode* root) {
    xmlNode* node = root;
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE) {
            node->_private = node->_private == &closedMarker ? nullptr : &unclosedMarker;
            for (xmlAttr* a = node->properties; a; a = a->next)
                for (xmlNode* text = a->children; text; text = text->next)
                    RepairText(text);
        } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            RepairText(node);
        }
        if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != nullptr && node != root && node->next == nullptr)
            node = node->parent;
        node = node == root || node == nullptr ? nullptr : node->next;
    }
}

// Internal entities are substituted (libxml2 then bounds their amplification); DTDs are never
// loaded, the network is off, and the huge-document switch stays off so that libxml2's limits
// on depth and text size hold. Blanks libxml2 deems ignorable go to KeepWordSpaces, which
// builds no nodes for them (DropBlankText would drop them anyway).
constexpr int ParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT;

xmlDocPtr ParseOnce(std::string_view bytes, const char* encoding, int options, bool recover,
                    TErrorCapture& errors) {
    errors.Reset();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr) throw EXMLError("Out of memory while parsing the document");
    ctxt->sax->ignorableWhitespace = KeepWordSpaces;
    if (recover) {
        ctxt->sax->endElementNs = MarkClosed;
        ctxt->sax->getEntity = UndeclaredEntityFallback;
        options |= XML_PARSE_RECOVER;
    }
    // An empty buffer still needs a valid pointer for libxml2 to report "Document is empty".
    static const char Nothing[1] = {0};
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, bytes.empty() ? Nothing : bytes.data(),
                                      int(bytes.size()), nullptr, encoding, options);
    xmlFreeParserCtxt(ctxt);
    return doc;
}

// One parse, retried in other encodings when the declared one is unknown or does not fit the
// text. Returns the document (nullptr when the strict parse failed) and sets error to the
// message of the attempt that explains the failure best.
xmlDocPtr ParseInSomeEncoding(std::string_view bytes, bool recover, std::string& error) {
    TErrorCapture errors;
    xmlDocPtr doc = ParseOnce(bytes, GuessUtf16(bytes), ParseOptions, recover, errors);
    error = errors.Code() != 0 ? errors.Message() : "";
    if (errors.Code() == 0 || (doc != nullptr && !recover)) return doc;
    constexpr int forced = ParseOptions | XML_PARSE_IGNORE_ENC;
    if (errors.Code() == XML_ERR_UNSUPPORTED_ENCODING) {
        // Feeds sometimes declare encodings nobody knows; most are really UTF-8 or the
        // Windows Latin code page.
        if (doc != nullptr) xmlFreeDoc(doc);
        for (const char* fallback : {"UTF-8", "windows-1252"}) {
            doc = ParseOnce(bytes, fallback, forced, recover, errors);
            error = errors.Message();
            if (doc != nullptr) break;
        }
        return doc;
    }
    // Text the declared encoding cannot hold may still be text of its superset: the parse
    // fails with a conversion error, or just stops there for US-ASCII. A superset reads
    // whatever the declared encoding reads, so its parse can only do better.
    const char* superset = EncodingSuperset(DeclaredEncoding(bytes));
    if (superset == nullptr) return doc;
    const bool conversionFailed = errors.Code() == XML_I18N_CONV_FAILED;
    xmlDocPtr wider = ParseOnce(bytes, superset, forced, recover, errors);
    // A recovered parse that stopped at a byte the superset lacks is no better.
    if (wider != nullptr && (!recover || errors.Code() != XML_I18N_CONV_FAILED)) {
        if (doc != nullptr) xmlFreeDoc(doc);
        error = errors.Code() != 0 ? errors.Message() : "";
        return wider;
    }
    if (wider != nullptr) xmlFreeDoc(wider);
    // Where the declared encoding broke down, how the superset failed says more.
    if (conversionFailed && !recover) error = errors.Message();
    return doc;
}

}  // namespace

void TXMLDocument::LoadFromBytes(std::string_view bytes) {
    Load(bytes, false);
}

void TXMLDocument::RecoverFromBytes(std::string_view bytes) {
    Load(bytes, true);
}

void TXMLDocument::Load(std::string_view bytes, bool recover) {
    Clear();
    InitLibxml();
    if (bytes.size() > std::size_t(INT_MAX)) throw EXMLError("The document is too large");
    bytes = SkipBlanksBeforeDeclaration(bytes);
    std::string escaped;
    if (recover && IsAsciiCompatible(bytes) && EscapeBareAmpersands(bytes, escaped)) {
        if (escaped.size() > std::size_t(INT_MAX)) throw EXMLError("The document is too large");
        bytes = escaped;
    }
    std::string error;
    xmlDocPtr doc = ParseInSomeEncoding(bytes, recover, error);
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (root == nullptr) {
        if (doc != nullptr) xmlFreeDoc(doc);
        throw EXMLError(error.empty() ? "The document has no root element" : error);
    }
    DropBlankText(root);
    if (recover) FinishRecovered(root);
    doc_ = doc;
    recovered_ = recover;
}

bool TXMLDocument::IsComplete(const xmlNode* element) {
    return element == nullptr || element->_private != &unclosedMarker;
}

TXMLDocument::~TXMLDocument() {
    Clear();
}

void TXMLDocument::Clear() {
    if (doc_ != nullptr) xmlFreeDoc(doc_);
    doc_ = nullptr;
    recovered_ = false;
}

xmlNode* TXMLDocument::DocumentElement() const {
    return doc_ ? xmlDocGetRootElement(doc_) : nullptr;
}

}  // namespace pelwick
