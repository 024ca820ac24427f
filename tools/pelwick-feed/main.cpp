// pelwick-feed [--verbose] [--timeout SECONDS] [--max-time SECONDS] [--store DIR [--refresh
// MINUTES]] FILE|URL: loads a feed file, or downloads an address (anything with "://") the way the
// saver does, and prints its model as JSON. With --store the download goes through a feed store in
// DIR by the saver's rules, and the JSON says whether the stored copy was shown and why. Exit
// status: 0 loaded (also when only a forgiving parse could read the XML: "recovered" then holds the
// strict parser's error), 1 the download or the load failed (the message is on stderr and in
// "error"), 2 the file could not be read or the command line is wrong. pelwick-feed --opml FILE
// prints, as JSON, the entries an OPML import would add to an empty feed list; pelwick-feed
// --export-opml OUT NAME=ADDRESS... writes the exported OPML document.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "app/Strings.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedFetcher.h"
#include "feeds/FeedJson.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "options/Opml.h"

namespace {

using namespace pelwick;

const char* const UsageText =
    "Usage: pelwick-feed [--verbose] [--timeout SECONDS] [--max-time SECONDS]\n"
    "                    [--store DIR [--refresh MINUTES]] FILE|URL\n"
    "Loads a feed file, or downloads an address, and prints its model as JSON.\n"
    "  --verbose          print the download's status texts and progress on stderr\n"
    "  --timeout SECONDS  give up when the server sends nothing for this long (60)\n"
    "  --max-time SECONDS give up when the whole download takes longer (120)\n"
    "  --store DIR        keep the feed in DIR and ask the server conditionally; show the\n"
    "                     stored copy when the download fails (\"from_store\", \"reason\")\n"
    "  --refresh MINUTES  with --store: show a copy younger than this without asking (0)\n"
    "       pelwick-feed --opml FILE\n"
    "Prints, as JSON, the feeds an OPML import would add to an empty list.\n"
    "       pelwick-feed --export-opml OUT NAME=ADDRESS...\n"
    "Writes the entries as the options dialog exports them (\".opml\" is appended to a\n"
    "name without extension).\n";

struct TOptions {
    std::string source;
    bool verbose = false;
    int timeoutSeconds = 60;
    int maxTimeSeconds = 120;
    std::string storeFolder;
    int refreshMinutes = 0;
};

TOptions ParseOptions(int argc, char** argv) {
    TOptions options;
    const auto seconds = [](const std::string& option, const TOptionValue& value) {
        return Number(option, value(), 0, 24 * 3600);
    };
    const std::vector<std::string> sources =
        ReadArguments(argc, argv, [&](const std::string& option, const TOptionValue& value) {
            if (option == "--verbose")
                options.verbose = true;
            else if (option == "--timeout")
                options.timeoutSeconds = seconds(option, value);
            else if (option == "--max-time")
                options.maxTimeSeconds = seconds(option, value);
            else if (option == "--store")
                options.storeFolder = value();
            else if (option == "--refresh")
                options.refreshMinutes = Number(option, value(), 0, 100000);
            else
                return false;
            return true;
        });
    if (sources.empty() || sources[0].empty()) Fail("give a FILE or URL", 2);
    if (sources.size() > 1) Fail("give one FILE or URL, not also \"" + sources[1] + "\"", 2);
    options.source = sources[0];
    if (options.storeFolder.empty() && options.refreshMinutes > 0)
        Fail("--refresh needs --store", 2);
    return options;
}

// expected: where the progress reports keep the size of the body being read.
void Configure(const TOptions& options, THTTPClient& http, std::int64_t& expected) {
    http.ReadTimeout = options.timeoutSeconds * 1000;
    http.MaxTime = options.maxTimeSeconds * 1000;
    if (options.verbose) {
        http.OnStatus = [](THTTPClient&, THTTPClient::THTTPStatus, const std::string& text) {
            std::fprintf(stderr, "%s\n", text.c_str());
        };
        http.OnWorkBegin = [&expected](THTTPClient&, THTTPClient::TWorkMode, std::int64_t size) {
            expected = size;
        };
        http.OnWork = [&expected](THTTPClient&, THTTPClient::TWorkMode, std::int64_t count) {
            std::fprintf(stderr, "Progress: %lld of %lld\n", (long long)count, (long long)expected);
        };
    }
}

// Downloads into stream; returns the failure message, or "" on success.
std::string Download(const TOptions& options, TMemoryStream& stream) {
    THTTPClient http;
    std::int64_t expected = 0;
    Configure(options, http, expected);
    try {
        http.Get(options.source, stream);
        stream.SetPosition(0);
        return {};
    } catch (const std::exception& e) {
        const std::string message = e.what();
        return message.empty() ? "The address cannot be downloaded" : message;
    }
}

// Loads address through the store into feed; returns the failure message, or "" on success.
std::string FetchThroughStore(const TOptions& options, TFeedDocument& feed, TFeedOrigin& origin) {
    THTTPClient http;
    std::int64_t expected = 0;
    Configure(options, http, expected);
    TFeedStore store(options.storeFolder);
    TFeedFetcher fetcher(http, store);
    fetcher.RefreshMinutes = options.refreshMinutes;
    try {
        const TFeedFetcher::TResult got =
            fetcher.Fetch(options.source, [&feed](TMemoryStream& s) { feed.LoadFromStream(s); });
        origin.FromStore = got.FromStore;
        origin.Reason = got.Reason;
        return {};
    } catch (const std::exception& e) {
        const std::string message = e.what();
        return message.empty() ? "The address cannot be downloaded" : message;
    }
}

int ShowOpml(const std::string& fileName) {
    std::string text;
    try {
        text = ReadFileBytes(fileName);
    } catch (const Exception& e) {
        std::fprintf(stderr, "pelwick-feed: %s\n", e.what());
        return 2;
    }
    if (!IsOpmlText(text)) {
        std::fprintf(stderr, "pelwick-feed: %s\n", NotOpmlMessage(fileName).c_str());
        return 1;
    }
    const std::vector<std::string> entries =
        ImportOpml(text, {}, [] { return CurrentLongTime(); }).Added;
    std::string json = "[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) json += ",";
        json += "\n  {\"name\": " + JsonString(FeedEntryName(entries[i])) +
                ", \"address\": " + JsonString(FeedEntryAddress(entries[i])) + "}";
    }
    json += entries.empty() ? "]\n" : "\n]\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}

int ExportOpmlFile(int argc, char** argv) {
    if (argc < 3 || argv[2][0] == 0) Fail("--export-opml wants OUT and NAME=ADDRESS...", 2);
    std::vector<std::string> entries;
    for (int i = 3; i < argc; ++i) {
        // Addresses often hold "=", names never do: the first one separates them.
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq + 1 == arg.size()) {
            std::fprintf(stderr, "pelwick-feed: not NAME=ADDRESS: %s\n", arg.c_str());
            return 2;
        }
        const std::string name = UniqueFeedName(arg.substr(0, eq), entries, CurrentLongTime());
        entries.push_back(FeedEntryText(name, arg.substr(eq + 1)));
    }
    const std::string fileName = OpmlFileName(argv[2]);
    try {
        ExportOpml(entries, fileName);
    } catch (const Exception& e) {
        std::fprintf(stderr, "pelwick-feed: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", fileName.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-feed", UsageText);
    HandleInfoOptions(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--opml") {
        if (argc != 3) Fail("--opml wants one FILE", 2);
        return ShowOpml(argv[2]);
    }
    if (argc >= 2 && std::string(argv[1]) == "--export-opml") return ExportOpmlFile(argc, argv);
    const TOptions options = ParseOptions(argc, argv);
    TMemoryStream stream;
    TFeedDocument feed;
    std::string error;
    const bool address = options.source.find("://") != std::string::npos;
    if (address && !options.storeFolder.empty()) {
        TFeedOrigin origin;
        error = FetchThroughStore(options, feed, origin);
        if (!error.empty())
            std::fprintf(stderr, "pelwick-feed: %s: %s\n", options.source.c_str(), error.c_str());
        const std::string json = FeedToJson(feed, error, origin);
        std::fwrite(json.data(), 1, json.size(), stdout);
        return error.empty() ? 0 : 1;
    }
    if (address) {
        error = Download(options, stream);
    } else {
        try {
            stream.LoadFromFile(options.source);
        } catch (const Exception& e) {
            std::fprintf(stderr, "pelwick-feed: %s\n", e.what());
            return 2;
        }
    }
    if (error.empty()) {
        try {
            feed.LoadFromStream(stream);
        } catch (const std::exception& e) {
            error = e.what();
            if (error.empty()) error = "The feed could not be loaded";
        }
    }
    if (!error.empty())
        std::fprintf(stderr, "pelwick-feed: %s: %s\n", options.source.c_str(), error.c_str());
    const std::string json = FeedToJson(feed, error);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return error.empty() ? 0 : 1;
}
