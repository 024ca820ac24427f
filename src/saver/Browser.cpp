#include "saver/Browser.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryFile>
#include <QUrl>

#include "app/Strings.h"

namespace pelwick {
namespace {

bool OpenWithDesktop(const std::string& url) {
    return QDesktopServices::openUrl(
        QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}

TUrlOpener& Opener() {
    static TUrlOpener opener = OpenWithDesktop;
    return opener;
}

// Blanks of any kind and control characters are refused rather than trimmed or encoded:
// they never belong in a feed's link, and a link that needs repairing is not trusted.
bool HasBlankOrControl(const QString& link) {
    for (const QChar ch : link)
        if (ch.isSpace() || ch.category() == QChar::Other_Control) return true;
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Form-urlencoded decoding: '+' is a blank, "%HH" a byte; a broken escape stays as written.
std::string FormDecode(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string HiddenFields(std::string_view postData) {
    std::string fields;
    size_t start = 0;
    while (start <= postData.size()) {
        size_t end = postData.find('&', start);
        if (end == std::string_view::npos) end = postData.size();
        const std::string_view pair = postData.substr(start, end - start);
        if (!pair.empty()) {
            const size_t eq = pair.find('=');
            const std::string_view name = pair.substr(0, eq);
            const std::string_view value =
                eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
            fields += "<input type=\"hidden\" name=\"" + HtmlEscape(FormDecode(name)) +
                      "\" value=\"" + HtmlEscape(FormDecode(value)) + "\">\n";
        }
        start = end + 1;
    }
    return fields;
}

void Open(const std::string& url, const std::string& address) {
    if (!Opener()(url))
        throw EBrowserError("Cannot start the web browser for \"" + address + "\".");
}

}  // namespace

std::string WebLink(const std::string& link) {
    if (link.empty() || !IsValidUtf8(link)) return "";
    const QString text = QString::fromStdString(link);
    if (HasBlankOrControl(text)) return "";
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) return "";
    const QString scheme = url.scheme().toLower();
    if (scheme != "http" && scheme != "https") return "";
    if (url.host(QUrl::FullyDecoded).isEmpty()) return "";
    return url.toEncoded(QUrl::FullyEncoded).toStdString();
}

std::string PostPage(const std::string& url, const std::string& postData) {
    // The form's own submit() is called through the prototype: a field named "submit" would
    // hide it. The button is there for browsers that run no scripts on local pages.
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Pelwick</title></head>\n"
           "<body onload=\"HTMLFormElement.prototype.submit.call(document.forms[0])\">\n"
           "<form method=\"post\" action=\"" +
           HtmlEscape(url) +
           "\" enctype=\"application/x-www-form-urlencoded\" accept-charset=\"utf-8\">\n" +
           HiddenFields(postData) + "<input type=\"submit\" value=\"Continue to " +
           HtmlEscape(url) + "\">\n</form></body></html>\n";
}

void OpenInBrowser(const std::string& address, const std::string& postData) {
    const std::string url = WebLink(address);
    if (url.empty())
        throw EBrowserError("Cannot open \"" + address +
                            "\" in the web browser: it is not an http or https address.");
    if (postData.empty()) {
        Open(url, address);
        return;
    }
    // The page must outlive this call: the browser reads it whenever it gets round to it.
    QTemporaryFile page(QDir::tempPath() + "/pelwick-post-XXXXXX.htm");
    page.setAutoRemove(false);
    const std::string html = PostPage(url, postData);
    if (!page.open() || page.write(html.data(), qint64(html.size())) != qint64(html.size()) ||
        !page.flush()) {
        const std::string reason = page.errorString().toStdString();
        if (page.isOpen()) page.remove();
        throw EBrowserError("Cannot write the page that posts to \"" + address + "\": " + reason);
    }
    page.close();
    try {
        Open(QUrl::fromLocalFile(page.fileName()).toEncoded().toStdString(), address);
    } catch (...) {
        page.remove();
        throw;
    }
}

TUrlOpener SetUrlOpener(TUrlOpener opener) {
    TUrlOpener previous = std::move(Opener());
    Opener() = opener ? std::move(opener) : TUrlOpener(OpenWithDesktop);
    return previous;
}

}  // namespace pelwick
