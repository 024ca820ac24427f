#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/CommandLine.h"
#include "options/ConfigForm.h"
#include "saver/ApplicationEvents.h"
#include "saver/Form1.h"
#include "saver/PreviewForm.h"

namespace {

// Qt aborts when it cannot reach a display; say so plainly instead.
bool DisplayAvailable() {
#if defined(__linux__)
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pelwick;
    SetProcessArguments(argc, argv);
    ParseCommandLine();
    // Mode 5 creates no window; the message loop would return at once.
    if (RunMode == rmNothing) return 0;
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "pelwick: no display to show a window on (DISPLAY is not set)\n");
        return 1;
    }

    TApplication app(argc, argv);
    app.setApplicationName("Pelwick");
    std::unique_ptr<QWidget> window;
    switch (RunMode) {
        case rmSaver:
            window = std::make_unique<TForm1>();
            window->showFullScreen();
            break;
        case rmPreview:
            window = std::make_unique<TPreviewForm>();
            window->show();
            break;
        default: {
            // A tool window does not end the program when it closes; the dialog does.
            auto dialog = std::make_unique<TConfigForm>();
            dialog->OnClose = [] { QCoreApplication::quit(); };
            window = std::move(dialog);
            window->show();
            break;
        }
    }
    return app.exec();
}
