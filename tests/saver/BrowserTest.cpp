#include <gtest/gtest.h>

#include <QFile>
#include <QUrl>

#include "saver/Browser.h"

namespace pelwick {
namespace {

// Every test here records what would be opened; no browser is ever started.
class RecordingOpener {
  public:
    explicit RecordingOpener(bool succeed = true) {
        previous_ = SetUrlOpener([this, succeed](const std::string& url) {
            urls.push_back(url);
            return succeed;
        });
    }
    ~RecordingOpener() {
        const std::string ownPage = urls.empty() ? "" : urls.back();
        if (ownPage.rfind("file:", 0) == 0)
            QFile::remove(QUrl::fromEncoded(QByteArray::fromStdString(ownPage)).toLocalFile());
        SetUrlOpener(std::move(previous_));
    }
    std::vector<std::string> urls;

  private:
    TUrlOpener previous_;
};

std::string ReadLocalPage(const std::string& fileUrl) {
    QFile file(QUrl::fromEncoded(QByteArray::fromStdString(fileUrl)).toLocalFile());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileUrl;
    return file.readAll().toStdString();
}

TEST(WebLink, OnlyStrictHttpAndHttpsAddressesWithAHost) {
    EXPECT_EQ(WebLink("http://example.com/news?id=1#top"), "http://example.com/news?id=1#top");
    EXPECT_EQ(WebLink("https://example.com"), "https://example.com");
    EXPECT_EQ(WebLink("HTTP://Example.COM/a"), "http://example.com/a");
    EXPECT_EQ(WebLink("http://user@example.com:8080/x"), "http://user@example.com:8080/x");
    for (const char* refused : {"",
                                "javascript:alert(1)",
                                "file:///etc/passwd",
                                "ftp://example.com/f",
                                "mailto:a@example.com",
                                "http:///x",
                                "http://",
                                "http:x",
                                "//example.com/x",
                                "/news/1",
                                "news/1.html",
                                "example.com",
                                "http://a b",
                                "http://x\n",
                                " http://x",
                                "http://x ",
                                "http://x/\t",
                                "http://x/\x7F",
                                "HTTP://Example.COM/a b",
                                "http://x/\xC2\x85",
                                "http://x/\xC2\xA0",
                                "http://x/\xFF",
                                "http://x/%zz",
                                "http://[::1/x",
                                "data:text/html,hi",
                                "about:blank",
                                "x-desktop:foo"})
        EXPECT_EQ(WebLink(refused), "") << refused;
}

TEST(WebLink, ReSerialisesInternationalAndPercentEncodedAddresses) {
    EXPECT_EQ(WebLink("http://b\xC3\xBC"
                      "cher.example/caf\xC3\xA9"),
              "http://xn--bcher-kva.example/caf%C3%A9");
    // Escapes stay escapes, except those of characters that need none.
    EXPECT_EQ(WebLink("http://example.com/a%20b?q=%41%2F"), "http://example.com/a%20b?q=A%2F");
    EXPECT_EQ(WebLink("https://example.com/\xE2\x80\x99"), "https://example.com/%E2%80%99");
    EXPECT_EQ(WebLink("http://example.com/a\"b"), "");  // not a URL character
}

TEST(OpenInBrowser, OpensTheReSerialisedAddress) {
    RecordingOpener opener;
    OpenInBrowser("HTTP://Example.COM/a?b=c");
    EXPECT_EQ(opener.urls, (std::vector<std::string>{"http://example.com/a?b=c"}));
}

TEST(OpenInBrowser, RefusesAnythingButWebAddresses) {
    RecordingOpener opener;
    for (const char* link : {"javascript:alert(1)", "file:///etc/passwd", "/tmp/x.desktop",
                             "mailto:a@b.c", "http://a b", ""}) {
        try {
            OpenInBrowser(link);
            ADD_FAILURE() << "opened " << link;
        } catch (const EBrowserError& e) {
            EXPECT_NE(e.Message().find("\"" + std::string(link) + "\""), std::string::npos)
                << e.Message();
        }
        EXPECT_THROW(OpenInBrowser(link, "a=1"), EBrowserError);
    }
    EXPECT_TRUE(opener.urls.empty());
}

TEST(OpenInBrowser, ABrowserThatFailsToStartIsAnError) {
    RecordingOpener opener(false);
    try {
        OpenInBrowser("http://example.com/");
        ADD_FAILURE() << "no error";
    } catch (const EBrowserError& e) {
        EXPECT_EQ(e.Message(), "Cannot start the web browser for \"http://example.com/\".");
    }
    EXPECT_THROW(OpenInBrowser("http://example.com/", "a=1"), EBrowserError);
    ASSERT_EQ(opener.urls.size(), 2u);
    // The post page of a failed start is not left behind.
    EXPECT_FALSE(
        QFile::exists(QUrl::fromEncoded(QByteArray::fromStdString(opener.urls[1])).toLocalFile()));
}

TEST(OpenInBrowser, PostDataGoesThroughASelfSubmittingLocalPage) {
    RecordingOpener opener;
    OpenInBrowser("http://example.com/search?a=1&b=2",
                  "q=caf%C3%A9+%26+%3Cb%3E&submit=%22x%22&empty=&flag&&bad=%zz");
    ASSERT_EQ(opener.urls.size(), 1u);
    const std::string url = opener.urls[0];
    ASSERT_EQ(url.rfind("file:", 0), 0u) << url;
    EXPECT_EQ(url.substr(url.size() - 4), ".htm");
    const std::string page = ReadLocalPage(url);
    EXPECT_NE(page.find("<form method=\"post\" action=\"http://example.com/search?a=1&amp;b=2\" "
                        "enctype=\"application/x-www-form-urlencoded\""),
              std::string::npos)
        << page;
    const char* fields[] = {
        "<input type=\"hidden\" name=\"q\" value=\"caf\xC3\xA9 &amp; &lt;b&gt;\">",
        "<input type=\"hidden\" name=\"submit\" value=\"&quot;x&quot;\">",
        "<input type=\"hidden\" name=\"empty\" value=\"\">",
        "<input type=\"hidden\" name=\"flag\" value=\"\">",
        "<input type=\"hidden\" name=\"bad\" value=\"%zz\">"};
    size_t at = 0;
    for (const char* field : fields) {
        const size_t found = page.find(field, at);
        EXPECT_NE(found, std::string::npos) << field << "\n" << page;
        if (found != std::string::npos) at = found;
    }
    EXPECT_EQ(page.find("name=\"\""), std::string::npos);  // the empty pair makes no field
    EXPECT_NE(page.find("onload=\"HTMLFormElement.prototype.submit.call(document.forms[0])\""),
              std::string::npos);
    EXPECT_NE(page.find("<input type=\"submit\""), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(SetUrlOpener, ReturnsThePreviousOpener) {
    int calls = 0;
    TUrlOpener first = [&calls](const std::string&) { return ++calls > 0; };
    TUrlOpener original = SetUrlOpener(first);
    TUrlOpener back = SetUrlOpener(nullptr);  // the desktop's opener again
    ASSERT_TRUE(back);
    EXPECT_TRUE(back("http://x/"));
    EXPECT_EQ(calls, 1);
    TUrlOpener desktop = SetUrlOpener(std::move(original));
    EXPECT_TRUE(desktop);
}

}  // namespace
}  // namespace pelwick
