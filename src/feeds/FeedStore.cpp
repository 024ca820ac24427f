#include "feeds/FeedStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>

#include "app/Exception.h"
#include "app/Files.h"
#include "app/Strings.h"

namespace pelwick {

namespace {

constexpr const char* Magic = "PELWICK-FEED 1";
constexpr const char* Extension = ".feed";
constexpr const char* TempExtension = ".tmp";

// Header values are single lines; a stray line break would shift every field after it.
std::string OneLine(std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\r', ' ');
    return value;
}

std::string Encode(const TFeedStore::TEntry& e) {
    return std::string(Magic) + "\n" + OneLine(e.Address) + "\n" + OneLine(e.ETag) + "\n" +
           OneLine(e.LastModified) + "\n" + std::to_string(e.FetchedAt) + "\n" +
           std::to_string(e.RetryAfter) + "\n" + std::to_string(e.Body.size()) + "\n" + e.Body;
}

// Takes the next line of bytes from pos; false at the end.
bool NextLine(const std::string& bytes, std::size_t& pos, std::string& line) {
    const std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) return false;
    line = bytes.substr(pos, end - pos);
    pos = end + 1;
    return true;
}

std::optional<std::int64_t> Integer(const std::string& text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Anything short of a whole, well-formed file for this very address is no copy.
std::optional<TFeedStore::TEntry> Decode(const std::string& bytes, const std::string& address) {
    std::size_t pos = 0;
    std::string magic, fetched, retry, size;
    TFeedStore::TEntry e;
    if (!NextLine(bytes, pos, magic) || magic != Magic || !NextLine(bytes, pos, e.Address) ||
        !NextLine(bytes, pos, e.ETag) || !NextLine(bytes, pos, e.LastModified) ||
        !NextLine(bytes, pos, fetched) || !NextLine(bytes, pos, retry) ||
        !NextLine(bytes, pos, size))
        return std::nullopt;
    const auto fetchedAt = Integer(fetched);
    const auto retryAfter = Integer(retry);
    const auto bodySize = Integer(size);
    // A carriage return is never written (OneLine): a field holding one is damage.
    if (e.ETag != OneLine(e.ETag) || e.LastModified != OneLine(e.LastModified)) return std::nullopt;
    if (e.Address != OneLine(address) || !fetchedAt || !retryAfter || !bodySize ||
        std::uint64_t(*bodySize) != bytes.size() - pos)
        return std::nullopt;
    e.Address = address;
    e.FetchedAt = *fetchedAt;
    e.RetryAfter = *retryAfter;
    e.Body = bytes.substr(pos);
    return e;
}

struct TStoredFile {
    std::string path;
    std::int64_t size = 0;
    std::int64_t usedAt = 0;
};

// The folder's copies and left-over temporary files.
std::vector<TStoredFile> ListFolder(const std::string& folder, const char* extension) {
    std::vector<TStoredFile> files;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (!name.ends_with(extension)) continue;
        struct stat st {};
        const std::string path = folder + name;
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        files.push_back({path, std::int64_t(st.st_size), std::int64_t(st.st_mtime)});
    }
    ::closedir(dir);
    return files;
}

[[noreturn]] void FailWrite(const std::string& fileName, int error) {
    throw EFileError("Cannot write \"" + fileName + "\": " + std::strerror(error));
}

// $HOME, else the account's home; without either the store must not land in whatever the
// working folder is.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && user->pw_dir[0] == '/')
        return user->pw_dir;
    return "/tmp/pelwick-" + std::to_string(getuid());
}

}  // namespace

TFeedStore::TFeedStore(const std::string& folder, TClock clock)
    : folder_(IncludeTrailingPathDelimiter(folder)), clock_(std::move(clock)) {}

std::string TFeedStore::DefaultFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    // A relative XDG_CACHE_HOME is invalid and is ignored, as the XDG base directory rules say.
    if (cache && cache[0] == '/') return IncludeTrailingPathDelimiter(cache) + "pelwick/feeds/";
    return IncludeTrailingPathDelimiter(HomeFolder()) + ".cache/pelwick/feeds/";
}

TFeedStore::TClock TFeedStore::SystemClock() {
    return [] {
        return std::int64_t(std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count());
    };
}

std::string TFeedStore::FileName(const std::string& address) const {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(address), QCryptographicHash::Sha256);
    return folder_ + hash.toHex().left(32).toStdString() + Extension;
}

std::optional<TFeedStore::TEntry> TFeedStore::Read(const std::string& address) const {
    const std::string fileName = FileName(address);
    if (!FileExists(fileName)) return std::nullopt;
    std::optional<TEntry> entry;
    try {
        entry = Decode(ReadFileBytes(fileName, std::uint64_t(MaxBytes)), address);
    } catch (const Exception&) {
        // An unreadable copy is as good as none; the next answer replaces it.
        return std::nullopt;
    }
    if (entry) MarkUsed(fileName);
    return entry;
}

void TFeedStore::Write(const TEntry& entry) const {
    const std::string fileName = FileName(entry.Address);
    ForceFolders(folder_);
    std::string temp = fileName + ".XXXXXX" + TempExtension;
    const int fd = ::mkstemps(temp.data(), int(std::strlen(TempExtension)));
    if (fd < 0) FailWrite(fileName, errno);
    bool renamed = false;
    // Whatever stops the write (an error, a crash stood for by BeforeRename) leaves the old
    // copy; only a finished file is renamed over it.
    struct TCleanup {
        const std::string& temp;
        const bool& renamed;
        ~TCleanup() {
            if (!renamed) ::unlink(temp.c_str());
        }
    } cleanup{temp, renamed};
    const std::string bytes = Encode(entry);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            FailWrite(fileName, error);
        }
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) FailWrite(fileName, errno);
    if (BeforeRename) BeforeRename(temp);
    MarkUsed(temp);
    if (::rename(temp.c_str(), fileName.c_str()) != 0) FailWrite(fileName, errno);
    renamed = true;
    Trim();
}

void TFeedStore::MarkUsed(const std::string& fileName) const {
    const timespec times[2] = {{time_t(Now()), 0}, {time_t(Now()), 0}};
    // A copy whose time cannot be set is only dropped a little early or late.
    ::utimensat(AT_FDCWD, fileName.c_str(), times, 0);
}

void TFeedStore::Keep(const std::vector<std::string>& addresses) const {
    std::set<std::string> kept;
    for (const std::string& address : addresses)
        kept.insert(FileName(address));
    for (const TStoredFile& f : ListFolder(folder_, Extension))
        if (!kept.contains(f.path)) ::unlink(f.path.c_str());
}

void TFeedStore::Trim() const {
    const std::int64_t now = Now();
    // Temporary files of a write that never finished (a crash) go once they are old.
    for (const TStoredFile& f : ListFolder(folder_, TempExtension))
        if (now - f.usedAt > 24 * 3600) ::unlink(f.path.c_str());
    std::vector<TStoredFile> files = ListFolder(folder_, Extension);
    std::sort(files.begin(), files.end(),
              [](const TStoredFile& a, const TStoredFile& b) { return a.usedAt > b.usedAt; });
    std::int64_t total = 0;
    for (const TStoredFile& f : files) {
        total += f.size;
        if (now - f.usedAt > MaxUnusedSeconds || total > MaxBytes) ::unlink(f.path.c_str());
    }
}

}  // namespace pelwick
