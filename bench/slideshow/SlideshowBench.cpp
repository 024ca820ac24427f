// The slideshow's costs at 1920 x 1080, each against a baseline of the same run:
//   (a) one cross-fade frame against a memory copy of the same bytes and against QPainter's
//       opacity blend of the same two pictures in 32 bits;
//   (b) a whole frame as the saver shows it: composed, painted through PaintBuffer and put
//       into the window's backing store;
//   (c) LoadScreenPicture of a 12-megapixel JPEG (size mode 4) against libjpeg decoding
//       the same file alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BenchPictures.h"
#include "BenchSupport.h"
#include "slideshow/CrossFade.h"
#include "slideshow/PictureLoader.h"
#include "slideshow/PictureScreen.h"

namespace {

using namespace pelwick;

constexpr int W = 1920, H = 1080;

TBitmap Picture(int w, int h, int seed) {
    return bench::PatternPicture(w, h, seed);
}

const TBitmap& OldPicture() {
    static const TBitmap b = Picture(W, H, 1);
    return b;
}
const TBitmap& NewPicture() {
    static const TBitmap b = Picture(W, H, 2);
    return b;
}

// ---- (a)

void CrossFadeFrame(benchmark::State& state) {
    TBitmap screen(W, H);
    for (auto _ : state) {
        CrossFade(screen, OldPicture(), NewPicture(), 50);
        benchmark::DoNotOptimize(screen.Bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(screen.ByteSize()));
}
BENCHMARK(CrossFadeFrame)->Unit(benchmark::kMillisecond);

void MemcpySameBytes(benchmark::State& state) {
    TBitmap screen(W, H);
    for (auto _ : state) {
        std::memcpy(screen.Bits(), OldPicture().Bits(), screen.ByteSize());
        benchmark::DoNotOptimize(screen.Bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(screen.ByteSize()));
}
BENCHMARK(MemcpySameBytes)->Unit(benchmark::kMillisecond);

void QPainterOpacityBlend(benchmark::State& state) {
    const QImage a = OldPicture().ToQImage(), b = NewPicture().ToQImage();
    QImage out(W, H, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&out);
        p.drawImage(0, 0, a);
        p.setOpacity(0.5);
        p.drawImage(0, 0, b);
        p.end();
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(QPainterOpacityBlend)->Unit(benchmark::kMillisecond);

// ---- (b)

void SaverFrame(benchmark::State& state) {
    TGlimrascreen screen;
    screen.SetAutoSize(false);
    screen.resize(W, H);
    screen.SetColor(clBlack);
    screen.SetCenter(true);
    screen.SetStyle(StyleCrossFade);
    screen.SetManual(true);
    screen.SetThreaded(false);
    screen.show();
    QCoreApplication::processEvents();
    screen.Picture().SetBitmap(OldPicture());
    screen.StartTransition();
    screen.SetProgress(100);
    screen.StopTransition();
    screen.Picture().SetBitmap(NewPicture());
    screen.StartTransition();
    int p = 40;
    for (auto _ : state) {
        screen.SetProgress(p);  // composes the frame and repaints the picture area at once
        p = p == 40 ? 41 : 40;
    }
    screen.StopTransition();
}
BENCHMARK(SaverFrame)->Unit(benchmark::kMillisecond);

// ---- (c)

std::string WriteBigJpeg(const std::string& path) {
    const int w = 4000, h = 3000;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(w * 3);
    std::uint32_t noise = 12345;
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = static_cast<int>((noise >> 16) & 31) - 16;  // photo-like grain
            const double v = 0.5 + 0.25 * std::sin(x / 190.0) + 0.25 * std::cos(y / 130.0);
            for (int k = 0; k < 3; ++k)
                row[3 * x + k] = static_cast<std::uint8_t>(
                    std::clamp(static_cast<int>(v * (180 + 30 * k)) + n, 0, 255));
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
    return path;
}

const std::string& BigJpeg() {
    static QTemporaryDir dir;
    static const std::string path = WriteBigJpeg(dir.filePath("big.jpg").toStdString());
    return path;
}

void LoadScreenPicture12MP(benchmark::State& state) {
    TGlimrascreen screen;
    screen.SetAutoSize(false);
    screen.resize(W, H);
    screen.SetColor(clBlack);
    screen.SetSizeMode(szTileOrFit);
    for (auto _ : state) {
        LoadScreenPicture(screen, BigJpeg());
        benchmark::DoNotOptimize(screen.Picture().Bitmap());
    }
    if (screen.Picture().Width() != 1440 || screen.Picture().Height() != 1080)
        state.SkipWithError("the picture was not fitted to 1440 x 1080");
}
BENCHMARK(LoadScreenPicture12MP)->Unit(benchmark::kMillisecond);

// A decode of the file into a new picture buffer, as any decode-a-file call makes one.
void LibjpegDecode12MP(benchmark::State& state) {
    for (auto _ : state) {
        FILE* f = std::fopen(BigJpeg().c_str(), "rb");
        jpeg_decompress_struct d;
        jpeg_error_mgr err;
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_stdio_src(&d, f);
        jpeg_read_header(&d, TRUE);
        d.out_color_space = JCS_RGB;
        jpeg_start_decompress(&d);
        std::unique_ptr<std::uint8_t[]> pixels(
            new std::uint8_t[static_cast<size_t>(d.output_width) * d.output_height * 3]);
        while (d.output_scanline < d.output_height) {
            JSAMPROW r = pixels.get() + static_cast<size_t>(d.output_scanline) * d.output_width * 3;
            jpeg_read_scanlines(&d, &r, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(f);
        benchmark::DoNotOptimize(pixels.get());
    }
}
BENCHMARK(LibjpegDecode12MP)->Unit(benchmark::kMillisecond);

// The vectorised (and, on x86-64, AVX2) cross-fade must stay the integer formula: checked
// here, in the optimised build, for every old and new value and every progress.
bool CrossFadeIsExact() {
    std::vector<std::uint8_t> old(65536 + 5), now(old.size()), out(old.size());
    for (size_t i = 0; i < old.size(); ++i) {
        old[i] = static_cast<std::uint8_t>(i);
        now[i] = static_cast<std::uint8_t>(i >> 8);
    }
    for (unsigned p = 0; p <= 100; ++p) {
        CrossFadeBytes(out.data(), old.data(), now.data(), out.size(), p);
        for (size_t i = 0; i < out.size(); ++i)
            if (out[i] != old[i] * (100 - p) / 100 + now[i] * p / 100) return false;
    }
    return true;
}

// The benchmarks, then their ratios against the targets.
int RunAndPrint() {
    BigJpeg();  // made once, before any timing
    if (!CrossFadeIsExact()) {
        std::fprintf(stderr, "the cross-fade differs from its integer formula\n");
        return 1;
    }
    bench::TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int missing = 0;
    auto ratio = [&](const char* a, const char* b, const char* what, double target) {
        if (reporter.Time(a) <= 0 || reporter.Time(b) <= 0) {
            std::printf("FAILED: %s not measured (%s did not run)\n", what,
                        reporter.Time(a) <= 0 ? a : b);
            ++missing;
            return;
        }
        const double r = reporter.Time(a) / reporter.Time(b);
        std::printf("%-58s %6.2f  (target at most %.1f)\n", what, r, target);
    };
    std::printf("\nRatios (cross-fade exact for every old, new and progress: yes)\n");
    ratio("CrossFadeFrame", "MemcpySameBytes", "cross-fade frame / memcpy of the same bytes", 3.0);
    ratio("CrossFadeFrame", "QPainterOpacityBlend", "cross-fade frame / QPainter opacity blend",
          1.0);
    ratio("LoadScreenPicture12MP", "LibjpegDecode12MP",
          "LoadScreenPicture 12 MP, mode 4 / libjpeg decode alone", 1.3);
    if (reporter.Time("SaverFrame") > 0)  // in its unit, milliseconds
        std::printf("%-58s %6.2f ms\n", "whole saver frame at 1920 x 1080 (compose + paint)",
                    reporter.Time("SaverFrame"));
    return missing ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Medians of three repetitions unless the caller asks otherwise: this machine is shared.
    return pelwick::bench::WithBenchmarks(
        argc, argv, pelwick::bench::bqWidgets, RunAndPrint,
        {"--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"});
}
