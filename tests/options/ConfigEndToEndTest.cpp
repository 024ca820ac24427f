// The real options dialog on a virtual X server, driven with the mouse and keyboard: every way
// of leaving it ends the program, and only Save writes the settings.
#include <gtest/gtest.h>

#include <QProcess>

#include "app/Files.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "support/VirtualDisplay.h"

namespace pelwick {
namespace {

using test::TVirtualDisplay;

// Client-area centres of the dialog's controls.
constexpr int SaveX = 261, CancelX = 338, ButtonRowY = 300;
constexpr int AddressX = 158, AddX = 343, AddressRowY = 81;
constexpr int ExitLimitMs = 2000;

const std::string Settings = "[set]\r\nBlogInterval=33\r\n";

class ConfigEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TVirtualDisplay::Found() || !TVirtualDisplay::XdotoolFound())
            GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/packages.txt has both)";
        display_ = std::make_unique<TVirtualDisplay>();
        ASSERT_FALSE(display_->Display().isEmpty()) << "Xvfb did not report its display";
        dir_.Write("Pelwick.ini", Settings);
        QProcessEnvironment env = display_->Environment();
        env.insert("PELWICK_HOME", QString::fromStdString(dir_.Path()));
        dialog_.setProcessEnvironment(env);
        dialog_.start(PELWICK_PROGRAM, {"/c"});
        ASSERT_TRUE(dialog_.waitForStarted(10000));
        window_ = display_->WaitForWindow("^Options$");
        ASSERT_NE(window_, 0u) << "no Options window appeared";
    }
    void TearDown() override {
        if (dialog_.state() != QProcess::NotRunning) {
            dialog_.kill();
            dialog_.waitForFinished(5000);
        }
    }
    // The dialog ended by itself, in time and with status 0.
    void ExpectEnded() {
        EXPECT_TRUE(test::WaitForExit(dialog_, ExitLimitMs)) << "the dialog kept running";
        EXPECT_EQ(dialog_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(dialog_.exitCode(), 0) << dialog_.readAllStandardError().toStdString();
    }

    test::TProgramFolder dir_;
    std::unique_ptr<TVirtualDisplay> display_;
    QProcess dialog_;
    std::uint32_t window_ = 0;
};

TEST_F(ConfigEndToEnd, CancelEndsTheProgramAndWritesNothing) {
    display_->ClickAt(window_, CancelX, ButtonRowY);
    ExpectEnded();
    EXPECT_EQ(dir_.Read("Pelwick.ini"), Settings);
}

TEST_F(ConfigEndToEnd, SaveEndsTheProgramAfterWriting) {
    display_->ClickAt(window_, SaveX, ButtonRowY);
    ExpectEnded();
    EXPECT_NE(dir_.Read("Pelwick.ini").find("ImageInterval="), std::string::npos);
}

TEST_F(ConfigEndToEnd, TheCloseButtonEndsTheProgramAndWritesNothing) {
    ASSERT_TRUE(display_->RequestClose(window_));
    ExpectEnded();
    EXPECT_EQ(dir_.Read("Pelwick.ini"), Settings);
}

// A server that sends its body a byte at a time keeps the Add's download running.
TEST_F(ConfigEndToEnd, CancelDuringADownloadEndsAtOnce) {
    test::TLoopbackServer server([](test::TConnection& c, test::TLoopbackServer&) {
        if (c.ReadRequest().empty()) return;
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n<rss>");
        c.SendSlowly(std::string(100000, ' '), 1, 50);
    });
    display_->ClickAt(window_, AddressX, AddressRowY);
    display_->Xdotool({"key", "ctrl+a", "BackSpace"});
    display_->Xdotool({"type", "--delay", "5", QString::fromStdString(server.Url("/slow"))});
    display_->ClickAt(window_, AddX, AddressRowY);
    std::string caption;
    test::PollUntil(
        [&] { return (caption = display_->WindowName(window_)).rfind("Verifying RSS", 0) == 0; },
        std::chrono::seconds(20));
    // Captions read as the dialog sets them, with nothing appended.
    ASSERT_EQ(caption.rfind("Verifying RSS", 0), 0u) << caption;
    EXPECT_EQ(caption.find("Irirureridi"), std::string::npos) << caption;
    display_->ClickAt(window_, CancelX, ButtonRowY);
    ExpectEnded();
    EXPECT_EQ(dir_.Read("Pelwick.ini"), Settings);
}

}  // namespace
}  // namespace pelwick
