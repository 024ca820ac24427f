#pragma once

#include <gtest/gtest.h>

#include <QRgb>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "gfx/Simd.h"

class QWidget;

namespace pelwick::test {

// A temporary folder that is also the program folder ($PELWICK_HOME) while it lives, with
// the loaded settings forgotten on entry and exit, and a second one as the cache folder
// ($XDG_CACHE_HOME), so that no test reads or writes the user's stored feeds.
class TProgramFolder {
  public:
    TProgramFolder();
    ~TProgramFolder();
    TProgramFolder(const TProgramFolder&) = delete;
    TProgramFolder& operator=(const TProgramFolder&) = delete;

    // The folder with its trailing separator.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    void MakeFolder(const std::string& name) const;
    // The cache folder ($XDG_CACHE_HOME) with its trailing separator.
    std::string CacheFolder() const;

  private:
    QTemporaryDir dir_;
    QTemporaryDir cache_;
    std::string path_;
    std::string oldHome_;
    bool hadHome_ = false;
    std::string oldCache_;
    bool hadCache_ = false;
};

// Sets an environment variable (or unsets it, for nullptr) while it lives.
class TEnvironmentValue {
  public:
    TEnvironmentValue(const char* name, const char* value);
    ~TEnvironmentValue();
    TEnvironmentValue(const TEnvironmentValue&) = delete;
    TEnvironmentValue& operator=(const TEnvironmentValue&) = delete;

  private:
    std::string name_, old_;
    bool had_ = false;
};

// A folder every user may write, with the sticky bit, as the shared temporary folder is.
class TSharedFolder {
  public:
    TSharedFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }
    // Makes a file there as another user would: owned by "nobody" where this test may give
    // files away (as root), with everyone allowed to read and write it.
    void Plant(const std::string& name, const std::string& bytes) const {
        PlantIn(path_, name, bytes);
    }
    static void PlantIn(const std::string& folder, const std::string& name,
                        const std::string& bytes);

  private:
    QTemporaryDir dir_;
    std::string path_;
};

// Runs action while every file write beyond maxBytes fails with EFBIG, as on a full disk.
// (Root ignores permissions, so a file size limit is how tests make a write fail.) Returns
// the message of the EFileError that action raised, or "" when it raised none.
std::string MessageOfFailedWrite(long maxBytes, const std::function<void()>& action);

// What a program printed and how it ended; exitCode is -1 when it did not finish in time.
struct TProgramRun {
    int exitCode = -1;
    std::string out, err;
};
// Runs a program (one of our tools) with arguments and waits for it.
TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args);

// The shared fixtures folder ($PELWICK_FIXTURES) with a trailing "/", or "" when it is not set
// or does not exist (a user's clone has no ../shared).
std::string SharedFixtures();

// Skips the running test, naming the folder, when the shared fixtures are absent.
#define PELWICK_REQUIRE_FIXTURES()                                                        \
    do {                                                                                  \
        if (::pelwick::test::SharedFixtures().empty())                                    \
            GTEST_SKIP() << "the shared fixtures folder is absent ("                      \
                         << ::pelwick::test::FixturesSetting() << "); CI runs this test"; \
    } while (0)
// The folder the tests were told to read fixtures from, as set.
std::string FixturesSetting();

// Uses a vector instruction set (or none) for the pixel loops while it lives.
class TSimdScope {
  public:
    explicit TSimdScope(TSimdLevel level) : previous_(SetSimdLevel(level)) {}
    ~TSimdScope() { SetSimdLevel(previous_); }
    TSimdScope(const TSimdScope&) = delete;
    TSimdScope& operator=(const TSimdScope&) = delete;

  private:
    TSimdLevel previous_;
};

// Runs the pelwick-feed tool with arguments and waits for it.
TProgramRun RunTool(const QStringList& args);

// Writes bytes to a file, creating it; fails the test on error.
void WriteFile(const std::string& path, const std::string& bytes);

// Checks condition every step, serving this thread's events in between, until it holds or
// timeout has passed; whether it held. For a caller that reports the failure itself.
bool PollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(50));

// Waits for what a test needs before it goes on, never for a fixed time: the timeout is
// generous (a loaded machine runs a sanitizer build many times slower), the step short, so a
// quick machine goes on at once. The failure names what never happened:
//   ASSERT_TRUE(test::WaitUntil([&] { ... }, 20s, "the saver's window inside the host's"));
[[nodiscard]] ::testing::AssertionResult WaitUntil(
    const std::function<bool()>& condition, std::chrono::milliseconds timeout,
    const std::string& what, std::chrono::milliseconds step = std::chrono::milliseconds(50));

// What a top-level window's backing store holds at (x, y): what Qt last painted there, unlike
// grab(), which paints the window afresh. A test that needs it fails when the platform keeps
// no picture of its own.
QRgb ShownPixel(QWidget& window, int x, int y);

}  // namespace pelwick::test
