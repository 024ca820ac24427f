// A 12-megapixel photo (4000 x 3000, smooth gradients with grain) decoded from memory:
//   DecodeHeif of it as HEIC against DecodeJpeg of it as JPEG, the format phones used before;
//   DecodeHeif against libheif decoding the same file to RGB alone, our share of the cost.
// Both files are made at start at quality 90, the HEIC through libheif's encoder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <libheif/heif.h>

#include "BenchSupport.h"
#include "gfx/PictureDecoders.h"

namespace {

using namespace pelwick;

constexpr int W = 4000, H = 3000;

// RGB rows, the same picture as bench_slideshow's big JPEG.
std::vector<std::uint8_t> Photo() {
    std::vector<std::uint8_t> rgb(std::size_t(W) * H * 3);
    std::uint32_t noise = 12345;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = static_cast<int>((noise >> 16) & 31) - 16;
            const double v = 0.5 + 0.25 * std::sin(x / 190.0) + 0.25 * std::cos(y / 130.0);
            for (int k = 0; k < 3; ++k)
                rgb[(std::size_t(y) * W + x) * 3 + k] = static_cast<std::uint8_t>(
                    std::clamp(static_cast<int>(v * (180 + 30 * k)) + n, 0, 255));
        }
    return rgb;
}

std::string EncodeJpeg(const std::vector<std::uint8_t>& rgb) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = W;
    c.image_height = H;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + std::size_t(c.next_scanline) * W * 3;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

heif_error Append(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<std::string*>(userdata)->append(static_cast<const char*>(data), size);
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

// Empty when libheif has no HEVC encoder here.
std::string EncodeHeic(const std::vector<std::uint8_t>& rgb) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    std::string bytes;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
        heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image_create(W, H, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, W, H, 8);
        int stride = 0;
        std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < H; ++y)
            std::copy_n(rgb.data() + std::size_t(y) * W * 3, W * 3,
                        plane + std::size_t(y) * stride);
        heif_writer writer{1, Append};
        if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code ==
            heif_error_Ok)
            heif_context_write(context, &writer, &bytes);
        heif_image_release(image);
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    return bytes;
}

std::string& JpegFile() {
    static std::string bytes;
    return bytes;
}
std::string& HeicFile() {
    static std::string bytes;
    return bytes;
}

void Check(benchmark::State& state, const TBitmap& b) {
    if (b.Width() != W || b.Height() != H) state.SkipWithError("the picture came out wrong");
}

void DecodeJpeg12MP(benchmark::State& state) {
    for (auto _ : state) {
        const TBitmap b = DecodeJpeg(JpegFile());
        benchmark::DoNotOptimize(b.Bits());
        Check(state, b);
    }
}
BENCHMARK(DecodeJpeg12MP)->Unit(benchmark::kMillisecond);

void DecodeHeif12MP(benchmark::State& state) {
    for (auto _ : state) {
        const TBitmap b = DecodeHeif(HeicFile());
        benchmark::DoNotOptimize(b.Bits());
        Check(state, b);
    }
}
BENCHMARK(DecodeHeif12MP)->Unit(benchmark::kMillisecond);

void LibheifDecode12MP(benchmark::State& state) {
    const std::string& bytes = HeicFile();
    for (auto _ : state) {
        heif_context* context = heif_context_alloc();
        heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(context, &handle);
        heif_image* image = nullptr;
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr);
        benchmark::DoNotOptimize(image);
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    }
}
BENCHMARK(LibheifDecode12MP)->Unit(benchmark::kMillisecond);

int RunAndPrint() {
    std::fprintf(stderr, "Encoding the 12 MP photo as JPEG and HEIC (the HEIC takes a while)\n");
    const std::vector<std::uint8_t> rgb = Photo();
    JpegFile() = EncodeJpeg(rgb);
    HeicFile() = EncodeHeic(rgb);
    if (HeicFile().empty()) {
        std::fprintf(stderr, "bench_decoders: libheif cannot encode HEVC here\n");
        return 1;
    }
    std::printf("JPEG %zu bytes, HEIC %zu bytes\n", JpegFile().size(), HeicFile().size());
    return bench::RunAndPrintRatios(
        {{"DecodeHeif12MP", "DecodeJpeg12MP"}, {"DecodeHeif12MP", "LibheifDecode12MP"}});
}

}  // namespace

int main(int argc, char** argv) {
    // Medians of three repetitions unless the caller asks otherwise: this machine is shared.
    return pelwick::bench::WithBenchmarks(
        argc, argv, pelwick::bench::bqNone, RunAndPrint,
        {"--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"});
}
