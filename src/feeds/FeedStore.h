#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelwick {

// Each feed's last good answer on disk, one file per address (named by a hash of it), so that
// the wall keeps its news offline and servers are asked only conditionally. Files are replaced
// atomically; a damaged one reads as absent and is replaced by the next answer. The folder is
// bounded in size and in how long an unused copy stays. Times are Unix seconds from the
// injected clock, so that tests drive them.
class TFeedStore {
  public:
    using TClock = std::function<std::int64_t()>;

    // One feed's stored answer: the body as received (before parsing) and what a conditional
    // request and the next visit need.
    struct TEntry {
        std::string Address;
        std::string Body;
        std::string ETag;
        std::string LastModified;
        std::int64_t FetchedAt = 0;
        // The server asked for no request before this time; 0 when it did not.
        std::int64_t RetryAfter = 0;
    };

    // folder: with or without its trailing separator; made on the first write.
    explicit TFeedStore(const std::string& folder, TClock clock = SystemClock());

    // $XDG_CACHE_HOME/pelwick/feeds/, or ~/.cache/pelwick/feeds/ when it is not set.
    static std::string DefaultFolder();
    static TClock SystemClock();

    const std::string& Folder() const { return folder_; }
    std::int64_t Now() const { return clock_(); }
    void SetClock(TClock clock) { clock_ = std::move(clock); }
    // The file that holds address's copy.
    std::string FileName(const std::string& address) const;

    // The stored copy of address, marked as used now; nothing when there is none or it is
    // damaged or unreadable.
    std::optional<TEntry> Read(const std::string& address) const;
    // Replaces entry.Address's copy in one step, then keeps the folder within its bounds.
    // Raises EFileError when it cannot write (the old copy is then unchanged).
    void Write(const TEntry& entry) const;
    // Drops every copy whose address is not in addresses.
    void Keep(const std::vector<std::string>& addresses) const;
    // Drops copies unused for longer than MaxUnusedSeconds, then the least recently used
    // until the folder holds at most MaxBytes.
    void Trim() const;

    std::int64_t MaxBytes = std::int64_t(64) << 20;
    std::int64_t MaxUnusedSeconds = std::int64_t(30) * 24 * 3600;
    // Called with the temporary file after it is written and flushed, before it replaces the
    // copy; a test throws here to stand for a crash.
    std::function<void(const std::string& tempFile)> BeforeRename;

  private:
    // Sets the time a copy was last used (its modification time) to now.
    void MarkUsed(const std::string& fileName) const;

    std::string folder_;
    TClock clock_;
};

}  // namespace pelwick
