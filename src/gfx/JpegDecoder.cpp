#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

// libjpeg's header needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "gfx/Orient.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"

namespace pelwick {

namespace {

// libjpeg reports errors through a handler that must not return; this one jumps back to
// the decoder with the message, so no error ever ends the process.
struct TJpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    if (cinfo->err->msg_code == JERR_NO_BACKING_STORE || cinfo->err->msg_code == JERR_OUT_OF_MEMORY)
        std::snprintf(error->message, sizeof error->message,
                      "the picture needs more memory than a picture may take");
    else
        (*cinfo->err->format_message)(cinfo, error->message);
    JumpBack(cinfo);
}

// Warnings are silent, except that the data ended early: a truncated file fails instead of
// showing a gray lower part.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        if (cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
        ++cinfo->err->num_warnings;
    }
}

void OutputMessage(j_common_ptr) {}

// Each scan is a pass over all the picture's coefficients: the larger the picture, the
// fewer scans it may have.
int AllowedScans(const jpeg_decompress_struct& d) {
    const std::uint64_t pixels =
        std::max<std::uint64_t>(1, std::uint64_t(d.image_width) * d.image_height);
    return int(std::clamp<std::uint64_t>(JpegScanWork / pixels, 16, MaxJpegScans));
}

void CheckScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    const int allowed = AllowedScans(*d);
    if (d->input_scan_number > allowed) {
        auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
        std::snprintf(error->message, sizeof error->message,
                      "progressive picture with more than %d scans", allowed);
        JumpBack(cinfo);
    }
}

// The largest of 1/8, 1/4 and 1/2 that keeps the picture at least as large as the target
// (and 256 pixels, below which the size modes tile instead of fitting).
unsigned ScaleDenominator(const jpeg_decompress_struct& d, const TDecodeTarget& target,
                          bool turned) {
    if (!target.Shrinks || target.Width <= 0 || target.Height <= 0) return 1;
    const std::uint64_t tw = std::max(turned ? target.Height : target.Width, 256);
    const std::uint64_t th = std::max(turned ? target.Width : target.Height, 256);
    for (unsigned denom : {8u, 4u, 2u})
        if ((d.image_width + denom - 1) / denom >= tw && (d.image_height + denom - 1) / denom >= th)
            return denom;
    return 1;
}

int OrientationOf(const jpeg_decompress_struct& d) {
    for (jpeg_saved_marker_ptr m = d.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1)
            return ExifOrientation(
                std::string_view(reinterpret_cast<const char*>(m->data), m->data_length));
    return 1;
}

[[noreturn]] void Fail(const char* why) {
    throw EInvalidGraphic(std::string("Invalid JPEG picture: ") + why);
}

// CMYK as Adobe's programs write it (and libjpeg marks with the Adobe marker) is stored
// inverted: 255 is no ink.
void CmykRowToBgr(std::uint8_t* dst, const std::uint8_t* src, int width, bool inverted) {
    for (int x = 0; x < width; ++x) {
        unsigned c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        dst[3 * x] = static_cast<std::uint8_t>((y * k + 127) / 255);
        dst[3 * x + 1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        dst[3 * x + 2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

// What the decoder holds at once: a progressive picture keeps every coefficient of the
// whole picture, a sequential one only rows of the size it is decoded at.
void CheckMemory(j_decompress_ptr cinfo, std::size_t fileBytes, const TDecodeTarget& target) {
    const std::uint64_t w = cinfo->image_width, h = cinfo->image_height;
    CheckPlausible("JPEG", w, h, fileBytes, LeastPictureBytes(w * h, JpegPixelsPerByte));
    jpeg_calc_output_dimensions(cinfo);
    if (cinfo->progressive_mode)
        CheckHeldSize("JPEG", w, h, target);
    else
        CheckHeldSize("JPEG", cinfo->output_width, cinfo->output_height, target);
}

// No object with a destructor may live in the frames a longjmp leaves, so everything
// with one is declared here, before setjmp, and libjpeg is called from this frame only.
TBitmap Decode(std::string_view bytes, const TDecodeTarget& target, int& orientation) {
    TBitmap out;
    std::vector<std::uint8_t> cmykRows;
    jpeg_decompress_struct cinfo;
    TJpegError error;
    jpeg_progress_mgr progress;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&progress, 0, sizeof progress);
    error.message[0] = '\0';
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = ErrorExit;
    error.pub.emit_message = EmitMessage;
    error.pub.output_message = OutputMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        Fail(error.message);
    }
    jpeg_create_decompress(&cinfo);
    // A progressive picture keeps every coefficient; one that would need more fails here.
    cinfo.mem->max_memory_to_use = JpegMemory;
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    progress.progress_monitor = CheckScans;
    cinfo.progress = &progress;
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > MaxPicturePixels) {
        jpeg_destroy_decompress(&cinfo);
        Fail("the picture is too large");
    }
    orientation = OrientationOf(cinfo);
    cinfo.scale_num = 1;
    cinfo.scale_denom = ScaleDenominator(cinfo, target, orientation >= 5);
    try {
        CheckMemory(&cinfo, bytes.size(), target);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (cinfo.num_components == 1 || cinfo.num_components == 3) {
        cinfo.out_color_space = JCS_EXT_BGR;  // straight into the bitmap's byte order
    } else {
        jpeg_destroy_decompress(&cinfo);
        Fail("unsupported colour space");
    }
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    if (cinfo.output_components != (cmyk ? 4 : 3) || width <= 0 || height <= 0) {
        jpeg_destroy_decompress(&cinfo);
        Fail("inconsistent header");
    }
    constexpr int batch = 16;
    try {
        out = TBitmap::Uninitialized(width, height, pf24bit);
        if (cmyk) cmykRows.resize(static_cast<size_t>(width) * 4 * batch);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    JSAMPROW rows[batch];
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        const int wanted = std::min(batch, height - y);
        for (int i = 0; i < wanted; ++i)
            rows[i] =
                cmyk ? cmykRows.data() + static_cast<size_t>(width) * 4 * i : out.ScanLine(y + i);
        const int got =
            static_cast<int>(jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(wanted)));
        if (got <= 0) {
            jpeg_destroy_decompress(&cinfo);
            Fail("the data ended early");
        }
        if (cmyk)
            for (int i = 0; i < got; ++i)
                CmykRowToBgr(out.ScanLine(y + i), rows[i], width, cinfo.saw_Adobe_marker);
    }
    // The end marker is not waited for: all the picture's data has been read.
    jpeg_destroy_decompress(&cinfo);
    return out;
}

}  // namespace

TBitmap DecodeJpeg(std::string_view bytes, const TDecodeTarget& target) {
    if (bytes.empty()) Fail("the file is empty");
    int orientation = 1;
    TBitmap picture = Decode(bytes, target, orientation);
    return Oriented(std::move(picture), orientation);
}

int ExifOrientation(std::string_view app1) {
    // "Exif\0\0", then a TIFF header: byte order, 42, the offset of the first directory.
    if (app1.size() < 14 || app1.substr(0, 6) != std::string_view("Exif\0\0", 6)) return 1;
    const std::string_view tiff = app1.substr(6);
    const bool little = tiff.substr(0, 2) == "II";
    if (!little && tiff.substr(0, 2) != "MM") return 1;
    auto u16 = [&](std::size_t at) -> std::uint32_t {
        const auto* p = reinterpret_cast<const unsigned char*>(tiff.data() + at);
        return little ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1];
    };
    auto u32 = [&](std::size_t at) -> std::uint32_t {
        return little ? u16(at) | (u16(at + 2) << 16) : (u16(at) << 16) | u16(at + 2);
    };
    if (u16(2) != 42) return 1;
    const std::uint64_t ifd = u32(4);
    if (ifd + 2 > tiff.size()) return 1;
    const std::uint32_t entries = u16(std::size_t(ifd));
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t at = ifd + 2 + std::uint64_t(i) * 12;
        if (at + 12 > tiff.size()) return 1;
        // Tag 0x0112, one SHORT, its value in the entry itself.
        if (u16(std::size_t(at)) != 0x0112) continue;
        if (u16(std::size_t(at + 2)) != 3 || u32(std::size_t(at + 4)) != 1) return 1;
        const std::uint32_t value = u16(std::size_t(at + 8));
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

}  // namespace pelwick
