#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

#include "aatext/AAFadeText.h"
#include "app/Files.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/Strings.h"
#include "feeds/FeedStore.h"
#include "options/ConfigForm.h"
#include "options/Opml.h"
#include "slideshow/Effects.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// Save, Cancel and the caption's close button each end the program; a failed Save does not.
TEST(ConfigForm, SaveCancelAndCloseEndTheProgram) {
    const struct {
        const char* how;
        bool written;
    } rows[] = {{"save", true}, {"cancel", false}, {"close", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        test::TProgramFolder dir;
        TConfigForm form;
        int ended = 0;
        form.OnClose = [&] { ++ended; };
        EXPECT_EQ(form.windowTitle(), "Options");
        form.show();
        ASSERT_TRUE(SettingsFile);
        form.Spin2()->setValue(40);
        SaverOptions.ImageInterval = 40;
        if (row.how == std::string("save"))
            QTest::mouseClick(form.SaveButton(), Qt::LeftButton);
        else if (row.how == std::string("cancel"))
            QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
        else
            form.close();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(FileExists(dir.File("Pelwick.ini")), row.written);
        if (row.written) {
            EXPECT_EQ(TSettingsFile(dir.File("Pelwick.ini")).ReadInteger("set", "ImageInterval", 0),
                      40);
        }
    }
}

TEST(ConfigForm, FailedSaveIsShownAndTheDialogStays) {
    test::TProgramFolder dir;
    TConfigForm form;
    std::vector<std::string> errors;
    int ended = 0;
    form.ShowError = [&](const std::string& m) { errors.push_back(m); };
    form.OnClose = [&] { ++ended; };
    form.show();
    dir.MakeFolder("Pelwick.ini");  // a folder where the file should go
    QTest::mouseClick(form.SaveButton(), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Pelwick.ini"), std::string::npos) << errors[0];
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ended, 0);
}

using test::TConnection;
using test::TLoopbackServer;

std::string Rss(const std::string& title, int items) {
    std::string doc = "<rss version=\"2.0\"><channel><title>" + title +
                      "</title><link>http://l/</link><description>d</description>";
    for (int i = 0; i < items; ++i)
        doc += "<item><title>Item</title><description>x</description></item>";
    return doc + "</channel></rss>";
}

// A feed server: /a and /b hold "News", /untitled has no title, /empty holds no item.
TLoopbackServer FeedServer() {
    return TLoopbackServer([](TConnection& c, TLoopbackServer&) {
        for (std::string r; !(r = c.ReadRequest()).empty();) {
            const std::string path = test::RequestPath(r);
            std::string body;
            if (path == "/a" || path == "/b")
                body = Rss("News", 2);
            else if (path == "/untitled")
                body = Rss("", 1);
            else if (path == "/empty")
                body = Rss("Empty", 0);
            else if (path == "/site/")
                body =
                    "<!DOCTYPE html><html><head><title>Site</title>"
                    "<link rel=\"stylesheet\" href=\"s.css\">"
                    "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"../b\">"
                    "</head><body><p>Welcome</body></html>";
            else if (path == "/page")
                body = "<html><body><p>No feed here & nothing else</p></body></html>";
            c.Send(body.empty() ? TLoopbackServer::Response("404 Not Found", "", "")
                                : TLoopbackServer::Response("200 OK", "", body));
        }
    });
}

struct TFormFixture {
    test::TProgramFolder dir;
    TConfigForm form;
    std::vector<std::string> messages;
    std::string clipboard;

    explicit TFormFixture(const std::string& ini = "") {
        if (!ini.empty()) dir.Write("Pelwick.ini", ini);
        form.ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        form.ShowError = [this](const std::string& m) { messages.push_back("error: " + m); };
        form.ClipboardText = [this] { return clipboard; };
        form.TimeText = [] { return std::string("10:20:30"); };
        form.ChooseFolder = [](const std::string&) { return std::string(); };
    }
    void Add(const std::string& address) {
        form.Edit1()->setText(QString::fromStdString(address));
        form.button1Click();
    }
};

TEST(ConfigForm, ShowFillsTheListAndFieldsFromTheSettings) {
    TFormFixture f(
        "[set]\r\nBlogInterval=33\r\nRandomFeed=1\r\n[feeds]\r\nOne=http://one/\r\n"
        "Two=http://two/\r\n[usefeed]\r\nTwo=0\r\n");
    f.clipboard = "no address here";
    f.form.show();
    EXPECT_EQ(f.form.Entries(),
              (std::vector<std::string>{"One [http://one/]", "Two [http://two/]"}));
    EXPECT_TRUE(f.form.IsTicked(0));
    EXPECT_FALSE(f.form.IsTicked(1));
    EXPECT_EQ(f.form.Spin1()->value(), 33);
    EXPECT_TRUE(f.form.RandomCheck()->isChecked());
    EXPECT_EQ(f.form.Edit1()->text(), "http://www.");
    EXPECT_EQ(f.form.height(), TConfigForm::SeparatorTop - 1);
}

TEST(ConfigForm, ClipboardAddressPrefillsTheField) {
    TFormFixture f;
    f.clipboard = "https://example.org/feed";
    f.form.show();
    EXPECT_EQ(f.form.Edit1()->text(), "https://example.org/feed");
}

TEST(ConfigForm, ToggleTwiceReturnsToTheCollapsedHeight) {
    TFormFixture f;
    f.form.show();
    const int collapsed = f.form.height();
    f.form.FlatSpeedButton2Click();
    EXPECT_GT(f.form.height(), collapsed);
    EXPECT_TRUE(f.form.Spin1()->isVisible());
    f.form.FlatSpeedButton2Click();
    EXPECT_EQ(f.form.height(), collapsed);
    EXPECT_FALSE(f.form.Spin1()->isVisible());
}

TEST(ConfigForm, AddVerifiesTheFeedAndNamesItUniquely) {
    TLoopbackServer server = FeedServer();
    TFormFixture f;
    f.form.show();
    f.Add(server.Url("/a"));
    f.Add(server.Url("/b"));
    f.Add(server.Url("/untitled"));
    EXPECT_TRUE(f.messages.empty());
    EXPECT_EQ(f.form.Entries(),
              (std::vector<std::string>{"notitle (10:20:30) [" + server.Url("/untitled") + "]",
                                        "News (10:20:30) [" + server.Url("/b") + "]",
                                        "News [" + server.Url("/a") + "]"}));
    EXPECT_TRUE(f.form.IsTicked(0));
    EXPECT_EQ(f.form.FeedList()->currentRow(), 0);
    EXPECT_EQ(f.form.windowTitle(), "Options");
    EXPECT_TRUE(f.form.AddButton()->isEnabled());

    f.Add(server.Url("/a"));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0], "RSS feed exists.");
    // The duplicate test is case-sensitive: another spelling is downloaded (and fails here).
    f.Add(server.Url("/A"));
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[1], "Unabled to add RSS:\r\n\r\nHTTP/1.1 404 Not Found");
    EXPECT_EQ(f.form.Entries().size(), 3u);
}

// An added feed's answer is kept for the wall; Save drops the copies of feeds no longer
// listed and saves the refresh interval, whose line the options area grew by.
TEST(ConfigForm, AddStoresTheAnswerAndSaveKeepsOnlyListedFeeds) {
    TLoopbackServer server = FeedServer();
    TFormFixture f("[set]\r\nFeedRefresh=45\r\n[feeds]\r\nOld=http://old/\r\n");
    TFeedStore store(TFeedStore::DefaultFolder());
    TFeedStore::TEntry copy;
    copy.Body = Rss("Copy", 1);
    copy.FetchedAt = store.Now();
    for (const char* address : {"http://old/", "http://removed/"}) {
        copy.Address = address;
        store.Write(copy);
    }
    f.form.show();
    EXPECT_EQ(f.form.RefreshSpin()->value(), 45);
    f.Add(server.Url("/a"));
    ASSERT_EQ(f.form.Entries().size(), 2u);
    ASSERT_TRUE(store.Read(server.Url("/a")));
    EXPECT_EQ(store.Read(server.Url("/a"))->Body, Rss("News", 2));

    f.form.RefreshSpin()->setValue(0);
    f.form.SaveClick();
    EXPECT_EQ(TSettingsFile(f.dir.File("Pelwick.ini")).ReadInteger("set", "FeedRefresh", -1), 0);
    EXPECT_TRUE(store.Read("http://old/"));
    EXPECT_TRUE(store.Read(server.Url("/a")));
    EXPECT_FALSE(store.Read("http://removed/"));

    const QWidget* area = f.form.RefreshSpin()->parentWidget();
    const int line = f.form.RefreshSpin()->geometry().top();
    for (const QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(area->rect().contains(w->geometry())) << w->metaObject()->className();
        if (w->geometry().top() != line) {
            EXPECT_LT(w->geometry().bottom(), line) << w->metaObject()->className();
        }
    }
}

TEST(ConfigForm, AddRefusesEmptyAndUnreachableFeeds) {
    TLoopbackServer server = FeedServer();
    TFormFixture f;
    f.form.show();
    f.Add(server.Url("/empty"));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0], "Unabled to add RSS:\r\n\r\nthe RSS contains no articles.");
    f.Add("http://127.0.0.1:1/feed");
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[1].rfind("Unabled to add RSS:\r\n\r\n", 0), 0u) << f.messages[1];
    EXPECT_GT(f.messages[1].size(), std::string("Unabled to add RSS:\r\n\r\n").size());
    EXPECT_TRUE(f.form.Entries().empty());
}

// A site's address leads to the feed its page announces; a page without one says so; Enter
// in the address presses Add.
TEST(ConfigForm, AddFollowsAPagesFeedLinkAndEnterPressesAdd) {
    TLoopbackServer server = FeedServer();
    TFormFixture f;
    f.form.show();
    f.form.Edit1()->setText(QString::fromStdString(server.Url("/site/")));
    QTest::keyClick(f.form.Edit1(), Qt::Key_Return);
    EXPECT_TRUE(f.messages.empty());
    EXPECT_EQ(f.form.Entries(), (std::vector<std::string>{"News [" + server.Url("/b") + "]"}));
    f.Add(server.Url("/site/"));  // its feed is listed already
    f.Add(server.Url("/page"));
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[0], "RSS feed exists.");
    EXPECT_EQ(f.messages[1], "Unabled to add RSS:\r\n\r\nThis address is a web page, not a feed.");
    EXPECT_EQ(f.form.Entries().size(), 1u);
}

// A feed of 100,000 bytes sent a byte at a time: an Add that is still downloading.
TLoopbackServer SlowServer() {
    return TLoopbackServer([](TConnection& c, TLoopbackServer&) {
        if (c.ReadRequest().empty()) return;
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n<rss>");
        c.SendSlowly(std::string(100000, ' '), 1, 20);
    });
}

// Cancel in the middle of an Add's download ends the dialog at once; the interrupted
// download reports nothing.
TEST(ConfigForm, CancelDuringAddEndsWithoutAMessage) {
    TLoopbackServer server = SlowServer();
    TFormFixture f;
    int ended = 0;
    f.form.OnClose = [&] { ++ended; };
    f.form.show();
    QTimer::singleShot(150, &f.form, [&] { f.form.CancelClick(); });
    QElapsedTimer clock;
    clock.start();
    f.Add(server.Url("/slow"));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(f.messages.empty()) << f.messages.front();
    EXPECT_TRUE(f.form.Entries().empty());
    EXPECT_FALSE(f.form.isVisible());
}

// While Add downloads, the address's line says how it goes and Add is Stop; Stop ends the
// download at once, adds nothing and says nothing.
TEST(ConfigForm, StopEndsAnAddSilently) {
    TLoopbackServer server = SlowServer();
    TFormFixture f;
    f.form.show();
    std::string seen, button;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const std::string text = f.form.StatusLine()->text().toStdString();
        if (text.rfind("Progress: ", 0) != 0 || !seen.empty()) return;
        seen = text;
        button = f.form.AddButton()->text().toStdString();
        QTest::mouseClick(f.form.AddButton(), Qt::LeftButton);
    });
    watch.start(5);
    QElapsedTimer clock;
    clock.start();
    f.Add(server.Url("/slow"));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_THAT(seen, ::testing::MatchesRegex("Progress: [0-9]+ of 100000"));
    EXPECT_EQ(button, "Stop");
    EXPECT_TRUE(f.messages.empty()) << f.messages.front();
    EXPECT_TRUE(f.form.Entries().empty());
    EXPECT_FALSE(f.form.Adding());
    EXPECT_EQ(f.form.AddButton()->text(), "Add");
    EXPECT_EQ(f.form.StatusLine()->text(), "Type the URL of the RSS you want to add:");
    EXPECT_EQ(f.form.windowTitle(), "Options");
    EXPECT_TRUE(f.form.isVisible());
}

TEST(ConfigForm, MoveAndRemoveKeepTheSelectionAndTicks) {
    TFormFixture f("[feeds]\r\nA=http://a/\r\nB=http://b/\r\nC=http://c/\r\n[usefeed]\r\nA=0\r\n");
    f.form.show();
    QListWidget* list = f.form.FeedList();
    list->setCurrentRow(0);
    f.form.up5Click();
    EXPECT_EQ(FeedEntryName(f.form.Entries()[0]), "A");
    f.form.down5Click();
    EXPECT_EQ(FeedEntryName(f.form.Entries()[1]), "A");
    EXPECT_FALSE(f.form.IsTicked(1));
    EXPECT_EQ(list->currentRow(), 1);
    list->setCurrentRow(2);
    f.form.down5Click();
    EXPECT_EQ(FeedEntryName(f.form.Entries()[2]), "C");
    f.form.feedlistClick();
    EXPECT_EQ(f.form.Edit1()->text(), "http://c/");
    f.form.FlatSpeedButton1Click();
    EXPECT_EQ(list->currentRow(), 1);
    f.form.FlatSpeedButton1Click();
    f.form.FlatSpeedButton1Click();
    EXPECT_TRUE(f.form.Entries().empty());
    EXPECT_EQ(list->currentRow(), -1);
}

TEST(ConfigForm, SaveWritesTheListInOrderWithTicksAndTheFolder) {
    TFormFixture f("[feeds]\r\nA=http://a/?x=1\r\nB=http://b/\r\n[usefeed]\r\nB=0\r\n");
    f.dir.MakeFolder("pics");
    const std::string pics = f.dir.File("pics");
    f.form.ChooseFolder = [&](const std::string&) { return pics; };
    f.form.show();
    f.form.FlatButton2Click();
    EXPECT_EQ(f.form.Edit2()->text().toStdString(), pics);
    f.form.Spin2()->setValue(99);
    f.form.FeedList()->setCurrentRow(1);
    f.form.up5Click();
    f.form.SaveClick();
    EXPECT_FALSE(f.form.isVisible());
    const TSettingsFile saved(f.dir.File("Pelwick.ini"));
    EXPECT_EQ(saved.ReadSection("feeds"), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(saved.ReadString("feeds", "A", ""), "http://a/?x=1");
    EXPECT_EQ(saved.ReadInteger("usefeed", "B", -1), 0);
    EXPECT_EQ(saved.ReadInteger("usefeed", "A", -1), 1);
    EXPECT_EQ(saved.ReadString("set", "ImagePath", ""), pics + "/");
    EXPECT_EQ(saved.ReadInteger("set", "ImageInterval", 0), 99);
}

// The drop-down shows the setting and saves the choice; every style can be picked. It sits
// beside the intervals without covering another control.
TEST(ConfigForm, TheTransitionChoiceReadsAndSavesTheSetting) {
    {
        TFormFixture plain;
        plain.form.show();
        EXPECT_EQ(plain.form.TransitionBox()->currentText(), "Cross-fade");
    }
    TFormFixture f("[set]\r\nTransitionStyle=60\r\n");
    f.form.show();
    QComboBox* box = f.form.TransitionBox();
    EXPECT_EQ(box->currentText(), "60 Bars in from right");
    ASSERT_EQ(box->count(), 2 + TEffectTable::Last);
    EXPECT_EQ(box->itemText(0), "Cross-fade");
    EXPECT_EQ(box->itemText(1), "Random");
    EXPECT_EQ(box->itemText(2), "1 Expand from right");
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style) {
        const auto* model = qobject_cast<const QStandardItemModel*>(box->model());
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(model->item(style + 1)->isEnabled()) << style;
    }
    box->setCurrentIndex(1);
    f.form.SaveClick();
    EXPECT_EQ(TSettingsFile(f.dir.File("Pelwick.ini")).ReadInteger("set", "TransitionStyle", -1),
              0);

    const QWidget* area = box->parentWidget();
    const QLabel* label = nullptr;
    for (const QLabel* l : area->findChildren<QLabel*>())
        if (l->text() == "Transition:") label = l;
    ASSERT_NE(label, nullptr);
    for (const QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == box || w == label) continue;
        EXPECT_FALSE(w->geometry().intersects(box->geometry())) << w->metaObject()->className();
        EXPECT_FALSE(w->geometry().intersects(label->geometry())) << w->metaObject()->className();
    }
    EXPECT_TRUE(area->rect().contains(box->geometry()));

    // Opened, the list scrolls through the styles about 20 rows at a time.
    f.form.FlatSpeedButton2Click();
    box->showPopup();
    const QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    const int row = view->sizeHintForRow(0);
    EXPECT_LE(view->height(), 21 * row + 8) << "rows of " << row;
    EXPECT_GE(view->height(), 15 * row);
    box->hidePopup();
}

// The check box sits on the folder label's line; no control of the area moved to make room.
TEST(ConfigForm, IncludeSubfoldersReadsAndSavesTheSetting) {
    for (const bool stored : {false, true}) {
        TFormFixture f(std::string("[set]\r\nImageSubfolders=") + (stored ? "1" : "0") + "\r\n");
        f.form.show();
        QCheckBox* check = f.form.SubfoldersCheck();
        EXPECT_EQ(check->text(), "Include subfolders");
        EXPECT_EQ(check->isChecked(), stored);
        check->setChecked(!stored);
        f.form.SaveClick();
        EXPECT_EQ(
            TSettingsFile(f.dir.File("Pelwick.ini")).ReadBool("set", "ImageSubfolders", stored),
            !stored);
        const QWidget* area = check->parentWidget();
        EXPECT_TRUE(area->rect().contains(check->geometry()));
        for (const QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w == check) continue;
            EXPECT_FALSE(w->geometry().intersects(check->geometry()))
                << w->metaObject()->className();
        }
    }
}

TEST(ConfigForm, MissingFolderIsNotStored) {
    TFormFixture f;
    f.form.show();
    const std::string before = SaverOptions.ImagePath;
    f.form.Edit2()->setText(QString::fromStdString(f.dir.File("nowhere")));
    f.form.SaveClick();
    EXPECT_EQ(SaverOptions.ImagePath, before);
}

TEST(ConfigForm, OpmlExportThenImportAddsEveryFeed) {
    TFormFixture f("[feeds]\r\nA & B=http://a/?x=1&y=2\r\nC=http://c/\r\n");
    const std::string out = f.dir.File("list");
    std::vector<std::string> starts;
    f.form.ChooseOpmlToSave = [&](const std::string& start) {
        starts.push_back(start);
        return out;
    };
    f.form.ChooseOpmlToOpen = [&](const std::string& start) {
        starts.push_back(start);
        return out + ".opml";
    };
    f.form.show();
    f.form.FlatSpeedButton4Click();
    EXPECT_TRUE(FileExists(out + ".opml"));
    f.form.FlatSpeedButton5Click();
    EXPECT_TRUE(f.form.Entries().empty());
    f.form.FlatSpeedButton3Click();
    EXPECT_EQ(f.form.Entries(),
              (std::vector<std::string>{"A & B [http://a/?x=1&y=2]", "C [http://c/]"}));
    // The dialogs open at home, then where the last file was.
    EXPECT_EQ(starts, (std::vector<std::string>{QDir::homePath().toStdString(), f.dir.Path()}));
    // Again: every address is listed already. A file of something else is named as such.
    f.form.FlatSpeedButton3Click();
    EXPECT_EQ(f.form.Entries().size(), 2u);
    f.dir.Write("feed.xml", "<?xml version=\"1.0\"?><rss version=\"2.0\"/>");
    f.form.ChooseOpmlToOpen = [&](const std::string&) { return f.dir.File("feed.xml"); };
    f.form.FlatSpeedButton3Click();
    EXPECT_EQ(f.messages,
              (std::vector<std::string>{"Add feeds: 2", "Add feeds: 0 (2 already in the list)",
                                        f.dir.File("feed.xml") + " is not an OPML file."}));
    EXPECT_EQ(f.form.Entries().size(), 2u);
    f.form.ChooseOpmlToOpen = [](const std::string&) { return std::string(); };
    f.form.FlatSpeedButton3Click();
    EXPECT_EQ(f.messages.size(), 3u);
}

// Names that collide ignoring letter case would share one settings key; every feed must
// survive the Save.
TEST(ConfigForm, ImportedNamesThatCollideAllSurviveTheSave) {
    TFormFixture f;
    f.dir.Write("list.opml",
                "<opml version=\"1.0\"><body><outline text=\"News\" xmlUrl=\"http://1/\"/>"
                "<outline text=\"News\" xmlUrl=\"http://2/\"/><outline text=\"News\" "
                "xmlUrl=\"http://3/\"/><outline text=\"Daily News\" xmlUrl=\"http://4/\"/>"
                "<outline text=\"daily news\" xmlUrl=\"http://5/\"/></body></opml>");
    f.form.ChooseOpmlToOpen = [&](const std::string&) { return f.dir.File("list.opml"); };
    f.form.show();
    f.form.FlatSpeedButton3Click();
    f.form.SaveClick();
    const TSettingsFile saved(f.dir.File("Pelwick.ini"));
    const std::vector<std::string> names = saved.ReadSection("feeds");
    ASSERT_EQ(names.size(), 5u);
    std::vector<std::string> addresses;
    for (const std::string& name : names) {
        addresses.push_back(saved.ReadString("feeds", name, ""));
        for (const std::string& other : names)
            if (&other != &name) {
                EXPECT_FALSE(SameText(name, other)) << name << " / " << other;
            }
    }
    EXPECT_EQ(addresses, (std::vector<std::string>{"http://1/", "http://2/", "http://3/",
                                                   "http://4/", "http://5/"}));
}

TEST(ConfigForm, TitleStripCyclesItsThreeLines) {
    TFormFixture f;
    f.form.show();
    TAAFadeText* title = f.form.AAFadeText1();
    ASSERT_EQ(title->Text().Lines().Count(), 3);
    EXPECT_EQ(title->Text().Lines()[0], "<Text0>Glimra VER Irirureridi");
    EXPECT_EQ(title->Text().LineDelay(), 5000u);
    EXPECT_EQ(title->Text().FadeDelay(), 800u);
    EXPECT_EQ(title->Fonts().Count(), 3);
    EXPECT_TRUE(title->Text().Transparent());
    EXPECT_EQ(f.form.width(), TConfigForm::ClientWidth);
    if (const char* grab = std::getenv("PELWICK_GRAB_FORM")) {
        for (int i = 0; i < 40; ++i)
            title->FadeTimerTick();
        f.form.grab().save(QString(grab) + "-collapsed.png");
        f.form.FlatSpeedButton2Click();
        f.form.grab().save(QString(grab) + "-expanded.png");
    }
}

}  // namespace
}  // namespace pelwick
