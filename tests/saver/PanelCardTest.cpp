#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <functional>

#include "SaverFixture.h"
#include "app/DateTime.h"
#include "app/Files.h"
#include "feeds/FeedModel.h"
#include "saver/HeadlinePanel.h"
#include "saver/ItemCard.h"
#include "saver/PageView.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/SlideshowDriver.h"

namespace pelwick {
namespace {

using test::RssFeed;
using test::TSaverFixture;

std::string Feed(const std::string& items) {
    return "<rss version=\"2.0\"><channel><title>T</title><description>d</description>" + items +
           "</channel></rss>";
}

std::string Item(const std::string& title, const std::string& description,
                 const std::string& pubDate = "") {
    std::string item = "<item><title>" + title + "</title><link>http://example.com/a</link>" +
                       "<description>" + description + "</description>";
    if (!pubDate.empty()) item += "<pubDate>" + pubDate + "</pubDate>";
    return item + "</item>";
}

int PanelRight(const TForm1& form) {
    return form.Form2()->Left() + form.Form2()->Width();
}

TEST(HeadlinePanel, WidthFollowsNarrowScreensOnly) {
    for (auto [screen, width] : {std::pair{1024, 284}, {1280, 355}, {1400, 388}, {1401, 429}}) {
        TSaverFixture f({"A=/a"}, "", screen, 768);
        f.ShowFeed("/a", RssFeed("T", "d", 1));
        ASSERT_NE(f.form->Form2(), nullptr);
        EXPECT_EQ(f.form->Form2()->Width(), width) << screen;
        EXPECT_EQ(f.form->Form2()->Tag, 343);
    }
}

TEST(HeadlinePanel, ShowPanelPlacesItNearTheLeftEdgeInsideTheScreen) {
    for (int screen : {1024, 1920}) {
        TSaverFixture f({"A=/a"}, "", screen, 768);
        f.ShowFeed("/a", RssFeed("T", "d", 1));
        const int range = screen > 1400 ? 40 : 10;
        int minLeft = 1000, maxLeft = 0, minTop = 1000, maxBottom = 0;
        for (int i = 0; i < 400; ++i) {
            f.form->ShowPanel();
            const QRect r = f.form->Form2()->Frame();
            minLeft = std::min(minLeft, r.left());
            maxLeft = std::max(maxLeft, r.left());
            minTop = std::min(minTop, r.top());
            maxBottom = std::max(maxBottom, r.top() + r.height());
        }
        EXPECT_EQ(minLeft, 10);
        EXPECT_EQ(maxLeft, 9 + range);
        EXPECT_GE(minTop, 5);
        EXPECT_LE(maxBottom, 768 - 6);
        EXPECT_EQ(f.form->Form2()->AlphaBlendValue(), 0);
    }
}

TEST(HeadlinePanel, FadesInToOneNinetyAndOutToZero) {
    TSaverFixture f({"A=/a"});
    f.ShowFeed("/a", RssFeed("T", "d", 2));
    TForm2& panel = *f.form->Form2();
    EXPECT_EQ(panel.Timer1.Interval(), 5);
    int steps = 0;
    while (panel.Timer1.Enabled() && steps < 1000) {
        panel.Timer1Timer();
        ++steps;
    }
    EXPECT_EQ(panel.AlphaBlendValue(), 190);
    EXPECT_EQ(steps, 191);
    f.sleeps.clear();
    f.form->HidePanel();
    EXPECT_EQ(panel.AlphaBlendValue(), 0);
    EXPECT_EQ(f.sleeps, std::vector<int>(190, 4));
    EXPECT_TRUE(panel.isVisible());
}

TEST(ItemCard, PageHoldsTheItemAsWrittenWithLineBreaksAsCrLf) {
    TSaverFixture f({"A=/a"});
    const int bias = StandardTimeZoneBias();
    // 10 Jun 2003, exactly midnight in local standard time.
    TDateTime utcMidnight = 0;
    ASSERT_TRUE(TryEncodeDate(2003, 6, 10, utcMidnight));
    utcMidnight += bias / 1440.0;
    TDateTimeParts p;
    ASSERT_TRUE(DecodeDateTime(utcMidnight, p));
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char date[64];
    std::snprintf(date, sizeof date, "Mon, %02d %s %04d %02d:%02d:%02d GMT", p.Day,
                  months[p.Month - 1], p.Year, p.Hour, p.Minute, p.Second);
    f.ShowFeed("/a", Feed("<item><title>Caf\xC3\xA9 &amp;lt;b&amp;gt;</title>"
                          "<link>http://example.com/a</link>"
                          "<description>&lt;i&gt;One&lt;/i&gt;\nTwo</description><pubDate>" +
                          std::string(date) + "</pubDate></item>"));
    const std::string page = ReadFileBytes(ItemPagePath());
    const std::string head =
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=utf-8\" /></head><body bgcolor=\"#1B1B1B\" topmargin=\"6\" "
        "leftmargin=\"6\" rightmargin=\"6\" bottommargin=\"6\"><table border=\"1\" width=\"100%\" "
        "bordercolor=\"#A5A5A5\" cellspacing=\"0\" cellpadding=\"8\"><tr><td><h3 "
        "align=\"center\"><font color=\"#FFFFFF\">Caf\xC3\xA9 &lt;b&gt;</font></h3><font "
        "color=\"#FFFFFF\"><i>One</i>\r\nTwo</font><p align=\"right\"><span style=\"font-weight: "
        "400\"><i><font size=\"1\" color=\"#7C7C7C\">";
    const std::string tail =
        ", Press Enter to read...</font></i></span></p></td></tr></table></body></html>\r\n";
    ASSERT_EQ(page.substr(0, head.size()), head);
    ASSERT_GE(page.size(), head.size() + tail.size());
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    const std::string datePiece = page.substr(head.size(), page.size() - head.size() - tail.size());
    EXPECT_NE(datePiece.find("03"), std::string::npos) << datePiece;
    EXPECT_EQ(datePiece.find(':'), std::string::npos) << "midnight shows no time: " << datePiece;
    // The fixed pieces are 546 characters; the title, description and date add the rest.
    const std::string written = ItemPageText(f.form->RSS.Items()[0]);
    const auto& item = f.form->RSS.Items()[0];
    EXPECT_EQ(written.size() - item.Title().size() - item.Description().size() - datePiece.size(),
              546u);
    EXPECT_EQ(f.form->Form3()->Link(), "http://example.com/a");
}

TEST(ItemCard, SmallPagesGetASmallGuessBesideThePanel) {
    TSaverFixture f({"A=/a"}, "", 1920, 1080);
    f.ShowFeed("/a", Feed(Item("Short", "A few words.")));
    for (int i = 0; i < 50; ++i) {
        f.form->ShowItemCard(0);
        const QRect r = f.form->Form3()->Frame();
        EXPECT_GE(r.width(), 400);
        EXPECT_LE(r.width(), 599);
        EXPECT_GE(r.height(), 100);
        EXPECT_LE(r.height(), 149);
        EXPECT_GT(r.left(), PanelRight(*f.form) + 9);
        EXPECT_LE(r.right(), 1920 - 10);
        EXPECT_LE(r.bottom(), 1080 - 10);
    }
    // Unknown indexes show nothing new.
    const QRect before = f.form->Form3()->Frame();
    f.form->ShowItemCard(-1);
    f.form->ShowItemCard(1);
    EXPECT_EQ(f.form->Form3()->Frame(), before);
}

TEST(ItemCard, ImagesOrLongTextGetALargeGuess) {
    TSaverFixture f({"A=/a", "B=/b"}, "", 1920, 1080);
    f.server.Set("/a", Feed(Item("Picture", "&lt;IMG src=\"x.png\"&gt;")));
    f.server.Set("/b", Feed(Item("Long", std::string(460, 'x'))));
    f.Show();
    for (int feed : {0, 1}) {
        f.Load(feed);
        const QRect r = f.form->Form3()->Frame();
        EXPECT_GE(r.width(), 800) << feed;
        EXPECT_LE(r.width(), 1099) << feed;
        EXPECT_GE(r.height(), 200) << feed;
        EXPECT_LE(r.height(), 399) << feed;
    }
}

TEST(ItemCard, OnANarrowScreenTheLargeCardStretchesToTheRightMargin) {
    TSaverFixture f({"A=/a"}, "", 1024, 768);
    f.ShowFeed("/a", Feed(Item("Picture", "&lt;img src=\"x.png\"&gt;")));
    for (int i = 0; i < 20; ++i) {
        f.form->ShowItemCard(0);
        const QRect r = f.form->Form3()->Frame();
        const int pr = PanelRight(*f.form);
        EXPECT_GE(r.left(), pr + 10);
        EXPECT_LE(r.left(), pr + 29);
        EXPECT_EQ(r.left() + r.width(), 1024 - 20);
    }
}

TEST(ItemCard, FadesInToTwoTenAndFitsThePageWhenItIsLaidOut) {
    TSaverFixture f({"A=/a"}, "", 1920, 1080);
    f.ShowFeed("/a", Feed(Item("Short", "A few words.") + Item("Second", "More words.")));
    TForm3& card = *f.form->Form3();
    EXPECT_EQ(card.AlphaBlendValue(), 0);
    EXPECT_EQ(card.Timer1.Interval(), 3);
    int steps = 0;
    while (card.Timer1.Enabled() && steps < 1000) {
        card.Timer1Timer();
        ++steps;
    }
    EXPECT_EQ(card.AlphaBlendValue(), 210);
    EXPECT_FALSE(f.form->CardBeside);

    // The page-complete notification comes from the event loop and fits the card.
    ASSERT_TRUE(test::WaitUntil([&] { return f.form->LastCardHeight > 0; },
                                std::chrono::seconds(10), "the laid-out page to fit the card"));
    const int height = card.web->ScrollHeight();
    EXPECT_EQ(card.Height(), height);
    EXPECT_LT(height, 150);
    EXPECT_TRUE(f.form->CardBeside);
    EXPECT_EQ(f.form->LastCardHeight, card.Height());
    EXPECT_EQ(f.form->LastCardWidth, card.Width());

    // The next card of the feed keeps that size.
    f.form->ShowItem(1);
    EXPECT_EQ(card.Height(), f.form->LastCardHeight);
    EXPECT_EQ(card.Width(), f.form->LastCardWidth);
    // A new feed sizes its first card afresh.
    f.Load(0);
    EXPECT_FALSE(f.form->CardBeside);
}

// The card keeps a copy of what lies beneath it for its fades: a new picture must still
// show through it, and so must the panel where the card lies over it.
TEST(ItemCard, WhatChangesBeneathTheCardShowsThroughIt) {
    TSaverFixture f({"A=/a"}, "", 640, 480);
    f.ShowFeed("/a", Feed(Item("Short", "A few words.")));
    // The card is fitted to its page, and faded in, from the event loop: that must be over
    // before the test places it, however loaded the machine.
    ASSERT_TRUE(test::WaitUntil([&] { return f.form->LastCardHeight > 0; },
                                std::chrono::seconds(10), "the laid-out page to fit the card"));
    TForm3& card = *f.form->Form3();
    card.Timer1.SetEnabled(false);
    card.SetFrame(QRect(300, 200, 200, 100));
    card.SetAlphaBlendValue(100);
    TGlimrascreen& screen = *f.form->Slideshow->PictureScreen();
    screen.SetThreaded(false);
    const auto showPicture = [&screen](TColor color) {
        // The slideshow's own timer may have begun a transition meanwhile, on a thread that
        // ends through the event loop.
        screen.SetManual(false);
        screen.StopTransition();
        ASSERT_TRUE(test::WaitUntil([&] { return !screen.Running(); }, std::chrono::seconds(10),
                                    "the slideshow's own transition to end"));
        screen.SetManual(true);
        TBitmap picture(640, 480);
        picture.Canvas().Brush.Color = color;
        picture.Canvas().FillRect(picture.BoundsRect());
        screen.Picture().SetBitmap(std::move(picture));
        screen.StartTransition();
        screen.SetProgress(100);
        screen.StopTransition();
    };
    // What is on screen, not a fresh paint: Qt leaves the card alone when the picture
    // beneath it changes, unless the card is told.
    const auto cardPixel = [&f] {
        QCoreApplication::processEvents();
        return test::ShownPixel(*f.form, 490, 290);
    };
    showPicture(RGB(255, 0, 0));
    const QRgb overRed = cardPixel();
    showPicture(RGB(0, 0, 255));
    const QRgb overBlue = cardPixel();
    EXPECT_GT(qRed(overRed), 80);
    EXPECT_LT(qRed(overBlue), qRed(overRed) - 60) << "the old picture stayed under the card";
    EXPECT_GT(qBlue(overBlue), qBlue(overRed) + 60);

    TForm2& panel = *f.form->Form2();
    panel.SetFrame(QRect(400, 250, 200, 100));
    panel.SetAlphaBlendValue(255);
    panel.show();
    card.raise();
    const QRgb overPanel = cardPixel();
    EXPECT_LT(qBlue(overPanel), qBlue(overBlue) - 60) << "the panel did not show under the card";
}

TEST(ItemCard, APageThatCannotBeWrittenLeavesThePreviousOne) {
    TSaverFixture f({"A=/a"});
    f.ShowFeed("/a", Feed(Item("First", "one") + Item("Second", "two")));
    const std::string first = ReadFileBytes(ItemPagePath());
    const std::string message = test::MessageOfFailedWrite(100, [&] { f.form->ShowItem(1); });
    EXPECT_EQ(message, "");  // swallowed
    EXPECT_EQ(ReadFileBytes(ItemPagePath()), first);
    EXPECT_EQ(f.form->CurItem, 1);
    EXPECT_EQ(f.form->Form3()->Link(), "http://example.com/a");
    // The card shows the item it was asked for, not the page left on disk.
    const std::string shown = f.form->Form3()->web->Document()->toPlainText().toStdString();
    EXPECT_NE(shown.find("Second"), std::string::npos);
    EXPECT_EQ(shown.find("First"), std::string::npos);
}

// With the program folder open to everyone and no runtime folder, a page planted at the
// predictable name (a file or a link) is never shown and never touched.
TEST(ItemCard, APagePlantedAtThePredictableNameIsNeverShown) {
    TSaverFixture f({"A=/a"});
    test::TSharedFolder temp;
    const test::TEnvironmentValue tmp("TMPDIR", temp.Path().c_str());
    const test::TEnvironmentValue runtime("XDG_RUNTIME_DIR", nullptr);
    const std::string name = "tmp-" + std::to_string(QCoreApplication::applicationPid()) + ".htm";
    ASSERT_EQ(::chmod(f.dir.Path().c_str(), 01777), 0);
    const std::string planted = "<html><body>Planted</body></html>";
    test::TSharedFolder::PlantIn(f.dir.Path(), name, planted);
    temp.Plant("target.htm", planted);
    ASSERT_EQ(::symlink(temp.File("target.htm").c_str(), temp.File(name).c_str()), 0);
    f.ShowFeed("/a", Feed(Item("First", "one")));
    const std::string shown = f.form->Form3()->web->Document()->toPlainText().toStdString();
    EXPECT_NE(shown.find("First"), std::string::npos);
    EXPECT_EQ(shown.find("Planted"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(f.dir.File(name)), planted);
    EXPECT_EQ(ReadFileBytes(temp.File("target.htm")), planted);
    const std::string page = ItemPagePath();
    const std::string folder = page.substr(0, page.rfind('/'));
    EXPECT_EQ(folder.substr(0, temp.Path().size()), temp.Path());
    f.form->QuitSaver();
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_EQ(ReadFileBytes(f.dir.File(name)), planted);
    ::chmod(f.dir.Path().c_str(), 0700);
}

// The card's page as the card view lays it out and draws it, 400 pixels wide.
struct TCardPage {
    explicit TCardPage(const std::string& description, TDateTime date = 45000.5) {
        TRSSItem item;
        item.SetTitle("Title");
        item.SetDescription(description);
        item.PubDate().SetDateTime(date);
        html = ItemPageText(item);
        view.resize(400, 300);
        view.ShowPage(html);
        image = view.grab().toImage();
    }
    // The text of the block that holds text.
    std::string BlockWith(const std::string& text) const {
        for (QTextBlock b = view.Document()->begin(); b.isValid(); b = b.next())
            if (b.text().toStdString().find(text) != std::string::npos)
                return b.text().toStdString();
        return "";
    }
    int Count(const std::function<bool(QColor)>& test) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test(image.pixelColor(x, y));
        return n;
    }
    std::string html;
    TPageView view;
    QImage image;
};

TEST(ItemCard, ADateThatCouldNotBeReadIsLeftOut) {
    const std::string tail =
        "color=\"#7C7C7C\">Press Enter to read...</font></i></span></p></td></tr></table></body>"
        "</html>";
    const std::string page = TCardPage("d", 0).html;
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    EXPECT_NE(TCardPage("d").html.find(", Press Enter to read..."), std::string::npos);
}

// Bare inline markup flows in one paragraph, as in a browser, while the page bytes stay as
// written.
TEST(ItemCard, AnInlineDescriptionIsOneParagraph) {
    const TCardPage card("Desc one <i>it</i> second line");
    EXPECT_EQ(card.BlockWith("Desc one"), "Desc one it second line");
    EXPECT_NE(card.html.find("</h3><font color=\"#FFFFFF\">Desc one <i>it</i> second line</font>"),
              std::string::npos);
    EXPECT_EQ(card.html.find("<div>"), std::string::npos);
}

// Links and list bullets are light on the dark card.
TEST(ItemCard, LinksAndBulletsCanBeReadOnTheDarkCard) {
    const auto darkBlue = [](QColor c) { return c.blue() > 150 && c.red() < 60 && c.green() < 60; };
    const auto lightBlue = [](QColor c) {
        return c.blue() > 200 && c.red() > 100 && c.red() < 180;
    };
    const TCardPage link("See <a href=\"http://example.com/\">the whole story here</a>");
    EXPECT_EQ(link.Count(darkBlue), 0);
    EXPECT_GT(link.Count(lightBlue), 20);
    // Empty list items leave only the bullets bright below the heading.
    const TCardPage list("<ul><li>&nbsp;</li><li>&nbsp;</li></ul>");
    const QImage& img = list.image;
    int brightBelowHeading = 0;
    for (int y = 60; y < img.height(); ++y)
        for (int x = 10; x < 80; ++x)
            brightBelowHeading += img.pixelColor(x, y).lightness() > 200;
    EXPECT_GT(brightBelowHeading, 4);
}

// With no page on disk to show, the card shows the item's page from memory, never a blank box.
TEST(ItemCard, AnUnwritablePageWithNoneBeforeStillShowsTheItem) {
    TSaverFixture f({"A=/a"});
    f.server.Set("/a", Feed(Item("First", "one")));
    f.Show();
    EXPECT_EQ(test::MessageOfFailedWrite(100, [&] { f.Load(0); }), "");
    EXPECT_FALSE(FileExists(ItemPagePath()));
    ASSERT_NE(f.form->Form3(), nullptr);
    TPageView& web = *f.form->Form3()->web;
    ASSERT_NE(web.Document(), nullptr);
    EXPECT_NE(web.Document()->toPlainText().toStdString().find("First"), std::string::npos);
    const QImage shown = web.grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(0x1B, 0x1B, 0x1B));
}

}  // namespace
}  // namespace pelwick

namespace pelwick {
namespace {

// A host's preview window is small: the wall still runs there, its panel and card inside.
TEST(ItemCard, SmallHostWindowsKeepThePanelAndCardInside) {
    for (const auto& [w, h] : {std::pair{200, 150}, std::pair{320, 200}, std::pair{120, 90}}) {
        test::TSaverFixture f({"A=/a"}, "BlogInterval=1\n", w, h);
        f.server.Set("/a", test::RssFeed("A feed with a long title for a small window", "d", 4));
        f.Show();
        f.Tick(12);
        ASSERT_NE(f.form->Form2(), nullptr);
        const QRect window = f.form->rect();
        EXPECT_TRUE(window.contains(f.form->Form2()->Frame())) << w;
        if (f.form->Form3() && f.form->Form3()->isVisible()) {
            EXPECT_TRUE(window.contains(f.form->Form3()->Frame())) << w;
        }
    }
}

// The first-run hint and the picture notice: a panel as large as their lines with even
// padding, white ink on the hint's grey, none of it cut at the edges; headlines afterwards
// get the panel's own look and size back.
TEST(HeadlinePanel, TheHintIsSizedToItsTextAndReadable) {
    test::TSaverFixture f;
    f.Show();
    f.Tick();
    TForm2& panel = *f.form->Form2();
    ASSERT_TRUE(panel.Hint());
    const QSize headline(355, TForm2::InitialHeight);  // a 1280-pixel screen's panel
    EXPECT_LT(panel.Width(), headline.width());
    EXPECT_LT(panel.Height(), 100);
    QImage shown(panel.Stage()->size(), QImage::Format_RGB32);
    panel.Stage()->render(&shown);
    const QColor grey(GetRValue(TForm2::HintColor), GetGValue(TForm2::HintColor),
                      GetBValue(TForm2::HintColor));
    int brightest = 0, inkLeft = shown.width(), inkRight = 0, inkTop = shown.height(),
        inkBottom = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const int g = qGray(shown.pixel(x, y));
            brightest = std::max(brightest, g);
            if (g < 150) continue;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x);
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
        }
    EXPECT_EQ(shown.pixelColor(1, 1), grey);
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() - 2), grey);
    EXPECT_GE(brightest, 250);
    const int pad = TForm2::HintPadding;
    EXPECT_GE(inkLeft, pad - 1);
    EXPECT_LE(inkLeft, pad + 3);
    EXPECT_LT(inkRight, shown.width() - pad + 2);
    EXPECT_GE(inkRight, shown.width() - pad - 6);
    EXPECT_GE(inkTop, pad - 1);
    EXPECT_LT(inkBottom, shown.height() - pad + 2);

    panel.SetLines({"<Title1>T", "<text1>Item 1"});
    EXPECT_FALSE(panel.Hint());
    EXPECT_EQ(panel.size(), headline);
    panel.Stage()->render(&shown);
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::black));
}

// A host resizes its window while the wall runs: the panel moves back inside the new size
// (within ShowPanel's margins, cut to the window's height when it is lower), and stays
// where it was while it still fits. Its width is the screen's business, not this test's.
TEST(HeadlinePanel, AfterTheHostResizesTheWindowThePanelIsInsideAgain) {
    test::TSaverFixture f({"A=/a"}, "", 1280, 1024);
    f.ShowFeed("/a", test::RssFeed("T", "d", 3));
    TForm2& panel = *f.form->Form2();
    panel.MoveTo(40, 1024 - panel.Height() - 6);  // as low as ShowPanel places it
    for (const auto& [w, h] : {std::pair{900, 500}, std::pair{400, 300}, std::pair{380, 120}}) {
        f.form->resize(w, h);
        const QRect r = panel.Frame();
        EXPECT_TRUE(QRect(0, 0, w, h).contains(r)) << w << " x " << h;
        EXPECT_GE(r.top(), 5) << w;
        EXPECT_LE(r.bottom() + 1, h - 5) << w;
    }
    const QPoint kept = panel.pos();
    f.form->resize(1280, 1024);
    EXPECT_EQ(panel.pos(), kept);
}

}  // namespace
}  // namespace pelwick
