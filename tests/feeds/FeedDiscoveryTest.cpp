#include "feeds/FeedDiscovery.h"

#include <gtest/gtest.h>

namespace pelwick {
namespace {

TEST(FeedDiscovery, AddressesResolveAsABrowserFollowsLinks) {
    const std::string base = "http://example.test/news/index.html?page=2#top";
    const struct {
        const char* reference;
        const char* expected;
    } rows[] = {
        {"https://other.test/feed.xml", "https://other.test/feed.xml"},
        {"//cdn.test/rss", "http://cdn.test/rss"},
        {"/rss.xml", "http://example.test/rss.xml"},
        {"feed.atom", "http://example.test/news/feed.atom"},
        {"../feed?x=1", "http://example.test/feed?x=1"},
        {"./a/./b/../c", "http://example.test/news/a/c"},
        {"/../../up", "http://example.test/up"},
        {"?format=rss", "http://example.test/news/index.html?format=rss"},
        {"", "http://example.test/news/index.html"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ResolveAddress(base, row.reference), row.expected) << row.reference;
    EXPECT_EQ(ResolveAddress("http://host.test", "feed"), "http://host.test/feed");
}

TEST(FeedDiscovery, TheFirstAnnouncedFeedOfAPage) {
    const std::string page = "http://site.test/blog/";
    const struct {
        const char* why;
        std::string html;
        const char* expected;
    } rows[] = {
        {"RSS link in the head",
         "<html><head><link rel=alternate type='application/rss+xml' href='feed/'></head></html>",
         "http://site.test/blog/feed/"},
        {"Atom, case and parameters of the type ignored",
         "<HTML><HEAD><LINK REL='Alternate Home' TYPE='Application/Atom+XML; charset=utf-8' "
         "HREF=' /atom.xml '></HEAD></HTML>",
         "http://site.test/atom.xml"},
        {"the first of several",
         "<html><link rel=alternate type=application/rdf+xml href=/one>"
         "<link rel=alternate type=application/rss+xml href=/two></html>",
         "http://site.test/one"},
        {"other links and types passed over",
         "<html><head><link rel=stylesheet type='application/rss+xml' href=/s>"
         "<link rel=alternate type=text/html href=/fr>"
         "<link rel=alternate type=application/rss+xml href=''>"
         "<link rel=alternate type=application/rss+xml href='javascript:alert(1)'>"
         "<link rel=alternate type=application/rss+xml href='file:///etc/passwd'>"
         "</head><body><a rel=alternate type=application/rss+xml href=/a>x</a></body></html>",
         ""},
        {"a link in a broken page",
         "<html><body><p>unclosed <b><link rel=alternate "
         "type=application/rss+xml href=/late>",
         "http://site.test/late"},
        {"no page at all", "\x01\x02 binary", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindFeedLink(row.html, page), row.expected) << row.why;
    EXPECT_TRUE(IsWebPage("<!doctype html><title>t</title><p>hi"));
    EXPECT_FALSE(IsWebPage(""));
    EXPECT_FALSE(IsWebPage("plain words"));
}

}  // namespace
}  // namespace pelwick
