#include "SaverFixture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "app/Settings.h"
#include "gfx/BmpEncoder.h"
#include "saver/Screen.h"

namespace pelwick::test {

std::string RssFeed(const std::string& title, const std::string& description, int items,
                    const std::string& prefix) {
    std::string doc = "<rss version=\"2.0\"><channel><title>" + title + "</title>" +
                      "<link>http://example.com/</link><description>" + description +
                      "</description>";
    for (int i = 1; i <= items; ++i)
        doc += "<item><title>" + prefix + " " + std::to_string(i) +
               "</title><link>http://example.com/" + std::to_string(i) +
               "</link><description>Text " + std::to_string(i) + "</description></item>";
    return doc + "</channel></rss>";
}

TFeedServer::TFeedServer()
    : server_([this](TConnection& c, TLoopbackServer& server) {
          for (std::string r; !(r = c.ReadRequest()).empty();) {
              server.Record(r);
              if (AnswerSlowly(c, RequestPath(r))) return;
              std::string body;
              bool found = false;
              {
                  std::lock_guard lock(mutex_);
                  auto it = bodies_.find(RequestPath(r));
                  if (it != bodies_.end()) {
                      found = true;
                      body = it->second;
                  }
              }
              c.Send(found ? TLoopbackServer::Response("200 OK", "", body)
                           : TLoopbackServer::Response("404 Not Found", "", ""));
          }
      }) {}

void TFeedServer::Set(const std::string& path, const std::string& body) {
    std::lock_guard lock(mutex_);
    bodies_[path] = body;
}

void TFeedServer::Trickle(const std::string& path, const std::string& body) {
    std::lock_guard lock(mutex_);
    slow_[path] = {paTrickle, body};
}

void TFeedServer::Silence(const std::string& path) {
    std::lock_guard lock(mutex_);
    slow_[path] = {paSilent, ""};
}

bool TFeedServer::AnswerSlowly(TConnection& c, const std::string& path) {
    std::pair<TPace, std::string> slow;
    {
        std::lock_guard lock(mutex_);
        const auto it = slow_.find(path);
        if (it == slow_.end()) return false;
        slow = it->second;
    }
    if (slow.first == paTrickle) {
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(slow.second.size()) +
               "\r\n\r\n");
        c.SendSlowly(slow.second, 1, 2000);
    } else {
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<rss");
        c.Stall();
    }
    return true;
}

int TFeedServer::Requests(const std::string& path) const {
    int n = 0;
    for (const std::string& r : server_.Requests())
        if (RequestPath(r) == path) ++n;
    return n;
}

TSaverFixture::TSaverFixture(const std::vector<std::string>& feeds, const std::string& settings,
                             int screenWidth, int screenHeight) {
    SetScreenSize(screenWidth, screenHeight);
    RandSeed(7);
    std::string ini = "[feeds]\n";
    for (const std::string& feed : feeds) {
        const auto eq = feed.find('=');
        ini += feed.substr(0, eq + 1) + server.Url(feed.substr(eq + 1)) + "\n";
    }
    // The cycle asks the server at every pass unless a test is about the stored copies.
    const std::string refresh =
        settings.find("FeedRefresh") == std::string::npos ? "FeedRefresh=0\n" : "";
    dir.Write("Pelwick.ini", ini + "[set]\n" + refresh + settings);
    // A black picture tiled over the wall looks like none, and keeps the panel free of the
    // notice that the picture folder is empty.
    dir.Write("black.bmp", EncodeBmp(TBitmap(8, 8)));
    oldHalt_ = SetHaltHandler([this](int code) { halts.push_back(code); });
    oldSleep_ = SetSleepHandler([this](int ms) { sleeps.push_back(ms); });
    oldOpener_ = SetUrlOpener([this](const std::string& url) {
        opened.push_back(url);
        return !openerFails;
    });
    oldErrors_ = SetApplicationExceptionHandler([this](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            errors.push_back(x.what());
        }
    });
    form = std::make_unique<TForm1>();
}

TSaverFixture::~TSaverFixture() {
    form.reset();
    SetApplicationExceptionHandler(std::move(oldErrors_));
    SetUrlOpener(std::move(oldOpener_));
    SetSleepHandler(std::move(oldSleep_));
    SetHaltHandler(std::move(oldHalt_));
    SetScreenSize(0, 0);
}

void TSaverFixture::Show() {
    form->show();
    form->Timer1.SetEnabled(false);
    // Randomize in the first show seeded the generator from the clock; tests want repeatable
    // places.
    RandSeed(7);
}

void TSaverFixture::ShowFeed(const std::string& path, const std::string& body) {
    server.Set(path, body);
    Show();
    Load(0);
}

void TSaverFixture::Load(int a) {
    form->LoadFeed(a);
    Settle();
}

void TSaverFixture::Settle() {
    EXPECT_TRUE(WaitUntil([this] { return !form->Loading && form->FeedAhead.Idle(); },
                          std::chrono::seconds(30), "the feed worker to hand over",
                          std::chrono::milliseconds(1)));
}

void TSaverFixture::Key(int qtKey, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QCoreApplication::sendEvent(form->windowHandle(), &press);
    Settle();
}

void TSaverFixture::MouseMove(int x, int y) {
    const QPointF at(x, y);
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &move);
}

void TSaverFixture::MouseDown(Qt::MouseButton button) {
    const QPointF at(10, 10);
    QMouseEvent down(QEvent::MouseButtonPress, at, at, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &down);
}

void TSaverFixture::Tick(int n) {
    for (int i = 0; i < n; ++i) {
        form->Timer1Timer();
        Settle();
    }
}

}  // namespace pelwick::test
