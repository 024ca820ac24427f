#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/CommandLine.h"
#include "app/QtMessages.h"
#include "app/Signals.h"
#include "options/ConfigForm.h"
#include "saver/ApplicationEvents.h"
#include "saver/NativeWindow.h"
#include "saver/PreviewForm.h"
#include "saver/SaverWindow.h"
#include "saver/ScreenScale.h"

namespace {

using namespace pelwick;

const char* const Help =
    "usage: pelwick [/s | /c | /p ID | /a ID] [-root] [-window-id ID]\n"
    "               [--picture-folder DIR] [--item-interval SECONDS]\n"
    "               [--picture-interval SECONDS]\n"
    "\n"
    "A news-wall screen saver: the headlines of your feeds over a slideshow of your pictures.\n"
    "\n"
    "  (no switch), /c     the options dialog: feeds, intervals, picture folder\n"
    "  /s                  the saver, full screen\n"
    "  /p ID               the preview picture inside window ID\n"
    "  /a ID               nothing (exits at once)\n"
    "  -root               draw on the root window, or in $XSCREENSAVER_WINDOW when set\n"
    "  -window-id ID       draw in window ID of a screen-saver host (decimal or 0x...)\n"
    "  --picture-folder DIR, --item-interval SECONDS, --picture-interval SECONDS\n"
    "                      this run's picture folder and intervals, over the settings\n"
    "  -h, -?, --help      this help\n"
    "  -v, --version       the version\n"
    "\n"
    "Settings: $PELWICK_HOME/Pelwick.ini, else Pelwick.ini beside the program when it may be\n"
    "rewritten there, else $XDG_CONFIG_HOME/pelwick/Pelwick.ini (~/.config/pelwick/).\n"
    "SIGTERM, SIGINT and SIGHUP end the saver cleanly. See pelwick(6).\n";

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

int RunSaver(TApplication& app) {
    auto saver = std::make_unique<TForm1>();
    saver->Arguments = ProcessSaverArguments();
    const TSaverArguments& args = saver->Arguments;
    const TWindowId host = args.Window ? args.Window : args.Root ? RootWindow() : 0;
    // A host ends its saver with a signal: the same clean end as a key.
    TSignalWatch stopSignals([&](int) { saver->QuitSaver(); });
    if (host) {
        if (!saver->EmbedInHost(host)) {
            std::fprintf(stderr, "pelwick: there is no window 0x%x to draw in\n", host);
            return 1;
        }
        saver->show();
    } else {
        saver->showFullScreen();
    }
    return app.exec();
}

int RunPreview(TApplication& app) {
    auto preview = std::make_unique<TPreviewForm>();
    if (!preview->CreateParams(std::uint32_t(PreviewParent))) {
        std::fprintf(stderr, "pelwick: there is no window %d to show the preview in\n",
                     PreviewParent);
        return 1;
    }
    // exit, not quit: quit would first try to close the window that is already gone.
    preview->OnParentGone = [] { QCoreApplication::exit(0); };
    preview->show();
    TSignalWatch stopSignals([](int) { QCoreApplication::exit(0); });
    return app.exec();
}

int RunOptions(TApplication& app) {
    // A tool window does not end the program when it closes; the dialog does.
    auto dialog = std::make_unique<TConfigForm>();
    dialog->OnClose = [] { QCoreApplication::quit(); };
    dialog->show();
    TSignalWatch stopSignals([](int) { QCoreApplication::exit(0); });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    SetProcessArguments(argc, argv);
    switch (InfoRequest(ProcessArguments())) {
        case irHelp:
            std::fputs(Help, stdout);
            return 0;
        case irVersion:
            std::printf("pelwick %s\n", ProgramVersion());
            return 0;
        case irNone:
            break;
    }
    FilterQtMessages();
    ParseCommandLine();
    // Mode 5 creates no window; the message loop would return at once.
    if (RunMode == rmNothing) return 0;
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "pelwick: no display to show a window on (DISPLAY is not set)\n");
        return 1;
    }

    // The full-screen wall on a dense screen; a host's window and the dialogs are the
    // desktop's to scale.
    if (RunMode == rmSaver) {
        const TSaverArguments args = ProcessSaverArguments();
        if (!args.Window && !args.Root) ChooseScreenScale();
    }
    TApplication app(argc, argv);
    app.setApplicationName("Pelwick");
    switch (RunMode) {
        case rmSaver:
            return RunSaver(app);
        case rmPreview:
            return RunPreview(app);
        default:
            return RunOptions(app);
    }
}
