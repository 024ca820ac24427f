#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBackingStore>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>

#include "app/Exception.h"
#include "app/Files.h"
#include "app/Settings.h"

namespace pelwick::test {

std::string FixturesSetting() {
    const char* folder = std::getenv("PELWICK_FIXTURES");
    return folder ? folder : "PELWICK_FIXTURES is not set";
}

std::string SharedFixtures() {
    const char* folder = std::getenv("PELWICK_FIXTURES");
    if (folder == nullptr || *folder == 0 || !DirectoryExists(folder)) return "";
    return IncludeTrailingPathDelimiter(folder);
}

TProgramFolder::TProgramFolder() {
    path_ = IncludeTrailingPathDelimiter(dir_.path().toStdString());
    if (const char* home = std::getenv("PELWICK_HOME")) hadHome_ = true, oldHome_ = home;
    setenv("PELWICK_HOME", path_.c_str(), 1);
    if (const char* cache = std::getenv("XDG_CACHE_HOME")) hadCache_ = true, oldCache_ = cache;
    setenv("XDG_CACHE_HOME", cache_.path().toStdString().c_str(), 1);
    UnloadSettings();
}

std::string TProgramFolder::CacheFolder() const {
    return IncludeTrailingPathDelimiter(cache_.path().toStdString());
}

TProgramFolder::~TProgramFolder() {
    UnloadSettings();
    if (hadHome_)
        setenv("PELWICK_HOME", oldHome_.c_str(), 1);
    else
        unsetenv("PELWICK_HOME");
    if (hadCache_)
        setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}

void TProgramFolder::Write(const std::string& name, const std::string& bytes) const {
    WriteFile(File(name), bytes);
}

std::string TProgramFolder::Read(const std::string& name) const {
    return ReadFileBytes(File(name));
}

void TProgramFolder::MakeFolder(const std::string& name) const {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(File(name))));
}

TEnvironmentValue::TEnvironmentValue(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) had_ = true, old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
}

TEnvironmentValue::~TEnvironmentValue() {
    had_ ? setenv(name_.c_str(), old_.c_str(), 1) : unsetenv(name_.c_str());
}

TSharedFolder::TSharedFolder() {
    path_ = IncludeTrailingPathDelimiter(dir_.path().toStdString());
    if (::chmod(dir_.path().toLocal8Bit().constData(), 01777) != 0)
        ADD_FAILURE() << "cannot share " << path_;
}

void TSharedFolder::PlantIn(const std::string& folder, const std::string& name,
                            const std::string& bytes) {
    const std::string file = IncludeTrailingPathDelimiter(folder) + name;
    WriteFile(file, bytes);
    // Only root can give a file away; anyone else plants a file of their own.
    constexpr uid_t nobody = 65534;
    if (::geteuid() == 0 && ::chown(file.c_str(), nobody, nobody) != 0)
        ADD_FAILURE() << "cannot give " << name << " away";
    ::chmod(file.c_str(), 0666);
}

std::string MessageOfFailedWrite(long maxBytes, const std::function<void()>& action) {
    rlimit old{};
    if (getrlimit(RLIMIT_FSIZE, &old) != 0) {
        ADD_FAILURE() << "getrlimit failed";
        return {};
    }
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(maxBytes);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) ADD_FAILURE() << "setrlimit failed";
    std::string message;
    try {
        action();
    } catch (const EFileError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return message;
}

TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.start(QString::fromStdString(program), arguments);
    TProgramRun run;
    if (!process.waitForFinished(30000)) return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TProgramRun RunTool(const QStringList& args) {
    std::vector<std::string> arguments;
    for (const QString& arg : args)
        arguments.push_back(arg.toStdString());
    return RunProgram(PELWICK_FEED_TOOL, arguments);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << "cannot create " << path;
    out << bytes;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

bool PollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step) {
    using namespace std::chrono;
    const steady_clock::time_point end = steady_clock::now() + timeout;
    while (!condition()) {
        const milliseconds left = duration_cast<milliseconds>(end - steady_clock::now());
        if (left.count() <= 0) return false;
        QTest::qWait(int(std::min(step, left).count()));
    }
    return true;
}

::testing::AssertionResult WaitUntil(const std::function<bool()>& condition,
                                     std::chrono::milliseconds timeout, const std::string& what,
                                     std::chrono::milliseconds step) {
    if (PollUntil(condition, timeout, step)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "gave up after " << timeout.count() / 1000.0 << " s waiting for " << what;
}

QRgb ShownPixel(QWidget& window, int x, int y) {
    QBackingStore* store = window.backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) {
        ADD_FAILURE() << "the window keeps no picture of what it shows";
        return 0;
    }
    const auto& shown = *static_cast<QImage*>(device);
    const double ratio = shown.devicePixelRatio();
    return shown.pixel(int(x * ratio), int(y * ratio));
}

}  // namespace pelwick::test
