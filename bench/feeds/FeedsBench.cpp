// Loading a large real RSS feed (parse, blank-text removal, model) against libxml2's bare
// parse of the same bytes. Target: LoadFromStream at most 1.5 times xmlReadMemory. A download
// cut off inside an item is loaded too: the strict parse fails at the end, the forgiving parse
// reads the complete items; its ratio is reported against the same bare parse.
#include <benchmark/benchmark.h>

#include <libxml/parser.h>
#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "app/Exception.h"
#include "app/Files.h"
#include "feeds/FeedDocument.h"
#include "feeds/MemoryStream.h"

namespace {

using namespace pelwick;

const char* FeedFile = "feeds/feeder/rss_londoner.xml";

// The 2.7 MB feed as a site serves it, read once, with a blank line before its XML declaration.
const std::string& FeedBytes() {
    static const std::string bytes = [] {
        const char* env = std::getenv("PELWICK_FIXTURES");
        const std::string folder = env && *env ? env : PELWICK_DEFAULT_FIXTURES;
        return ReadFileBytes(folder + "/" + FeedFile);
    }();
    return bytes;
}

// libxml2 itself refuses anything before the declaration, so the bare parse gets the bytes
// from there on.
const std::string& DeclaredBytes() {
    static const std::string bytes = FeedBytes().substr(FeedBytes().find('<'));
    return bytes;
}

// The feed cut off in the middle of its last item, as an interrupted download leaves it.
const std::string& TruncatedBytes() {
    static const std::string bytes = [] {
        const std::string& whole = FeedBytes();
        const std::size_t lastItem = whole.rfind("<item");
        return whole.substr(0, lastItem + (whole.size() - lastItem) / 2);
    }();
    return bytes;
}

void BM_xmlReadMemory(benchmark::State& state) {
    const std::string& bytes = DeclaredBytes();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(bytes.data(), int(bytes.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOENT);
        if (doc == nullptr) state.SkipWithError("libxml2 refused the feed");
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_xmlReadMemory)->Unit(benchmark::kMillisecond)->Repetitions(7);

// The safe parse alone (with blank-text removal), to split LoadFromStream's cost.
void BM_XMLDocumentParse(benchmark::State& state) {
    const std::string& bytes = FeedBytes();
    TXMLDocument doc;
    for (auto _ : state) {
        doc.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(doc.DocumentElement());
    }
}
BENCHMARK(BM_XMLDocumentParse)->Unit(benchmark::kMillisecond)->Repetitions(7);

void LoadRepeatedly(benchmark::State& state, const std::string& bytes) {
    TMemoryStream stream(bytes);
    TFeedDocument feed;
    for (auto _ : state) {
        stream.SetPosition(0);
        try {
            feed.LoadFromStream(stream);
        } catch (const Exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        benchmark::DoNotOptimize(feed.Items().Count());
    }
    // The last document is freed inside the timed loop too, as the bare parse frees its own.
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["items"] = feed.Items().Count();
}

void BM_LoadFromStream(benchmark::State& state) {
    LoadRepeatedly(state, FeedBytes());
}
BENCHMARK(BM_LoadFromStream)->Unit(benchmark::kMillisecond)->Repetitions(7);

void BM_LoadFromStreamRecovered(benchmark::State& state) {
    LoadRepeatedly(state, TruncatedBytes());
}
BENCHMARK(BM_LoadFromStreamRecovered)->Unit(benchmark::kMillisecond)->Repetitions(7);

}  // namespace

int main(int argc, char** argv) {
    return pelwick::bench::WithBenchmarks(argc, argv, pelwick::bench::bqNone, [] {
        try {
            std::printf("Feed: %s (%zu bytes; cut off at %zu)\n", FeedFile, FeedBytes().size(),
                        TruncatedBytes().size());
        } catch (const Exception& e) {
            std::fprintf(stderr, "bench_feeds: %s\n", e.what());
            return 1;
        }
        // Target for the first: at most 1.5. The second needs two parses by its nature.
        return pelwick::bench::RunAndPrintRatios(
            {{"BM_LoadFromStream", "BM_xmlReadMemory"},
             {"BM_LoadFromStreamRecovered", "BM_xmlReadMemory"}});
    });
}
