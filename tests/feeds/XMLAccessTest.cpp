#include <gtest/gtest.h>

#include <libxml/tree.h>

#include "feeds/FeedException.h"
#include "feeds/XMLAccess.h"
#include "feeds/XMLDocument.h"

namespace pelwick {
namespace {

class XMLAccess : public ::testing::Test {
  protected:
    xmlNode* Parse(const std::string& xml) {
        doc_.LoadFromBytes(xml);
        return doc_.DocumentElement();
    }
    TXMLDocument doc_;
};

TEST_F(XMLAccess, FindMatchesNodeOrLocalNameInTheParentsNamespace) {
    xmlNode* root = Parse(
        "<r xmlns:m='urn:m' xmlns:dc='urn:dc'><m:title>media</m:title><title>plain</title>"
        "<dc:date>d</dc:date></r>");
    // Without a namespace of its own the parent considers every child, but the element named
    // exactly so wins over a namesake that comes first; the local name counts only without one.
    EXPECT_EQ(NodeText(FindNode(root, "title")), "plain");
    EXPECT_EQ(NodeText(FindNode(root, "m:title")), "media");
    EXPECT_EQ(NodeText(FindNode(root, "dc:date")), "d");
    EXPECT_EQ(NodeText(FindNode(root, "date")), "d");
    EXPECT_EQ(FindNode(root, "Title"), nullptr);  // names compare with case
    EXPECT_EQ(FindNode(root, "x:title"), nullptr);
    EXPECT_EQ(NodeText(FindNode(Parse("<r xmlns:m='urn:m'><m:title>only</m:title></r>"), "title")),
              "only");

    xmlNode* rdf = Parse(
        "<rdf xmlns='URN:RSS' xmlns:dc='urn:dc'><item><dc:title>dc</dc:title><title>t</title>"
        "<dc:date>d</dc:date></item><other xmlns='urn:rss'><title>x</title></other></rdf>");
    xmlNode* item = FindNode(rdf, "item");
    ASSERT_NE(item, nullptr);
    // In a namespace, only children of the same namespace count.
    EXPECT_EQ(NodeText(FindNode(item, "title")), "t");
    EXPECT_EQ(FindNode(item, "dc:date"), nullptr);
    // Namespace names compare without case.
    EXPECT_NE(FindNode(rdf, "other"), nullptr);
}

TEST_F(XMLAccess, ChildCreatesTheAbsentElementOnce) {
    xmlNode* root = Parse("<r xmlns='urn:x'><a>1</a></r>");
    xmlNode* added = ChildNode(root, "b");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(NodeText(added), "");
    EXPECT_FALSE(NodeValue(added).has_value());
    EXPECT_EQ(ChildNode(root, "b"), added);  // later lookups find the same element
    EXPECT_EQ(FindNode(root, "b"), added);
    EXPECT_EQ(NodeText(ChildNode(root, "a")), "1");
    xmlNode* text = Parse("<r>text</r>")->children;
    EXPECT_THROW(ChildNode(text, "b"), EXMLError);
}

TEST_F(XMLAccess, TextOfMarkupIsTheTextOfItsDescendants) {
    xmlNode* root = Parse(
        "<r><empty/><plain>a &amp; b</plain><cdata><![CDATA[<p>x</p>]]></cdata>"
        "<mixed>a <b>bold</b> <i>it</i></mixed><child><p>x<![CDATA[ & y]]></p></child>"
        "<two>a<!--c-->b</two><blank>   </blank><deep><a><b><c>d</c></b>e</a></deep></r>");
    EXPECT_EQ(NodeText(FindNode(root, "empty")), "");
    EXPECT_EQ(NodeText(FindNode(root, "plain")), "a & b");
    EXPECT_EQ(NodeText(FindNode(root, "cdata")), "<p>x</p>");
    EXPECT_EQ(NodeText(FindNode(root, "blank")), "");  // blank text nodes are gone
    // The word space after a phrasing element stays; comments add nothing.
    EXPECT_EQ(NodeText(FindNode(root, "mixed")), "a bold it");
    EXPECT_EQ(NodeText(FindNode(root, "child")), "x & y");
    EXPECT_EQ(NodeText(FindNode(root, "two")), "ab");
    EXPECT_EQ(NodeText(FindNode(root, "deep")), "de");
    // The node itself of a text or comment gives its content.
    EXPECT_EQ(NodeText(FindNode(root, "two")->children), "a");
    EXPECT_EQ(NodeText(FindNode(root, "two")->children->next), "c");
}

TEST_F(XMLAccess, MarkupValueWritesElementsAsHTML) {
    const std::pair<const char*, const char*> cases[] = {
        {"<d/>", nullptr},
        {"<d>&lt;p&gt;escaped&lt;/p&gt;</d>", "<p>escaped</p>"},
        {"<d><![CDATA[<p>cdata</p>]]></d>", "<p>cdata</p>"},
        {"<d>Intro <![CDATA[<b>x</b>]]></d>", "Intro <b>x</b>"},
        {"<d><!-- note -->text</d>", "text"},
        {"<d><p>a &amp; b &lt; c</p><br/><img src='i.png' alt='&quot;q&quot; &amp;'/></d>",
         "<p>a &amp; b &lt; c</p><br><img src=\"i.png\" alt=\"&quot;q&quot; &amp;\">"},
        {"<d><![CDATA[<p>Intro</p>]]><img src='pixel'/></d>", "<p>Intro</p><img src=\"pixel\">"},
        {"<d>See <a href='u'>this</a> <em>now</em><span/></d>",
         "See <a href=\"u\">this</a> <em>now</em><span></span>"},
        {"<d><div xmlns='http://www.w3.org/1999/xhtml'><p xml:lang='en'>x</p></div></d>",
         "<p xml:lang=\"en\">x</p>"},
        {"<d><div><p>plain div stays</p></div></d>", "<div><p>plain div stays</p></div>"},
        {"<d xmlns:h='http://www.w3.org/1999/xhtml'><h:div><h:b>b</h:b></h:div></d>", "<b>b</b>"},
    };
    for (const auto& [xml, expected] : cases) {
        const TXMLValue value = MarkupValue(Parse(xml));
        if (expected == nullptr)
            EXPECT_FALSE(value.has_value()) << xml;
        else
            EXPECT_EQ(value.value_or("(null)"), expected) << xml;
    }
}

TEST_F(XMLAccess, AttributesByNodeOrLocalName) {
    xmlNode* root = Parse("<r xmlns:x='urn:x' x:url='u' domain='' port=' 7'/>");
    EXPECT_EQ(AttributeText(FindAttribute(root, "url")), "u");
    EXPECT_EQ(AttributeText(FindAttribute(root, "x:url")), "u");
    ASSERT_NE(FindAttribute(root, "domain"), nullptr);
    EXPECT_FALSE(AttributeValue(FindAttribute(root, "domain")).has_value());
    EXPECT_EQ(FindAttribute(root, "type"), nullptr);
    EXPECT_FALSE(AttributeValue(AttributeNode(root, "type")).has_value());
    EXPECT_NE(FindAttribute(root, "type"), nullptr);  // now present, empty
    EXPECT_EQ(ValueNumber(AttributeValue(FindAttribute(root, "port"))), 7);
    EXPECT_TRUE(HasAttributes(root));
    EXPECT_FALSE(HasAttributes(Parse("<r><a/></r>")));
    EXPECT_TRUE(HasChildNodes(Parse("<r><a/></r>")));
}

TEST_F(XMLAccess, NumbersOfValues) {
    const std::pair<const char*, int> good[] = {
        {"17", 17},
        {"-3", -3},
        {"+4", 4},
        {" 7", 7},
        {"7 ", 7},
        {"1.5", 2},
        {"2.5", 2},
        {"2.6", 3},
        {"-1.5", -2},
        {"1e3", 1000},
        {"1E-1", 0},
        {"0.49", 0},
        {"2147483647", 2147483647},
    };
    for (const auto& [text, expected] : good)
        EXPECT_EQ(ValueNumber(std::string(text)), expected) << text;
    for (const char* bad :
         {"abc", "unknown", "1,5", "0x10", "inf", "nan", "1e10", "+-1", "7px", "2147483648", " "}) {
        EXPECT_THROW(ValueNumber(std::string(bad)), EConvertError) << bad;
        EXPECT_FALSE(TryValueNumber(std::string(bad)).has_value()) << bad;
    }
    EXPECT_EQ(TryValueNumber(std::string("2.6")), 3);
    EXPECT_THROW(ValueNumber(std::nullopt), EConvertError);
}

}  // namespace
}  // namespace pelwick
