#include "feeds/Languages.h"

#include <array>

namespace pelwick {

namespace {

constexpr std::array<std::string_view, 96> LanguageCodes = {
    "af",    "sq",    "eu",    "be",    "bg",    "ca",    "zh-cn", "zh-tw", "hr",    "cs",
    "da",    "nl",    "nl-be", "nl-nl", "en",    "en-au", "en-bz", "en-ca", "en-ie", "en-jm",
    "en-nz", "en-ph", "en-za", "en-tt", "en-gb", "en-us", "en-zw", "et",    "fo",    "fi",
    "fr",    "fr-be", "fr-ca", "fr-fr", "fr-lu", "fr-mc", "fr-ch", "gl",    "gd",    "de",
    "de-at", "de-de", "de-li", "de-lu", "de-ch", "el",    "haw",   "hu",    "is",    "in",
    "ga",    "it",    "it-it", "it-ch", "ja",    "ko",    "mk",    "no",    "pl",    "pt",
    "pt-br", "pt-pt", "ro",    "ro-mo", "ro-rp", "ru",    "ru-mo", "ru-ru", "sr",    "sk",
    "sl",    "es",    "es-ar", "es-bo", "es-cl", "es-co", "es-cr", "es-do", "es-ec", "es-sv",
    "es-gt", "es-hn", "es-mx", "es-ni", "es-pa", "es-py", "es-pe", "es-pr", "es-es", "es-uy",
    "es-ve", "sv",    "sv-fi", "sv-se", "tr",    "uk",
};

}  // namespace

TLanguages LanguageFromCode(std::string_view code) {
    for (std::size_t i = 0; i < LanguageCodes.size(); ++i)
        if (LanguageCodes[i] == code) return TLanguages(i);
    return langX;
}

std::string LanguageCode(TLanguages language) {
    const int i = int(language);
    if (i < 0 || i >= int(LanguageCodes.size())) return "";
    return std::string(LanguageCodes[i]);
}

}  // namespace pelwick
