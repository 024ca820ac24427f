#include <gtest/gtest.h>

#include <libxml/tree.h>

#include "FeedTestSupport.h"
#include "feeds/FeedException.h"
#include "feeds/XMLAccess.h"
#include "feeds/XMLDocument.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// The parser's message for bytes, or "" when they parse.
std::string ParseError(const std::string& bytes) {
    TXMLDocument doc;
    try {
        doc.LoadFromBytes(bytes);
    } catch (const EXMLError& e) {
        EXPECT_TRUE(doc.IsEmpty());
        return e.Message();
    }
    EXPECT_FALSE(doc.IsEmpty());
    return "";
}

std::string TitleOf(const std::string& bytes) {
    TXMLDocument doc;
    doc.LoadFromBytes(bytes);
    return NodeText(FindNode(doc.DocumentElement(), "title"));
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string out;
    for (char c : ascii) {
        out += bigEndian ? '\0' : c;
        out += bigEndian ? c : '\0';
    }
    return out;
}

TEST(XMLDocument, MalformedInputFailsWithTheFirstErrorAndItsLine) {
    EXPECT_EQ(ParseError(""), "Line 1: Document is empty");
    EXPECT_EQ(ParseError(std::string(1000, '\0')), "Line 1: Document is empty");
    EXPECT_EQ(ParseError("<rss>\n<channel>\n<title>x</title>\n"),
              "Line 4: Premature end of data in tag channel line 2");
    EXPECT_EQ(ParseError("<rss>\n<a></b></rss>"),
              "Line 2: Opening and ending tag mismatch: a line 2 and b");
    // Multi-line libxml2 texts are joined into one line.
    EXPECT_EQ(ParseError("<?xml version='1.0' encoding='UTF-8'?>\n<r>caf\xE9</r>"),
              "Line 2: Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x3C 0x2F 0x72");
    EXPECT_NE(ParseError("<!DOCTYPE html><html><body><br></body></html>"), "");
}

// What a forgiving parse makes of bytes, with the elements left incomplete marked "?".
std::string Recovered(const std::string& bytes) {
    TXMLDocument doc;
    doc.RecoverFromBytes(bytes);
    EXPECT_TRUE(doc.IsRecovered());
    std::string out;
    for (xmlNode* node = doc.DocumentElement()->children; node; node = node->next)
        out += NodeText(node) + (TXMLDocument::IsComplete(node) ? "|" : "?|");
    return out;
}

TEST(XMLDocument, RecoveryMendsNearlyValidXml) {
    const std::pair<std::string, std::string> cases[] = {
        {"<r><a>http://x/?a=1&b=2&amp;c=3&#33;&#x21;</a><b><![CDATA[&x]]> &</b></r>",
         "http://x/?a=1&b=2&c=3!!|&x &|"},
        {"<r><a>x&nbsp;y&uuml;&bogus;z&bogus;</a></r>", "x\xC2\xA0y\xC3\xBC&bogus;z&bogus;|"},
        {"<r><a>one</a><b>two</subtitle><c>three</c></r>", "one|two|three|"},
        {"<?xml version='1.0' encoding='UTF-8'?><r><a>caf\xE9</a></r>", "caf\xEF\xBF\xBD|"},
        {"<r><a>whole</a><b>cut <i>her", "whole|cut her?|"},
    };
    for (const auto& [bytes, expected] : cases) {
        TXMLDocument strict;
        EXPECT_THROW(strict.LoadFromBytes(bytes), EXMLError) << bytes;
        EXPECT_EQ(Recovered(bytes), expected) << bytes;
    }
    // Nothing at all to recover: the parser's first error.
    TXMLDocument doc;
    for (const std::string bytes : {"", "garbage", "\x1F\x8B\x08\x00"})
        EXPECT_THROW(doc.RecoverFromBytes(bytes), EXMLError) << bytes;
    // A strict parse leaves every element complete and the document unrecovered.
    doc.LoadFromBytes("<r><a/></r>");
    EXPECT_FALSE(doc.IsRecovered());
    EXPECT_TRUE(TXMLDocument::IsComplete(doc.DocumentElement()->children));
}

TEST(XMLDocument, RecoveryKeepsTheSafetySettings) {
    test::TProgramFolder folder;
    folder.Write("secret.txt", "TOP-SECRET");
    const std::string entity = "<!DOCTYPE r [<!ENTITY x SYSTEM 'file://" +
                               folder.File("secret.txt") + "'>]><r><a>&x; &</a></r>";
    EXPECT_EQ(Recovered(entity).find("TOP-SECRET"), std::string::npos);
    TXMLDocument doc;
    try {
        doc.RecoverFromBytes(test::EntityBombDoctype() + "<r><a>&a10;</a></r>");
        EXPECT_LT(NodeText(doc.DocumentElement()).size(), 1000u);
    } catch (const EXMLError&) {
        // Refusing the whole document is as safe.
    }
    std::string deep = "<r><a>x</a>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    doc.RecoverFromBytes(deep);
    int depth = 0;
    for (const xmlNode* node = doc.DocumentElement(); node; node = node->last)
        ++depth;
    EXPECT_LE(depth, 300) << "the depth limit holds";
}

TEST(XMLDocument, NothingIsPrintedOnStderr) {
    ::testing::internal::CaptureStderr();
    ParseError("<rss><a></b></rss>");
    ParseError("<?xml version='1.0' encoding='x-nobody-knows'?><r>\x81</r>");
    ParseError("<!DOCTYPE r SYSTEM 'http://127.0.0.1:9/x.dtd'><r>&undefined;</r>");
    TXMLDocument recovered;
    recovered.RecoverFromBytes("<r><a>&undefined; & <b></r>");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(XMLDocument, EncodingsFromMarkAndDeclaration) {
    const std::string xml = "<rss><title>caf\xC3\xA9</title></rss>";
    EXPECT_EQ(TitleOf("\xEF\xBB\xBF" + xml), "caf\xC3\xA9");
    EXPECT_EQ(
        TitleOf("<?xml version='1.0' encoding='ISO-8859-1'?><rss><title>caf\xE9</title></rss>"),
        "caf\xC3\xA9");
    EXPECT_EQ(TitleOf("<?xml version='1.0' encoding='KOI8-R'?><r><title>\xF0\xD2\xC9</title></r>"),
              "\xD0\x9F\xD1\x80\xD0\xB8");  // "При"
    EXPECT_EQ(TitleOf("<?xml version='1.0' encoding='windows-1252'?><r><title>\x80</title></r>"),
              "\xE2\x82\xAC");
    const std::string ascii = "<rss><title>T</title></rss>";
    const std::string declared = "<?xml version='1.0' encoding='UTF-16'?>" + ascii;
    EXPECT_EQ(TitleOf("\xFF\xFE" + Utf16(ascii, false)), "T");
    EXPECT_EQ(TitleOf("\xFE\xFF" + Utf16(ascii, true)), "T");
    EXPECT_EQ(TitleOf(Utf16(declared, false)), "T");
    EXPECT_EQ(TitleOf(Utf16(declared, true)), "T");
    // Neither mark nor declaration: the zero bytes around "<" give it away.
    EXPECT_EQ(TitleOf(Utf16(ascii, false)), "T");
    EXPECT_EQ(TitleOf(Utf16(ascii, true)), "T");
}

TEST(XMLDocument, UnknownDeclaredEncodingFallsBackToUtf8ThenWindows1252) {
    EXPECT_EQ(
        TitleOf("<?xml version='1.0' encoding='x-unheard-of'?><r><title>caf\xC3\xA9</title></r>"),
        "caf\xC3\xA9");
    EXPECT_EQ(
        TitleOf(
            "<?xml version='1.0' encoding='x-unheard-of'?><r><title>caf\xE9 \x93q\x94</title></r>"),
        "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_NE(ParseError("<?xml version='1.0' encoding='x-unheard-of'?><r><title>x</r>"), "");
}

TEST(XMLDocument, ExternalEntitiesAreNeverRead) {
    test::TProgramFolder folder;
    folder.Write("secret.txt", "TOP-SECRET");
    const std::string path = folder.File("secret.txt");
    for (const std::string& url : {"file://" + path, path, std::string("http://127.0.0.1:9/x")}) {
        const std::string xml = "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY x SYSTEM '" + url +
                                "'>]><r><title>a&x;b</title></r>";
        TXMLDocument doc;
        std::string text;
        try {
            doc.LoadFromBytes(xml);
            text = NodeText(FindNode(doc.DocumentElement(), "title"));
        } catch (const EXMLError& e) {
            text = e.Message();
        }
        EXPECT_EQ(text.find("TOP-SECRET"), std::string::npos) << url;
    }
    // An external DTD is not loaded either: its entities stay undefined.
    const std::string dtd = "<!DOCTYPE r SYSTEM 'file://" + path + "'><r><title>x</title></r>";
    EXPECT_EQ(TitleOf(dtd), "x");
}

TEST(XMLDocument, EntityExpansionIsBounded) {
    // Fully expanded this would be 5 * 10^11 bytes; libxml2's guard stops it at once.
    EXPECT_EQ(ParseError(test::EntityBombDoctype() + "<r>&a10;</r>"),
              "Line 1: Detected an entity reference loop");
    // Small, honest internal entities are expanded.
    EXPECT_EQ(TitleOf("<!DOCTYPE r [<!ENTITY who 'World'>]><r><title>Hello &who;</title></r>"),
              "Hello World");
}

TEST(XMLDocument, DeepNestingFailsWithTheDepthLimit) {
    std::string deep = "<rss>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    for (int i = 0; i < 100000; ++i)
        deep += "</a>";
    deep += "</rss>";
    EXPECT_NE(ParseError(deep).find("Excessive depth"), std::string::npos);
    // Depth within the limit loads, and dropping blank text copes with it.
    std::string fine = "<rss>";
    for (int i = 0; i < 200; ++i)
        fine += "<a> ";
    for (int i = 0; i < 200; ++i)
        fine += " </a>";
    EXPECT_EQ(ParseError(fine + "</rss>"), "");
}

TEST(XMLDocument, HugeTextLoadsOrFailsWithTheParsersMessage) {
    // libxml2's limits stay on: an 11 MB character data section is refused with its message,
    // while plain text of that size loads.
    const std::string body(11u << 20, 'x');
    EXPECT_EQ(ParseError("<rss><title><![CDATA[" + body + "]]></title></rss>"),
              "Line 1: CData section too big found");
    EXPECT_EQ(TitleOf("<rss><title>" + body + "</title></rss>").size(), body.size());
}

TEST(XMLDocument, BlankTextIsDroppedUnlessPreserved) {
    TXMLDocument doc;
    doc.LoadFromBytes(
        "<r>\n  <a>  </a>\n  <b> x </b>\n  <c xml:space='preserve'> <d>  </d> </c>\n"
        "  <e xml:space='preserve'><f xml:space='default'>  </f></e>\n"
        "  <g> <![CDATA[ ]]> </g>\n  <h>  &amp;  </h><i>a <b>b</b> <c>c</c></i></r>");
    xmlNode* root = doc.DocumentElement();
    EXPECT_EQ(root->children, FindNode(root, "a")) << "blanks between elements are gone";
    EXPECT_FALSE(HasChildNodes(FindNode(root, "a")));
    EXPECT_EQ(NodeText(FindNode(root, "b")), " x ");
    xmlNode* c = FindNode(root, "c");
    EXPECT_EQ(NodeText(c->children), " ");
    EXPECT_EQ(NodeText(FindNode(c, "d")), "  ");
    EXPECT_FALSE(HasChildNodes(FindNode(FindNode(root, "e"), "f")));
    // Character data sections are no text nodes: they stay, and the blanks around them go.
    EXPECT_EQ(NodeText(FindNode(root, "g")), " ");
    EXPECT_EQ(NodeText(FindNode(root, "h")), "  &  ") << "blanks beside other text stay";
    // Between elements of mixed content too, a blank-only text node goes, except the word
    // space after a phrasing element of HTML.
    xmlNode* i = FindNode(root, "i");
    ASSERT_NE(i->children->next, nullptr);
    EXPECT_EQ(NodeText(i->children->next->next), " ");
    TXMLDocument markup;
    markup.LoadFromBytes(
        "<r><t><b>big</b> <i>news</i>\n <p>para</p>\n <c>x</c> <d/></t><e><b>x</b> </e></r>");
    EXPECT_EQ(NodeText(FindNode(markup.DocumentElement(), "t")), "big news\n parax");
    EXPECT_EQ(FindNode(markup.DocumentElement(), "e")->children->next, nullptr)
        << "a blank before the end tag is no word space";
}

TEST(XMLDocument, BlanksBeforeTheDeclarationAreSkipped) {
    EXPECT_EQ(TitleOf("\n\r\n \t<?xml version='1.0'?><r><title>t</title></r>"), "t");
    EXPECT_EQ(
        TitleOf("\xEF\xBB\xBF\n<?xml version='1.0' encoding='UTF-8'?><r><title>t</title></r>"),
        "t");
    // Anything else before the declaration still fails it.
    EXPECT_EQ(ParseError("x\n<?xml version='1.0'?><r/>"),
              "Line 1: Start tag expected, '<' not found");
    EXPECT_EQ(ParseError("<!-- c -->\n<?xml version='1.0'?><r/>"),
              "Line 2: XML declaration allowed only at the start of the document");
}

TEST(XMLDocument, TextOutsideItsDeclaredEncodingIsReadInTheSuperset) {
    // "\x87\x40" is a circled one, which Shift_JIS lacks and its superset CP932 has;
    // "\x93" and "\x94" are the quotes of windows-1252.
    EXPECT_EQ(TitleOf("<?xml version='1.0' encoding='Shift_JIS'?><r><title>\x87\x40</title></r>"),
              "\xE2\x91\xA0");
    EXPECT_EQ(TitleOf("<?xml version='1.0' encoding='us-ascii'?><r><title>\x93q\x94</title></r>"),
              "\xE2\x80\x9Cq\xE2\x80\x9D");
    // Without a superset the conversion error stands.
    EXPECT_NE(ParseError("<?xml version='1.0' encoding='EUC-JP'?><r><title>\xFF\xFF</title></r>"),
              "");
}

}  // namespace
}  // namespace pelwick
