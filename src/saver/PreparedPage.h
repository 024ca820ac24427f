#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace pelwick {

// An image of the page itself (a data: image), registered with the document under name.
struct TPageImage {
    std::string name;
    QImage image;
};

// A page made safe to hand to QTextDocument, with what the page view takes from its body.
struct TPreparedPage {
    std::string html;
    QColor background{Qt::white};  // the body's bgcolor; white without one, as in browsers
    int topMargin = 0, leftMargin = 0, rightMargin = 0, bottomMargin = 0;  // body, pixels
    std::vector<TPageImage> images;
};

// Every page image is named with this prefix; nothing else may name an image.
inline constexpr const char* PageImagePrefix = "pelwick-image:";
// The registered image (one transparent pixel) that stands in for any image that slipped by.
inline constexpr const char* NoPageImage = "pelwick-image:none";

// The largest data: image the card shows, in bytes before decoding.
inline constexpr int MaxDataImageBytes = 2 * 1024 * 1024;

// Rewrites every <img> tag: a decodable data: image becomes a registered page image, any
// other image its alt text. QTextDocument would otherwise read image sources from disk
// (even "/dev/zero"), and feed descriptions are written by strangers.
TPreparedPage PreparePage(const std::string& html);

// The image of a data: URL (base64 or percent-encoded, PNG, JPEG, GIF or BMP, at most
// MaxDataImageBytes and a bounded pixel count); a null image for anything else.
QImage DecodeDataImage(std::string_view url);

}  // namespace pelwick
