#include "gfx/PictureDecoders.h"

#include <algorithm>
#include <cctype>

#include "app/Files.h"
#include "gfx/Picture.h"

namespace pelwick {

namespace {

// The file name's extension with its dot; "" when it has none.
std::string_view ExtensionOf(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return fileName.substr(dot);
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Upper(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const TPictureFormat& PictureFormatOf(std::string_view fileName) {
    const std::string_view ext = ExtensionOf(fileName);
    for (const TPictureFormat& format : PictureFormats)
        for (std::string_view known : format.Extensions)
            if (!known.empty() && SameLetters(ext, known)) return format;
    throw EInvalidGraphic("Unknown picture file extension \"" + Upper(ext) + "\"");
}

const TPictureFormat* PictureFormatNamed(std::string_view name) {
    for (const TPictureFormat& format : PictureFormats)
        if (format.Name == name) return &format;
    return nullptr;
}

std::uint64_t MaxPictureFileBytesFor(const TDecodeTarget& target) {
    if (target.MaxPixels >= MaxPicturePixels) return MaxPictureFileBytes;
    return std::min(MaxPictureFileBytes, target.MaxPixels * 8 + (std::uint64_t(16) << 20));
}

TBitmap DecodePictureFile(const TPictureFormat& format, const std::string& fileName,
                          const TDecodeTarget& target) {
    return format.Decode(ReadFileBytes(fileName, MaxPictureFileBytesFor(target)), target);
}

TBitmap DecodePictureFile(const std::string& fileName, const TDecodeTarget& target) {
    return DecodePictureFile(PictureFormatOf(fileName), fileName, target);
}

}  // namespace pelwick
