#pragma once

#include <functional>
#include <string>

#include "app/Exception.h"

namespace pelwick {

// A link could not be opened in the web browser; the message names the address.
class EBrowserError : public Exception {
  public:
    using Exception::Exception;
};

// The link re-serialised as a plain ASCII URL when it is a web address (strict syntax,
// scheme http or https, a host, no blanks or control characters anywhere); "" otherwise.
// Feed links reach the desktop's URL handler, which would also run local files and other
// schemes' handlers, so nothing else is ever passed on.
std::string WebLink(const std::string& link);

// Opens a web address in the user's browser. With post data (form-urlencoded bytes) the
// browser gets a local page that posts them to the address by itself. Throws EBrowserError
// for anything but a web address and when the browser cannot be started.
void OpenInBrowser(const std::string& address, const std::string& postData = {});

// Hands a URL to the desktop; false when that failed. Tests install a recording opener.
using TUrlOpener = std::function<bool(const std::string& url)>;
// Installs opener (an empty one restores the desktop's) and returns the previous one.
TUrlOpener SetUrlOpener(TUrlOpener opener);

// The page that posts postData to url (already a web link) and submits itself on load.
std::string PostPage(const std::string& url, const std::string& postData);

}  // namespace pelwick
