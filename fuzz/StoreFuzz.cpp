// A stored feed file as the disk gives it back (torn, damaged, another program's): reading
// never fails, and a copy it accepts writes and reads back unchanged. The first line is also
// read as a Retry-After value, which always comes out as a wait of at most a day.
#include <QTemporaryDir>
#include <string>

#include "FuzzSupport.h"
#include "app/Files.h"
#include "feeds/FeedFetcher.h"
#include "feeds/FeedStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    static QTemporaryDir dir;
    const std::string_view input = fuzz::Input(data, size);
    const TFeedStore store(dir.path().toStdString(), [] { return std::int64_t(1'800'000'000); });
    const std::string address = "http://fuzz.example/feed";
    WriteFileAtomically(store.FileName(address), input);
    if (const auto entry = store.Read(address)) {
        store.Write(*entry);
        const auto again = store.Read(address);
        FUZZ_CHECK(again && again->Body == entry->Body && again->ETag == entry->ETag &&
                   again->LastModified == entry->LastModified &&
                   again->FetchedAt == entry->FetchedAt && again->RetryAfter == entry->RetryAfter);
    }
    const std::string line(input.substr(0, std::min<std::size_t>(input.find('\n'), 128)));
    if (const auto wait = TFeedFetcher::RetryAfterSeconds(line, 1'800'000'000))
        FUZZ_CHECK(*wait >= 0 && *wait <= 24 * 3600);
    return 0;
}
