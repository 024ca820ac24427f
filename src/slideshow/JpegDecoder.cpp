#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// libjpeg's header needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "app/Files.h"
#include "gfx/BmpFile.h"
#include "gfx/Picture.h"
#include "slideshow/PictureDecoders.h"

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

void CheckScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MaxJpegScans) {
        auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
        std::snprintf(error->message, sizeof error->message,
                      "progressive picture with more than %d scans", MaxJpegScans);
        JumpBack(cinfo);
    }
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

// No object with a destructor may live in the frames a longjmp leaves, so everything
// with one is declared here, before setjmp, and libjpeg is called from this frame only.
TBitmap Decode(void (*attach)(j_decompress_ptr, void*), void* source) {
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
    attach(&cinfo, source);
    progress.progress_monitor = CheckScans;
    cinfo.progress = &progress;
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > MaxPicturePixels) {
        jpeg_destroy_decompress(&cinfo);
        Fail("the picture is too large");
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
    constexpr int Batch = 16;
    try {
        out = TBitmap::Uninitialized(width, height, pf24bit);
        if (cmyk) cmykRows.resize(static_cast<size_t>(width) * 4 * Batch);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    JSAMPROW rows[Batch];
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        const int wanted = std::min(Batch, height - y);
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

void AttachFile(j_decompress_ptr cinfo, void* file) {
    jpeg_stdio_src(cinfo, static_cast<FILE*>(file));
}

void AttachBytes(j_decompress_ptr cinfo, void* bytes) {
    const auto* view = static_cast<const std::string_view*>(bytes);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(view->data()),
                 static_cast<unsigned long>(view->size()));
}

struct TFileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

TBitmap DecodeJpegFile(const std::string& fileName) {
    if (DirectoryExists(fileName))
        throw EFileError("Cannot read \"" + fileName + "\": it is a folder");
    std::unique_ptr<FILE, TFileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) throw EFileError("Cannot read \"" + fileName + "\": " + std::strerror(errno));
    return Decode(AttachFile, file.get());
}

TBitmap DecodeJpeg(std::string_view bytes) {
    if (bytes.empty()) Fail("the file is empty");
    return Decode(AttachBytes, &bytes);
}

}  // namespace pelwick
