// TForm1, the saver window: its feed and item cycle (SaverWindow.h lists the other parts).
//
// One step a second keeps each item current for BlogInterval seconds and moves on through the
// items and then the feeds, writing the headline lines for the panel and handing each item to
// the card. The feeds themselves are fetched ahead on a worker (SaverWindowFeeds.cpp): a step
// only ever takes what is there.
#include <algorithm>

#include "aatext/Bidi.h"
#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "app/Signals.h"
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
    if (Loading) {
        // A feed that stood in for a late one is as late at the next step: the wall moves on.
        if (awaitBounded_ && !Paused) TakeTurn(CurFeed);
        return;
    }
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
            FetchAhead();
            return;
        }
    } else if (feeds.empty() || itemCount > 0 || ItemTicks < EmptyFeedTicks) {
        FetchAhead();
        return;
    }
    ItemTicks = 0;
    HidePanel();
    if (nextFeed_ < 0) nextFeed_ = SaverOptions.RandomFeed ? Random(feedCount) : CurFeed + 1;
    TakeTurn(nextFeed_);
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

// Shows feed a: what the worker fetched for it when that is there, else it is fetched and
// shown when it arrives.
void TForm1::LoadFeed(std::int32_t a) {
    const auto& feeds = SaverOptions.FeedNames;
    if (feeds.empty()) return;
    CurFeed = WrapIndex(a, std::int32_t(feeds.size()));
    FeedName = feeds[CurFeed];
    Loading = false;
    awaitBounded_ = false;
    CollectAhead();
    if (ready_ && aheadFeed_ == CurFeed) {
        ShowFetched();
        return;
    }
    // A feed without an address shows nothing; the cycle goes on to the next.
    if (AddressOf(CurFeed).empty()) {
        PlanNext();
        return;
    }
    // A fetch of this feed that is still running is as fresh as a new one.
    if (aheadFeed_ != CurFeed) StartAhead(CurFeed);
    Loading = true;
}

// The cycle's turn for a feed. A feed whose fetch has not come by its turn is skipped for
// this round: its stored copy stands in, or else the following feed, fetched now and itself
// skipped when it is not there by the next step. Only when every feed was late in a row is
// one waited for, so that a slow network still shows something.
void TForm1::TakeTurn(std::int32_t feed) {
    const auto& feeds = SaverOptions.FeedNames;
    if (feeds.empty()) return;
    const std::int32_t count = std::int32_t(feeds.size());
    feed = WrapIndex(feed, count);
    CollectAhead();
    const bool fetching = aheadFeed_ == feed;
    if ((fetching && ready_) || AddressOf(feed).empty()) {
        LoadFeed(feed);
        return;
    }
    // No step came between the last feed and this turn to start the fetch: it starts now,
    // and the feed is late when it is not there by the next step.
    if (!fetching) {
        LoadFeed(feed);
        awaitBounded_ = Loading;
        return;
    }
    CurFeed = feed;
    FeedName = feeds[feed];
    Loading = false;
    awaitBounded_ = false;
    if (ShowStored(feed)) return;
    if (++skips_ >= count) {
        Loading = true;
        return;
    }
    LoadFeed(feed >= count - 1 ? 0 : feed + 1);
    awaitBounded_ = Loading;
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
