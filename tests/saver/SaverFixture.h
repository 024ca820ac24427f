#pragma once

#include <QEvent>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/ExceptionHandler.h"
#include "app/Process.h"
#include "saver/Browser.h"
#include "saver/SaverWindow.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace pelwick::test {

// An RSS feed with a channel title and description and items titled "<prefix> 1", ...
std::string RssFeed(const std::string& title, const std::string& description, int items,
                    const std::string& prefix = "Item");

// Feeds served on loopback by path; a path without a body answers 404. Bodies may change
// while the server runs.
class TFeedServer {
  public:
    TFeedServer();
    void Set(const std::string& path, const std::string& body);
    std::string Url(const std::string& path) const { return server_.Url(path); }
    // How many requests asked for path.
    int Requests(const std::string& path) const;
    // path answers with body's headers and then one byte of it every two seconds.
    void Trickle(const std::string& path, const std::string& body);
    // path answers with its headers and the start of a body, then nothing: the connection
    // stays open until the client goes.
    void Silence(const std::string& path);

  private:
    enum TPace { paTrickle, paSilent };
    // Answers a request for a slow path; false for any other.
    bool AnswerSlowly(TConnection& c, const std::string& path);

    mutable std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::map<std::string, std::pair<TPace, std::string>> slow_;
    TLoopbackServer server_;
};

// The saver window on a screen of a chosen size, with its program folder, a feed server,
// and the process's ends (Halt, sleeps, the browser, uncaught errors) recorded instead of
// carried out. The cycle's timer is stopped: tests step it by calling Timer1Timer.
class TSaverFixture {
  public:
    // feeds: "Name=path" entries of the [feeds] section, the paths on the feed server.
    explicit TSaverFixture(const std::vector<std::string>& feeds = {},
                           const std::string& settings = "", int screenWidth = 1280,
                           int screenHeight = 1024);
    ~TSaverFixture();

    TProgramFolder dir;
    TFeedServer server;
    std::vector<int> halts;
    std::vector<int> sleeps;
    std::vector<std::string> opened;
    bool openerFails = false;
    std::vector<std::string> errors;
    std::unique_ptr<TForm1> form;

    // Shows the window as the program does and stops the cycle's own timer.
    void Show();
    // Serves body at path, the first feed's, then shows the window and loads that feed.
    void ShowFeed(const std::string& path, const std::string& body);
    // LoadFeed(a), then Settle.
    void Load(int a);
    // Waits until the wall waits for no feed and the feed worker has handed over what it
    // fetched (the next feed's fetch too), so that a test sees a cycle as steady as it was
    // when downloads blocked.
    void Settle();
    // Sends input to the window as the platform would, through the application's hook, and
    // settles.
    void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void MouseMove(int x = 10, int y = 10);
    void MouseDown(Qt::MouseButton button);
    // The tags and text of the headline lines, one string each.
    const std::vector<std::string>& Lines() const { return form->Headlines; }
    // Steps the cycle n times, settling after each step.
    void Tick(int n = 1);

  private:
    THaltHandler oldHalt_;
    TSleepHandler oldSleep_;
    TUrlOpener oldOpener_;
    TExceptionHandler oldErrors_;
};

}  // namespace pelwick::test
