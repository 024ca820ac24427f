#pragma once
#include <functional>
#include <string>
namespace pelwick {
std::string WebLink(const std::string& link);
void OpenInBrowser(const std::string& address, const std::string& postData = {});
using TUrlOpener = std::function<bool(const std::string& url)>;
TUrlOpener SetUrlOpener(TUrlOpener opener);
}  // namespace pelwick
