// TForm1, the saver window: its feed and item cycle (SaverWindow.h lists the other parts).
//
// One step a second downloads feeds in turn, keeps each item current for BlogInterval seconds
// and moves on through the items and then the feeds, writing the headline lines for the
// panel and handing each item to the card.
#include <algorithm>

#include "aatext/Bidi.h"
#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "app/Signals.h"
#include "feeds/MemoryStream.h"
#include "saver/HeadlinePanel.h"
#include "saver/HtmlText.h"
#include "saver/ItemCard.h"
#include "saver/SaverWindow.h"

namespace pelwick {

namespace {

constexpr int SteadyInterval = 1000;
constexpr int EmptyFeedTicks = 3;
constexpr int ItemRowHeight = 28;

// -1 is the last index and anything past the end the first.
std::int32_t WrapIndex(std::int32_t a, std::int32_t count) {
    if (a >= count) return 0;
    if (a == -1) return count - 1;
    return a;
}

}  // namespace

std::string TForm1::CleanTitle(const std::string& title) {
    return HtmlToText(title, false, false);
}

void TForm1::Timer1Timer() {
    if (Loading) return;
    if (Paused) {
        ItemTicks = SaverOptions.BlogInterval;
        return;
    }
    const auto& feeds = SaverOptions.FeedNames;
    const int feedCount = int(feeds.size());
    if (Timer1Tag == 0) {
        Timer1Tag = 1;
        Timer1.SetInterval(SteadyInterval);
        if (feeds.empty()) {
            ShowFirstRunHint();
            return;
        }
        LoadFeed(SaverOptions.RandomFeed ? Random(feedCount) : 0);
        return;
    }
    ++ItemTicks;
    const int itemCount = RSS.Items().Count();
    if (itemCount > 0 && ItemTicks >= SaverOptions.BlogInterval && !feeds.empty()) {
        ItemTicks = 0;
        if (CurItem < itemCount - 1) {
            FadeOutCard();
            if (Random(4) == 1) {
                HidePanel();
                ShowPanel();
            }
            ShowItem(CurItem + 1);
            return;
        }
    } else if (feeds.empty() || itemCount > 0 || ItemTicks < EmptyFeedTicks) {
        return;
    }
    ItemTicks = 0;
    HidePanel();
    if (SaverOptions.RandomFeed)
        LoadFeed(Random(feedCount));
    else
        LoadFeed(CurFeed >= feedCount - 1 ? 0 : CurFeed + 1);
}

// A blocking fade: the card goes down one alpha step every 3 ms and stays shown at 0. A
// request to stop cuts it short, so that the event loop can end the saver in time.
void TForm1::FadeOutCard() {
    if (!form3_) return;
    while (form3_->AlphaBlendValue() > 0 && !TSignalWatch::StopRequested()) {
        form3_->SetAlphaBlendValue(form3_->AlphaBlendValue() - 1);
        SleepMs(3);
    }
}

void TForm1::LoadFeed(std::int32_t a) {
    const auto& feeds = SaverOptions.FeedNames;
    if (feeds.empty()) return;
    CurFeed = WrapIndex(a, std::int32_t(feeds.size()));
    // A download still running from an earlier call ends here; its own call swallows the
    // failure.
    if (http.Connected()) http.Disconnect();
    try {
        const std::string name = feeds[CurFeed];
        const std::string address =
            SettingsFile ? SettingsFile->ReadString("feeds", name, "") : std::string();
        FeedName = name;
        if (!address.empty()) {
            Loading = true;
            Feeds.RefreshMinutes = SaverOptions.FeedRefresh;
            const TFeedFetcher::TResult got =
                Feeds.Fetch(address, [this](TMemoryStream& stream) { RSS.LoadFromStream(stream); });
            // The status bar shows a download until it ends; a stored copy ends none.
            if (got.FromStore && !Paused && Panel2->isVisible()) SetStatusVisible(false);
            CardBeside = false;
            ShowItem(0);
            http.Disconnect();
            Loading = false;
            ShowPanel();
        }
    } catch (const std::exception&) {
        // A feed that cannot be fetched or read, and has no stored copy, leaves the screen
        // as it was; the cycle moves on and tries it again when its turn comes.
    }
    Loading = false;
}

void TForm1::ShowItem(std::int32_t a) {
    try {
        const int count = RSS.Items().Count();
        if (count == 0) return;
        CurItem = WrapIndex(a, count);
        RebuildHeadlines();
        PanelForm().EndHint();  // the headlines' size, before it grows or shrinks to fit
        if (count > 10)
            form2_->ResizeTo(form2_->Width(), std::min(LayoutHeight() - 30,
                                                       form2_->Tag + (count - 10) * ItemRowHeight));
        // A host's small preview window is lower than the panel's own height: the panel
        // keeps inside it, its lines cut at the bottom.
        if (form2_->Height() > LayoutHeight() - 10)
            form2_->ResizeTo(form2_->Width(), std::max(1, LayoutHeight() - 10));
        form2_->SetLines(Headlines);
        ShowItemCard(CurItem);
    } catch (const std::exception&) {
        // The panel and the card keep what they showed.
    }
}

void TForm1::ShowFirstRunHint() {
    Headlines = {"<text1>" + std::string(FirstRunHint)};
    if (!pictureNotice_.empty()) Headlines.push_back("<text1>" + pictureNotice_);
    PanelForm();
    // ShowPanel may place the panel up to PanelLeftRange + 9 pixels in; it keeps a margin
    // at the right and ShowPanel's at the top and bottom.
    form2_->ShowHint(Headlines, LayoutWidth() - PanelLeftRange - 20, LayoutHeight() - 10);
    ShowPanel();
}

std::string TForm1::NoPicturesText(const std::string& folder) {
    std::string shown = folder;
    // The folder as people write it: without the separator that ends it, unless it is all.
    if (shown.size() > 1 && shown.back() == PathDelim) shown.pop_back();
    return "No pictures found in " + shown + ".";
}

void TForm1::ShowPictureNotice(const std::string& folder) {
    pictureNotice_ = NoPicturesText(folder);
    noticeFeed_ = -1;
    if (Timer1Tag != 0 && SaverOptions.FeedNames.empty()) {
        ShowFirstRunHint();
    } else if (form2_ && RSS.Items().Count() > 0) {
        RebuildHeadlines();
        form2_->SetLines(Headlines);
    }
}

void TForm1::RebuildHeadlines() {
    Headlines.clear();
    // The notice is said with one feed, the one on screen when it came, and not again.
    if (!pictureNotice_.empty() && noticeFeed_ == -1) noticeFeed_ = CurFeed;
    if (!pictureNotice_.empty() && noticeFeed_ != CurFeed) pictureNotice_.clear();
    if (!pictureNotice_.empty()) Headlines.push_back("<text1>" + pictureNotice_);
    if (!RSS.ChannelTitle.empty()) Headlines.push_back("<Title1>" + RSS.ChannelTitle);
    if (!RSS.ChannelDescription.empty())
        Headlines.push_back("<Text2> - " + RSS.ChannelDescription);
    else if (!RSS.ChannelDate.empty())
        Headlines.push_back("<Text2>" + RSS.ChannelDate);
    Headlines.push_back("<line>");
    const TRSSItems& items = RSS.Items();
    for (int i = 0; i < items.Count(); ++i)
        Headlines.push_back((i == CurItem ? "<text3>" : "<text1>") + std::to_string(i + 1) + ". " +
                            IsolateRightToLeft(CleanTitle(items[i].Title())));
}

}  // namespace pelwick
