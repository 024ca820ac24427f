// The news wall's costs at 1920 x 1080, each against a baseline of the same run:
//   (a) one cross-fade frame as the saver shows it, composed and painted with the headline
//       panel and the item card on top, against the same frame without them;
//   (b) the time from starting the program to the first picture on screen (a full-screen
//       JPEG, a 12-megapixel one, a library), against the time to its window being shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "app/Files.h"
#include "app/Process.h"
#include "feeds/MemoryStream.h"
#include "saver/Layer.h"
#include "saver/SaverWindow.h"
#include "saver/Screen.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/SlideshowDriver.h"

namespace {

using namespace pelwick;

constexpr int W = 1920, H = 1080;

TBitmap Picture(int seed, int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = std::uint8_t((x * 255 / w + seed * 40) & 0xFF);
            row[3 * x + 1] = std::uint8_t((y * 255 / h + seed * 90) & 0xFF);
            row[3 * x + 2] = std::uint8_t(((x ^ y) + seed) & 0xFF);
        }
    }
    return b;
}

std::string Feed() {
    std::string doc =
        "<rss version=\"2.0\"><channel><title>Riverside Gazette</title>"
        "<description>Local news</description>";
    for (int i = 1; i <= 12; ++i)
        doc += "<item><title>Headline number " + std::to_string(i) +
               " of the day</title><link>http://example.com/</link><description>&lt;p&gt;A "
               "paragraph of &lt;b&gt;news&lt;/b&gt; text.&lt;/p&gt;</description></item>";
    return doc + "</channel></rss>";
}

// The saver window with a feed shown, the panel and card fully faded in, and a cross-fade
// held in the middle, driven by hand.
struct TSaverScene {
    QTemporaryDir home;
    TForm1* form = nullptr;
    TGlimrascreen* screen = nullptr;

    TSaverScene(int w, int h) : width(w) {
        qputenv("PELWICK_HOME", home.path().toUtf8());
        SetScreenSize(w, h);
        SetSleepHandler([](int) {});
        form = new TForm1;
        form->show();
        form->Timer1.SetEnabled(false);
        TMemoryStream stream;
        const std::string feed = Feed();
        stream.Write(feed.data(), feed.size());
        stream.SetPosition(0);
        form->RSS.LoadFromStream(stream);
        form->ShowItem(0);
        form->ShowPanel();
        Layer("Form2")->SetAlphaBlendValue(190);
        Layer("Form3")->SetAlphaBlendValue(210);
        QElapsedTimer settle;  // the card is fitted to its page from the event loop
        settle.start();
        while (settle.elapsed() < 50)
            QCoreApplication::processEvents();
        screen = form->Slideshow->PictureScreen();
        screen->SetThreaded(false);
        screen->SetManual(true);
        screen->Picture().SetBitmap(Picture(1, w, h));
        screen->StartTransition();
        screen->SetProgress(100);
        screen->StopTransition();
        screen->Picture().SetBitmap(Picture(2, w, h));
        screen->StartTransition();
    }
    ~TSaverScene() { delete form; }
    TSaverScene(const TSaverScene&) = delete;
    TSaverScene& operator=(const TSaverScene&) = delete;
    const int width;
    // The panel and the card by name: their headers do not mix with the slideshow's.
    TLayerWindow* Layer(const char* name) const {
        return static_cast<TLayerWindow*>(form->findChild<QWidget*>(name));
    }
    void SetOverlays(bool shown) {
        Layer("Form2")->setVisible(shown);
        Layer("Form3")->setVisible(shown);
    }
};

// One scene at a time: the screen's size is the program's own. The last one is left to the
// end of the process, which outlives the application its windows need.
TSaverScene& Scene(int w = W, int h = H) {
    static TSaverScene* scene = nullptr;
    if (!scene || scene->width != w) {
        delete scene;
        scene = new TSaverScene(w, h);
    }
    return *scene;
}

void Frame(benchmark::State& state, bool overlays) {
    TSaverScene& scene = Scene(int(state.range(0)), int(state.range(1)));
    scene.SetOverlays(overlays);
    int p = 40;
    for (auto _ : state) {
        scene.screen->SetProgress(p);  // composes the frame and repaints the picture area
        p = p == 40 ? 41 : 40;
    }
}
void FrameWithPanelAndCard(benchmark::State& state) {
    Frame(state, true);
}
void FrameAlone(benchmark::State& state) {
    Frame(state, false);
}
BENCHMARK(FrameWithPanelAndCard)->Args({W, H})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(FrameAlone)->Args({W, H})->Unit(benchmark::kMillisecond);

// ---- (c)

// Steps a layer's alpha from one value to another one at a time, as the saver's fades do:
// the blocking fade-outs in a loop, the fade-ins from their timers, a step every 3 ms.
void Fade(benchmark::State& state, const char* layer, int from, int to) {
    TSaverScene& scene = Scene(int(state.range(0)), int(state.range(1)));
    scene.SetOverlays(true);
    TLayerWindow* fading = scene.Layer(layer);
    std::int64_t ms = 0;
    fading->SetClock([&ms] { return ms += 3; });
    const int step = from < to ? 1 : -1;
    for (auto _ : state) {
        fading->SetAlphaBlendValue(from);
        state.counters["pixels"] = fading->OnScreen().width() * fading->OnScreen().height();
        for (int a = from; a != to; a += step)
            fading->SetAlphaBlendValue(a + step);
        QCoreApplication::processEvents();  // the last step, when it was left to the loop
    }
}
void CardFadeOut(benchmark::State& state) {
    Fade(state, "Form3", 150, 0);
}
void PanelFadeIn(benchmark::State& state) {
    Fade(state, "Form2", 0, 190);
}
BENCHMARK(CardFadeOut)->Args({W, H})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(PanelFadeIn)->Args({W, H})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// ---- (b)

// A library as families keep it: 100,000 pictures in 200 year and month folders. A folder's
// pictures are links to one copy of the picture (a file takes only so many links), so that
// any of them shows as quickly as the picture alone.
constexpr int LibraryFolders = 200;
constexpr int PicturesPerFolder = 500;

void MakeLibrary(const QString& home) {
    namespace fs = std::filesystem;
    const fs::path picture = (home + "/picture.jpg").toStdString();
    for (int i = 0; i < LibraryFolders; ++i) {
        const fs::path folder = fs::path(home.toStdString()) / std::to_string(2008 + i / 12) /
                                std::to_string(1 + i % 12);
        fs::create_directories(folder);
        const fs::path first = folder / "IMG_1.jpg";
        fs::copy_file(picture, first);
        for (int n = 2; n <= PicturesPerFolder; ++n)
            fs::create_hard_link(first, folder / ("IMG_" + std::to_string(n) + ".jpg"));
    }
    fs::remove(picture);
}

// Runs the saver on a folder with one full-screen JPEG (or a 12-megapixel photo's worth of
// one), or on a library of them, and times the trace lines it prints.
void Startup(benchmark::State& state, const char* line, bool library = false, bool large = false) {
    QTemporaryDir home;
    QImage picture(large ? 4000 : W, large ? 3000 : H, QImage::Format_RGB888);
    picture.fill(QColor(90, 120, 160));
    picture.save(home.filePath("picture.jpg"), "JPEG", 90);
    if (library) MakeLibrary(home.path());
    for (auto _ : state) {
        QProcess saver;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PELWICK_HOME", home.path());
        env.insert("PELWICK_TRACE_STARTUP", "1");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        saver.setProcessEnvironment(env);
        saver.setReadChannel(QProcess::StandardError);
        QElapsedTimer clock;
        clock.start();
        saver.start(PELWICK_PROGRAM, {"/s"});
        double seconds = -1;
        while (seconds < 0 && (saver.canReadLine() || saver.waitForReadyRead(20000))) {
            while (saver.canReadLine())
                if (saver.readLine().contains(line)) seconds = clock.nsecsElapsed() / 1e9;
        }
        saver.kill();
        saver.waitForFinished(5000);
        if (seconds < 0) {
            state.SkipWithError("the saver printed no trace");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
void StartToFirstPicture(benchmark::State& state) {
    Startup(state, "first picture on screen");
}
void StartToWindowShown(benchmark::State& state) {
    Startup(state, "window shown");
}
void StartToFirstPictureOfALibrary(benchmark::State& state) {
    Startup(state, "first picture on screen", true);
}
void StartToFirstPicture12MP(benchmark::State& state) {
    Startup(state, "first picture on screen", false, true);
}
BENCHMARK(StartToFirstPicture)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(StartToWindowShown)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(StartToFirstPictureOfALibrary)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StartToFirstPicture12MP)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return pelwick::bench::RunBenchmarks(
        argc, argv,
        {{"FrameWithPanelAndCard/1920/1080", "FrameAlone/1920/1080"},
         {"CardFadeOut/1920/1080", "FrameWithPanelAndCard/1920/1080"},
         {"CardFadeOut/3840/2160", "FrameWithPanelAndCard/3840/2160"},
         {"PanelFadeIn/1920/1080", "FrameWithPanelAndCard/1920/1080"},
         {"PanelFadeIn/3840/2160", "FrameWithPanelAndCard/3840/2160"},
         {"StartToFirstPicture", "StartToWindowShown"},
         {"StartToFirstPictureOfALibrary", "StartToFirstPicture"},
         {"StartToFirstPicture12MP", "StartToWindowShown"}},
        pelwick::bench::bqWidgets);
}
