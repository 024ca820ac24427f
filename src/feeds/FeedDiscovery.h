#pragma once

#include <string>
#include <string_view>

namespace pelwick {

// What a web page says of its feeds: people type a site's address, not its feed's.

// The address of the first feed a web page announces, a <link rel="alternate"> of an RSS,
// Atom or RDF type with an href, made absolute against pageAddress; "" when bytes is no
// HTML page or announces none. Only http: and https: addresses are given.
std::string FindFeedLink(std::string_view bytes, const std::string& pageAddress);

// Whether bytes is an HTML page (its root element is "html" once read as HTML).
bool IsWebPage(std::string_view bytes);

// reference made absolute against base, as a browser follows a link: a reference with its
// own scheme stays as it is, "//host/..." takes base's scheme, "/path" base's host, and
// anything else replaces what follows the last "/" of base's path.
std::string ResolveAddress(const std::string& base, const std::string& reference);

}  // namespace pelwick
