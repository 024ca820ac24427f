#include "saver/SaverWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "saver/ApplicationEvents.h"
#include "saver/HeadlinePanel.h"
#include "saver/ItemCard.h"
#include "saver/NativeWindow.h"
#include "saver/Screen.h"
#include "saver/ScreenBlanking.h"
#include "saver/ScreenCover.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/SlideshowDriver.h"

namespace pelwick {

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {
    setObjectName("Panel2");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::cyan);
    setPalette(pal);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TStatusPanel::SetText(const std::string& text) {
    if (OnChanging && isVisible()) OnChanging();
    setText(QString::fromStdString(text));
}

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    MakeBlackSaverWindow(*this);
    setFocusPolicy(Qt::StrongFocus);
    // Full screen from the start: without a window manager (a bare X server) the request
    // to go full screen is never answered, and the window would keep a default size.
    setGeometry(0, 0, ScreenWidth(), ScreenHeight());
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setAttribute(Qt::WA_NoSystemBackground);
    Panel2 = new TStatusPanel(this);
    Panel2->OnChanging = [this] { ChangingBeneath(Panel2->geometry(), Panel2); };
    LayoutPanels();

    MouseTimer.SetInterval(3000);
    MouseTimer.OnTimer = [this] { MouseTimerTimer(); };
    ApplicationEvents1 = std::make_unique<TApplicationEvents>(
        [this](QEvent* event, bool& handled) { ApplicationEvents1Message(event, handled); });
    http.OnStatus = [this](THTTPClient& s, THTTPClient::THTTPStatus st, const std::string& text) {
        httpStatus(s, st, text);
    };
    http.OnWorkBegin = [this](THTTPClient& s, THTTPClient::TWorkMode m, std::int64_t n) {
        httpWorkBegin(s, m, n);
    };
    http.OnWork = [this](THTTPClient& s, THTTPClient::TWorkMode m, std::int64_t n) {
        httpWork(s, m, n);
    };
    http.OnWorkEnd = [this](THTTPClient& s, THTTPClient::TWorkMode m) { httpWorkEnd(s, m); };
    SetUpFeedAhead();
    Timer1.SetEnabled(false);
    Timer1.SetInterval(50);
    Timer1.OnTimer = [this] { Timer1Timer(); };
}

TForm1::~TForm1() {
    covers_.clear();
    // The overlays are children and go with the window; the hooks must not outlive it.
    host_.reset();
    Panel2->OnChanging = nullptr;
    if (form2_) form2_->OnChanging = nullptr;
    if (form3_) form3_->OnChanging = nullptr;
    if (TGlimrascreen* screen = Slideshow ? Slideshow->PictureScreen() : nullptr)
        screen->OnChanging = nullptr;
    if (hostWindow_) ReleaseFromForeignWindow(*this);
    ApplicationEvents1.reset();
    Timer1.SetEnabled(false);
    MouseTimer.SetEnabled(false);
    for (; cursorsHidden_ > 0; --cursorsHidden_)
        QGuiApplication::restoreOverrideCursor();
}

bool TForm1::EmbedInHost(std::uint32_t window) {
    const std::optional<QSize> size = ForeignWindowSize(window);
    if (!size) return false;
    // Flags first: changing them later would make a new native window outside the host.
    setWindowFlags(windowFlags() & ~Qt::WindowStaysOnTopHint);
    unsetCursor();
    hostWindow_ = EmbedInForeignWindow(*this, window);
    if (!hostWindow_) return false;
    hosted_ = true;
    FitToHost(*size);
    setGeometry(0, 0, size->width(), size->height());
    host_ = std::make_unique<TForeignWindowWatch>(window);
    host_->OnResize = [this](QSize s) {
        FitToHost(s);
        resize(s);
    };
    host_->OnDestroy = [this] { QuitSaver(); };
    return true;
}

// The panel and the card are laid out for the host's window as for a screen, the screen
// being a larger one when the window is small.
void TForm1::FitToHost(QSize size) {
    const double fit =
        std::min(double(size.width()) / MiniatureWidth, double(size.height()) / MiniatureHeight);
    scale_ = std::clamp(fit, MinimumScale, 1.0);
    SetScreenSize(int(std::lround(size.width() / scale_)),
                  int(std::lround(size.height() / scale_)));
    if (form2_) form2_->SetScale(scale_);
    if (form3_) form3_->SetScale(scale_);
}

int TForm1::LayoutWidth() const {
    return int(std::lround(width() / scale_));
}

int TForm1::LayoutHeight() const {
    return int(std::lround(height() / scale_));
}

void TForm1::ApplyArguments() {
    TRssSaverOptions& o = SaverOptions;
    if (!Arguments.PictureFolder.empty() && DirectoryExists(Arguments.PictureFolder))
        o.ImagePath = IncludeTrailingPathDelimiter(Arguments.PictureFolder);
    if (Arguments.ItemInterval) o.BlogInterval = Arguments.ItemInterval;
    if (Arguments.PictureInterval) o.ImageInterval = Arguments.PictureInterval;
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanels();
    KeepPanelInside();
}

// Panel1 fills what the status bar leaves, as the status bar comes and goes.
void TForm1::LayoutPanels() {
    const bool status = !Panel2->isHidden();
    const int barHeight = status ? StatusBarHeight : 0;
    Panel2->setGeometry(0, height() - StatusBarHeight, width(), StatusBarHeight);
    Panel1->setGeometry(0, 0, width(), height() - barHeight);
}

void TForm1::SetStatusVisible(bool visible) {
    if (visible != Panel2->isVisible()) ChangingBeneath(Panel2->geometry(), Panel2);
    Panel2->setVisible(visible);
    LayoutPanels();
    RaiseOverlays();
}

// The window manager's own show events (a restore, a workspace switch) are not the window
// being shown by the program.
void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm1::FormShow() {
    Randomize();
    if (!SettingsFile) {
        LoadSettings();
        ApplyArguments();
    }
    // In a host's window the host owns the cursor, the input and the blanking.
    if (!hosted_) {
        setCursor(Qt::BlankCursor);
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        ++cursorsHidden_;
        activateWindow();
        setFocus();
        if (!blanking_) blanking_ = std::make_unique<TBlankingGuard>();
    }
    MouseMoves = 20;
    CurItem = 0;
    CurFeed = 0;
    ItemTicks = 0;
    Loading = false;
    PanelLeftRange = ScreenWidth() > 1400 ? 40 : 10;
    if (Slideshow) {
        try {
            if (TGlimrascreen* screen = Slideshow->PictureScreen()) screen->StartTransition();
        } catch (const std::exception&) {
            // The picture stays as it is; the slideshow's own timer goes on.
        }
    } else {
        Slideshow = std::make_unique<TRunGlimrascreen>(Panel1, SlideshowSettingsOf(SaverOptions));
        Slideshow->OnNoPictures = [this](const std::string& folder) { ShowPictureNotice(folder); };
        if (TGlimrascreen* screen = Slideshow->PictureScreen()) {
            screen->SetThreaded(true);
            WatchPictureScreen(*screen);
            if (std::getenv("PELWICK_TRACE_STARTUP")) TraceStartup(*screen);
        }
        if (!hosted_) covers_ = CoverOtherScreens(this->screen());
        ScheduleScreenshot();
    }
    Timer1.SetEnabled(true);
}

// PELWICK_TRACE_STARTUP reports on standard error when the window is shown and when the first
// picture begins to appear, and then quits: the start-up benchmark reads these lines.
void TForm1::TraceStartup(TGlimrascreen& screen) {
    std::fprintf(stderr, "pelwick: window shown\n");
    std::fflush(stderr);
    screen.OnProgress = [this](TCustomGlimrascreen&) {
        std::fprintf(stderr, "pelwick: first picture on screen\n");
        std::fflush(stderr);
        QuitSaver();
    };
}

void TForm1::httpStatus(THTTPClient&, THTTPClient::THTTPStatus, const std::string& text) {
    StatusText(FeedName, text);
}

void TForm1::httpWorkBegin(THTTPClient&, THTTPClient::TWorkMode, std::int64_t expected) {
    Panel2->Tag = expected;
}

void TForm1::httpWork(THTTPClient&, THTTPClient::TWorkMode, std::int64_t count) {
    Panel2->SetText("Progress: " + std::to_string(count) + " of " + std::to_string(Panel2->Tag));
}

void TForm1::httpWorkEnd(THTTPClient&, THTTPClient::TWorkMode) {
    SetStatusVisible(false);
}

void TForm1::QuitSaver() {
    hide();
    blanking_.reset();
    // Clean-up is best effort: the process ends whatever happens here.
    try {
        DeleteItemPage();
    } catch (...) {
    }
    try {
        // A download on the worker ends at once; the process does not wait for it.
        FeedAhead.Cancel();
        ready_.reset();
        aheadFeed_ = -1;
        Loading = false;
        if (http.Connected()) http.Disconnect();
    } catch (...) {
    }
    Halt(0);
}

// PELWICK_SCREENSHOT=FILE saves the saver's screen as a picture after
// PELWICK_SCREENSHOT_AFTER seconds (default 5) and quits, for runs without anyone watching.
void TForm1::ScheduleScreenshot() {
    const char* file = std::getenv("PELWICK_SCREENSHOT");
    if (!file || !*file) return;
    const char* after = std::getenv("PELWICK_SCREENSHOT_AFTER");
    const double seconds = after && *after ? std::atof(after) : 5.0;
    const std::string path = file;
    QTimer::singleShot(int(std::max(0.0, seconds) * 1000), this, [this, path] {
        if (!grab().toImage().save(QString::fromStdString(path), "PNG")) {
            std::fprintf(stderr, "pelwick: cannot write the screenshot \"%s\"\n", path.c_str());
            std::fflush(stderr);
            DeleteItemPage();
            Halt(1);
            return;
        }
        QuitSaver();
    });
}

}  // namespace pelwick
