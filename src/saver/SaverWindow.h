// TForm1, the full-screen saver window, in five files:
//   SaverWindow.cpp         the window: start, host embedding, layout, downloads' status, end
//   SaverWindowInput.cpp    the keyboard and mouse policy
//   SaverWindowCycle.cpp    the feed and item cycle
//   SaverWindowFeeds.cpp    the cycle's feeds, fetched ahead on a worker and taken in turn
//   SaverWindowOverlays.cpp showing its headline panel (TForm2) and placing its card (TForm3)
#pragma once

#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "feeds/AntiFreeze.h"
#include "feeds/FeedAhead.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedStore.h"
#include "feeds/HTTPClient.h"
#include "slideshow/Timer.h"

class QEvent;
class QWindow;

namespace pelwick {

class TRunGlimrascreen;
class TScreenCover;
class TGlimrascreen;
class TForm2;
class TLayerWindow;
class TForm3;
class TApplicationEvents;
class TBlankingGuard;
class TForeignWindowWatch;

// The status bar: a caption and the integer tag that holds a download's expected size.
class TStatusPanel : public QLabel {
  public:
    explicit TStatusPanel(QWidget* parent);
    // Shows text, telling OnChanging first.
    void SetText(const std::string& text);
    std::int64_t Tag = 0;
    std::function<void()> OnChanging;
};

// Mouse moves tolerated within one period of the mouse timer.
extern std::int32_t MouseMoves;

// The full-screen saver window: the slideshow in its client panel, the feed and item cycle
// with its headline panel and item card on top, a status bar for downloads and pausing, and
// the keyboard and mouse policy that pauses, steps, opens the current link or ends the run.
// It is the only place that ends the process in this mode.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    static constexpr int StatusBarHeight = 21;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Components.
    QWidget* Panel1 = nullptr;
    TStatusPanel* Panel2 = nullptr;
    TTimer MouseTimer;
    std::unique_ptr<TApplicationEvents> ApplicationEvents1;
    TFeedDocument RSS;
    TAntiFreeze AntiFreeze1;
    // The window's client: the wall's downloads run on FeedAhead's own, whose events come to
    // the same handlers.
    THTTPClient http;
    // Each feed's last good answer ($XDG_CACHE_HOME/pelwick/feeds); tests set its clock.
    TFeedStore FeedStore{TFeedStore::DefaultFolder()};
    // Fetches, through the store, the feed the cycle shows next while one is on the wall, so
    // that the wall never waits on a server.
    TFeedAhead FeedAhead{FeedStore};
    // Seconds without a byte after which a download for the wall gives up.
    static constexpr int WallLowSpeedTime = 15;
    TTimer Timer1;
    // Timer1's integer tag: 0 until the cycle's first tick has run.
    int Timer1Tag = 0;

    // The panel's one line while no feed is listed.
    static constexpr const char* FirstRunHint = "No feeds yet: run pelwick /c to add some.";
    // The panel's line when the picture folder held no picture.
    static std::string NoPicturesText(const std::string& folder);

    // Fields.
    std::int32_t CurFeed = 0;
    std::int32_t CurItem = 0;
    std::int32_t ItemTicks = 0;
    std::vector<std::string> Headlines;
    // The wall waits for a feed the worker fetches (the first one, one a key asked for, or
    // one after a feed skipped for being late); the cycle's steps wait meanwhile.
    bool Loading = false;
    std::string FeedName;
    std::int32_t PanelLeftRange = 10;
    std::unique_ptr<TRunGlimrascreen> Slideshow;
    bool Paused = false;
    // Where the last fitted card lay and how big it was: a feed's cards keep that size while
    // they stay clear of the headline panel.
    bool CardBeside = false;
    std::int32_t LastCardHeight = 0;
    std::int32_t LastCardWidth = 0;

    // Draws the wall into a window of a screen-saver host, sized to it and following its
    // size; the host owns the input and ends the saver with a signal or by destroying its
    // window. Call before the first show; false when the window does not exist.
    bool EmbedInHost(std::uint32_t window);
    bool Hosted() const { return hosted_; }
    // The size the panel and the card are laid out for. A host's window smaller than a
    // screen shows a miniature of the wall laid out for a screen of MiniatureWidth x
    // MiniatureHeight, scaled down with the window, though never below MinimumScale, where
    // the headlines would stop being legible; elsewhere it is the window's own size.
    static constexpr int MiniatureWidth = 1280;
    static constexpr int MiniatureHeight = 720;
    static constexpr double MinimumScale = 0.5;
    int LayoutWidth() const;
    int LayoutHeight() const;
    double LayoutScale() const { return scale_; }
    // The host's options for this run (picture folder, intervals), applied after the
    // settings are loaded.
    TSaverArguments Arguments;

    // The overlays, created on first use and kept for the life of the window.
    TForm2* Form2() const { return form2_; }
    TForm3* Form3() const { return form3_; }
    // The right edge of the headline panel, 0 before it exists: the card keeps clear of it.
    int PanelRight() const;

    void FormShow();
    void MouseTimerTimer();
    // Sees every input event of the application before it is delivered; handled swallows it.
    void ApplicationEvents1Message(QEvent* event, bool& handled);
    void httpStatus(THTTPClient& sender, THTTPClient::THTTPStatus status, const std::string& text);
    void httpWorkBegin(THTTPClient& sender, THTTPClient::TWorkMode mode, std::int64_t expected);
    void httpWork(THTTPClient& sender, THTTPClient::TWorkMode mode, std::int64_t count);
    void httpWorkEnd(THTTPClient& sender, THTTPClient::TWorkMode mode);
    // Hides the window, deletes the item page, closes the download and ends the process.
    void QuitSaver();

    // The feed and item cycle.
    void Timer1Timer();
    void LoadFeed(std::int32_t a);
    void ShowItem(std::int32_t a);
    static std::string CleanTitle(const std::string& title);

    // The headline panel.
    void HidePanel();
    void ShowPanel();

    // The item card.
    void ShowItemCard(std::int32_t a);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void HandleKey(int key);
    void HandleMouseMove();
    void HandleMouseDown(int button);
    void ExitOnKey(int key);
    void SetStatusVisible(bool visible);
    void LayoutPanels();
    // Lays the overlays out for a host's window of this size.
    void FitToHost(QSize size);
    // The headline panel, made on first use.
    TForm2& PanelForm();
    void ApplyArguments();
    void ScheduleScreenshot();
    void TraceStartup(TGlimrascreen& screen);
    void FadeOutCard();
    void RebuildHeadlines();
    // The feed and item cycle's feed-ahead (SaverWindowFeeds.cpp).
    void SetUpFeedAhead();
    std::string AddressOf(std::int32_t feed) const;
    void TakeTurn(std::int32_t feed);
    void CollectAhead();
    void FeedArrived();
    void ShowFetched();
    bool ShowStored(std::int32_t feed);
    void ShowFeed(TFeedDocument&& document, bool fromStore);
    void PlanNext();
    // Starts fetching the next feed unless that runs or is done already.
    void FetchAhead();
    void StartAhead(std::int32_t feed);
    void ShowFetchProgress(const std::string& name, const TFeedAhead::TProgress& progress);
    void StatusText(const std::string& name, const std::string& text);
    // With no feed listed the panel says how to add one.
    void ShowFirstRunHint();
    // The slideshow's folder held no picture: the panel says so, with the first-run hint or
    // with the feed on screen.
    void ShowPictureNotice(const std::string& folder);
    // The overlays stay above the slideshow and the status bar.
    void RaiseOverlays();
    void KeepCopyBeneath(TLayerWindow& layer);
    // Something stacked at or below `below` is about to change within area (this window's
    // pixels): the overlays above it there repaint with it.
    void ChangingBeneath(const QRect& area, const QObject* below);
    void WatchPictureScreen(TGlimrascreen& screen);
    // After the window changed size (a host resized it) the headline panel moves back
    // inside it, within the margins ShowPanel keeps.
    void KeepPanelInside();
    // The link the card holds for the current item, "" without a card.
    std::string CurrentLink() const;

    // The feed the cycle shows at its next turn, decided when the current one came; -1 before.
    std::int32_t nextFeed_ = -1;
    // The feed the worker fetches or has fetched for the wall, -1 when none, and that job's
    // serial; its result once it came.
    std::int32_t aheadFeed_ = -1;
    std::uint64_t aheadSerial_ = 0;
    std::optional<TFeedAhead::TResult> ready_;
    // Loading for a feed that stood in for a late one: it too is skipped at the next step.
    bool awaitBounded_ = false;
    // Feeds skipped in a row since one was shown.
    int skips_ = 0;

    int cursorsHidden_ = 0;
    // What the panel says of the picture folder, "" when it has pictures; and the feed it is
    // said with, -1 until the panel shows one.
    std::string pictureNotice_;
    std::int32_t noticeFeed_ = -1;
    // A modal message box was up at the last input.
    bool modalSeen_ = false;
    // Holds the display server's own blanking off while the wall is shown.
    std::unique_ptr<TBlankingGuard> blanking_;
    bool hosted_ = false;
    double scale_ = 1.0;
    std::unique_ptr<QWindow> hostWindow_;
    std::unique_ptr<TForeignWindowWatch> host_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    // The other monitors' slideshows, in full-screen mode.
    std::vector<std::unique_ptr<TScreenCover>> covers_;
};

}  // namespace pelwick
