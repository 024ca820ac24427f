// pelwick-feed FILE: loads a feed file the way the saver does and prints its model as JSON.
// Exit status: 0 loaded, 1 the load failed (the message is on stderr and in "error"), 2 the
// file could not be read or the command line is wrong.
#include <cstdio>
#include <exception>
#include <string>

#include "app/Exception.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedJson.h"
#include "feeds/MemoryStream.h"

namespace {

int Usage() {
    std::fputs("Usage: pelwick-feed FILE\nLoads a feed file and prints its model as JSON.\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pelwick;
    if (argc != 2 || std::string(argv[1]).empty() || argv[1][0] == '-') return Usage();
    TMemoryStream stream;
    try {
        stream.LoadFromFile(argv[1]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "pelwick-feed: %s\n", e.what());
        return 2;
    }
    TFeedDocument feed;
    std::string error;
    try {
        feed.LoadFromStream(stream);
    } catch (const std::exception& e) {
        error = e.what();
        if (error.empty()) error = "The feed could not be loaded";
        std::fprintf(stderr, "pelwick-feed: %s: %s\n", argv[1], error.c_str());
    }
    const std::string json = FeedToJson(feed, error);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return error.empty() ? 0 : 1;
}
