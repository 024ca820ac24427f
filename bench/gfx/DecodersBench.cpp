// A 12-megapixel photo (4000 x 3000, smooth gradients with grain) decoded from memory:
//   DecodeHeif of it as HEIC against DecodeJpeg of it as JPEG, the format phones used before;
//   DecodeHeif against libheif decoding the same file to RGB alone, our share of the cost.
// Both files are made at start at quality 90, the HEIC through libheif's encoder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <libheif/heif.h>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "PhotoFiles.h"
#include "app/Files.h"
#include "gfx/PictureDecoders.h"

namespace {

using namespace pelwick;

constexpr int W = 4000, H = 3000;

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
    const QTemporaryDir dir;
    const std::string jpeg = dir.filePath("photo.jpg").toStdString();
    const std::string heic = dir.filePath("photo.heic").toStdString();
    if (!bench::WritePhoto(jpeg, W, H)) {
        std::fprintf(stderr, "bench_decoders: cannot write %s\n", jpeg.c_str());
        return 1;
    }
    if (!bench::WritePhoto(heic, W, H)) {
        std::fprintf(stderr, "bench_decoders: libheif cannot encode HEVC here\n");
        return 1;
    }
    JpegFile() = ReadFileBytes(jpeg);
    HeicFile() = ReadFileBytes(heic);
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
