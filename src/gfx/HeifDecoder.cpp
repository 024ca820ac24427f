// HEIC, HEIF and AVIF pictures through libheif, read from the file's bytes in memory. Only
// the primary image is decoded. libheif turns and mirrors it as the file's own properties
// say; cameras write the same turn into the file's Exif block too, so that one is never
// applied: the picture would turn twice.
#include <libheif/heif.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"

namespace pelwick {

namespace {

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Invalid HEIF picture: " + why);
}

void Check(const heif_error& error) {
    if (error.code == heif_error_Ok) return;
    std::string message = error.message && *error.message ? error.message : "unknown error";
    while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back())))
        message.pop_back();  // libheif ends some messages with a line break
    if (error.subcode == heif_suberror_Security_limit_exceeded ||
        error.code == heif_error_Memory_allocation_error)
        Fail("the picture is too large (" + message + ")");
    Fail(message);
}

// libheif's plugins are registered once for the whole process and stay until it ends.
void InitOnce() {
    static const bool Ready = [] {
        Check(heif_init(nullptr));
        return true;
    }();
    (void)Ready;
}

struct TContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct THandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct TImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct TOptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using THeifContext = std::unique_ptr<heif_context, TContextFree>;
using THeifHandle = std::unique_ptr<heif_image_handle, THandleRelease>;
using THeifImage = std::unique_ptr<heif_image, TImageRelease>;
using THeifOptions = std::unique_ptr<heif_decoding_options, TOptionsFree>;

// No side of any image in a file (primary, alpha, tiles, thumbnails) may reach this: libheif
// refuses such a file while it reads the boxes, before it takes memory for pixels.
constexpr int HeifMaxSide = 1 << 16;

// Refuses a size before any pixel memory is taken; checked in 64 bits.
void CheckSize(int width, int height, bool alpha) {
    if (width <= 0 || height <= 0) Fail("the picture is empty");
    if (std::uint64_t(width) * std::uint64_t(height) > (alpha ? MaxAlphaPixels : MaxPicturePixels))
        Fail("the picture is too large");
}

// libheif 1.15 takes the canvas of a grid or overlay image from the item's own data, not from
// its size box, and allocates it whole before anything of ours could look: a file of a few
// bytes could claim gigabytes. The canvases are read here first, every offset checked.
class TBoxReader {
  public:
    explicit TBoxReader(std::string_view data) : data_(data) {}
    bool AtEnd() const { return at_ == data_.size(); }
    // A big-endian number of 0 to 8 bytes.
    std::uint64_t Read(unsigned bytes) {
        if (bytes > 8) Fail("a box has a field of an impossible size");
        std::uint64_t value = 0;
        for (char c : Take(bytes))
            value = value << 8 | static_cast<unsigned char>(c);
        return value;
    }
    std::string_view Take(std::uint64_t count) {
        if (count > data_.size() - at_) Fail("a box ends early");
        const std::string_view part = data_.substr(at_, count);
        at_ += count;
        return part;
    }
    // The next box: its type, and its body as what the reader returns.
    std::string_view NextBox(std::string_view& type) {
        std::uint64_t size = Read(4), header = 8;
        type = Take(4);
        if (size == 1) size = Read(8), header = 16;
        if (size == 0) return Take(data_.size() - at_);
        if (size < header) Fail("a box has an impossible size");
        return Take(size - header);
    }
    // The version of a full box; its flags are skipped.
    unsigned FullBoxVersion() {
        const auto version = static_cast<unsigned>(Read(1));
        Read(3);
        return version;
    }

  private:
    std::string_view data_;
    std::size_t at_ = 0;
};

// The first child box of that type in body; empty when there is none.
std::string_view ChildBox(std::string_view body, std::string_view wanted) {
    TBoxReader r(body);
    while (!r.AtEnd()) {
        std::string_view type;
        const std::string_view child = r.NextBox(type);
        if (type == wanted) return child;
    }
    return {};
}

// The grid and overlay items the item information box lists: id, and whether an overlay.
std::vector<std::pair<std::uint64_t, bool>> CanvasItems(std::string_view iinf) {
    TBoxReader r(iinf);
    const std::uint64_t count = r.Read(r.FullBoxVersion() == 0 ? 2 : 4);
    std::vector<std::pair<std::uint64_t, bool>> ids;
    for (std::uint64_t i = 0; i < count && !r.AtEnd(); ++i) {
        std::string_view type;
        TBoxReader infe(r.NextBox(type));
        if (type != "infe") continue;
        const unsigned version = infe.FullBoxVersion();
        if (version < 2) continue;  // older entries name no item type
        const std::uint64_t id = infe.Read(version == 2 ? 2 : 4);
        infe.Read(2);  // protection index
        const std::string_view itemType = infe.Take(4);
        if (itemType == "grid" || itemType == "iovl") ids.emplace_back(id, itemType == "iovl");
    }
    return ids;
}

// Where the item's data starts (its first extent), in the file or in the meta box's idat.
std::string_view ItemData(std::string_view iloc, std::uint64_t item, std::string_view file,
                          std::string_view idat) {
    TBoxReader r(iloc);
    const unsigned version = r.FullBoxVersion();
    const auto sizes = static_cast<unsigned>(r.Read(2));
    const unsigned offsetSize = sizes >> 12, lengthSize = (sizes >> 8) & 15,
                   baseSize = (sizes >> 4) & 15, indexSize = version >= 1 ? sizes & 15 : 0;
    const std::uint64_t count = r.Read(version < 2 ? 2 : 4);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t id = r.Read(version < 2 ? 2 : 4);
        const std::uint64_t method = version >= 1 ? r.Read(2) & 15 : 0;
        r.Read(2);  // data reference: only this file is read
        const std::uint64_t base = r.Read(baseSize), extents = r.Read(2);
        for (std::uint64_t e = 0; e < extents; ++e) {
            r.Read(indexSize);
            const std::uint64_t offset = r.Read(offsetSize), length = r.Read(lengthSize);
            if (id != item || e > 0) continue;
            const std::string_view from = method == 1 ? idat : file;
            if (method > 1 || offset > from.size() || base > from.size() - offset)
                Fail("an image's data lies outside the file");
            return from.substr(base + offset, length == 0 ? std::string_view::npos : length);
        }
    }
    return {};
}

// The pixels of the canvas that a grid's or an overlay's data describes.
std::uint64_t CanvasPixels(std::string_view data, bool overlay) {
    TBoxReader r(data);
    r.Read(1);  // version
    const unsigned fieldSize = (r.Read(1) & 1) ? 4 : 2;
    r.Take(overlay ? 8 : 2);  // an overlay's fill colour, a grid's rows and columns
    const std::uint64_t width = r.Read(fieldSize);
    return width * r.Read(fieldSize);  // at most 2^64 - 1: no overflow
}

// The largest canvas of any grid or overlay item in the file; 0 when it has none.
std::uint64_t LargestCanvas(std::string_view file) {
    TBoxReader top(file);
    std::string_view type, meta;
    while (!top.AtEnd() && type != "meta")
        meta = top.NextBox(type);
    if (type != "meta") return 0;
    TBoxReader body(meta);
    body.FullBoxVersion();
    const std::string_view children = body.Take(meta.size() - 4);
    const std::string_view iinf = ChildBox(children, "iinf"), iloc = ChildBox(children, "iloc");
    if (iinf.empty() || iloc.empty()) return 0;
    const std::string_view idat = ChildBox(children, "idat");
    std::uint64_t largest = 0;
    for (const auto& [id, overlay] : CanvasItems(iinf))
        largest = std::max(largest, CanvasPixels(ItemData(iloc, id, file, idat), overlay));
    return largest;
}

THeifHandle PrimaryImage(heif_context* context, std::string_view bytes) {
    heif_context_set_maximum_image_size_limit(context, HeifMaxSide);
    Check(heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr));
    heif_image_handle* handle = nullptr;
    Check(heif_context_get_primary_image_handle(context, &handle));
    return THeifHandle(handle);
}

// The AV1 decoder to ask for: libheif's glue to dav1d leaks a little of each damaged AV1
// image (found by fuzzing libheif 1.15), its glue to libaom does not. libheif passes over a
// decoder of another coding, so HEVC pictures still go to their own decoder.
const char* Av1DecoderId() {
    static const char* const DecoderId = [] {
        const heif_decoder_descriptor* decoders[8] = {};
        const int count = heif_get_decoder_descriptors(heif_compression_AV1, decoders, 8);
        for (int i = 0; i < count; ++i)
            if (std::string_view(heif_decoder_descriptor_get_id_name(decoders[i])) == "aom")
                return "aom";
        return static_cast<const char*>(nullptr);  // libheif's own choice
    }();
    return DecoderId;
}

THeifImage DecodeRgb(const heif_image_handle* handle, bool alpha) {
    const THeifOptions options(heif_decoding_options_alloc());
    if (!options) Fail("the decoder cannot start");
    options->convert_hdr_to_8bit = 1;
    options->decoder_id = Av1DecoderId();
    heif_image* image = nullptr;
    Check(heif_decode_image(handle, &image, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                            options.get()));
    return THeifImage(image);
}

// The decoded RGB(A) rows into a 24-bit bitmap; alpha composed over black unless libheif
// gives the colours premultiplied already, which is the same.
TBitmap ToBitmap(const heif_image* image, bool alpha, bool premultiplied) {
    const int w = heif_image_get_width(image, heif_channel_interleaved);
    const int h = heif_image_get_height(image, heif_channel_interleaved);
    CheckSize(w, h, alpha);
    int stride = 0;
    const std::uint8_t* rows =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int step = alpha ? 4 : 3;
    if (!rows || stride < w * step) Fail("the decoder gave no pixels");
    TBitmap out(w, h, pf24bit);
    const bool compose = alpha && !premultiplied;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = rows + std::ptrdiff_t(y) * stride;
        std::uint8_t* d = out.ScanLine(y);
        if (!compose) {  // RGB to the bitmap's BGR; kept apart, as it is every photo's loop
            for (int x = 0; x < w; ++x, s += step, d += 3)
                d[0] = s[2], d[1] = s[1], d[2] = s[0];
            continue;
        }
        for (int x = 0; x < w; ++x, s += 4, d += 3)
            for (int c = 0; c < 3; ++c)
                d[2 - c] = static_cast<std::uint8_t>((s[c] * s[3] + 127) / 255);
    }
    return out;
}

}  // namespace

TBitmap DecodeHeif(std::string_view bytes, const TDecodeTarget& target) {
    if (bytes.empty()) Fail("the file is empty");
    InitOnce();
    try {
        const THeifContext context(heif_context_alloc());
        if (!context) Fail("the decoder cannot start");
        const THeifHandle handle = PrimaryImage(context.get(), bytes);
        const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
        const int w = heif_image_handle_get_width(handle.get());
        const int h = heif_image_handle_get_height(handle.get());
        CheckSize(w, h, alpha);
        const std::uint64_t pixels = std::uint64_t(w) * std::uint64_t(h);
        CheckPlausible("HEIF", std::uint64_t(w), std::uint64_t(h), bytes.size(),
                       LeastPictureBytes(pixels, HeifPixelsPerByte));
        CheckHeldSize("HEIF", std::uint64_t(w), std::uint64_t(h), target);
        if (LargestCanvas(bytes) > (alpha ? MaxAlphaPixels : MaxPicturePixels))
            Fail("the picture is too large");
        const THeifImage image = DecodeRgb(handle.get(), alpha);
        return ToBitmap(image.get(), alpha, heif_image_is_premultiplied_alpha(image.get()) != 0);
    } catch (const std::bad_alloc&) {
        Fail("the picture needs more memory than a picture may take");
    }
}

}  // namespace pelwick
