// Fetching a 10 MB body over loopback with THTTPClient::Get against a bare libcurl easy
// transfer of the same body: the cost of the event pumping, the events and our own framing.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <map>

#include "BenchSupport.h"

#include "feeds/AntiFreeze.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "support/LoopbackServer.h"

namespace {

using namespace pelwick;

const std::string& Body() {
    static const std::string body(10 << 20, 'x');
    return body;
}

test::TLoopbackServer& Server() {
    static test::TLoopbackServer server([](test::TConnection& c, test::TLoopbackServer&) {
        static const std::string response = test::TLoopbackServer::Response("200 OK", "", Body());
        while (!c.ReadRequest().empty())
            c.Send(response);
    });
    return server;
}

void BM_Get(benchmark::State& state) {
    TAntiFreeze guard;
    THTTPClient http;
    std::int64_t progress = 0;
    http.OnWork = [&](THTTPClient&, THTTPClient::TWorkMode, std::int64_t n) { progress = n; };
    for (auto _ : state) {
        TMemoryStream stream;
        http.Get(Server().Url("/big"), stream);
        if (stream.Size() != Body().size()) state.SkipWithError("short body");
    }
    benchmark::DoNotOptimize(progress);
    state.SetBytesProcessed(state.iterations() * std::int64_t(Body().size()));
}

size_t Append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BM_BareCurl(benchmark::State& state) {
    CURL* curl = curl_easy_init();
    const std::string url = Server().Url("/big");
    for (auto _ : state) {
        std::string body;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(curl) != CURLE_OK || body.size() != Body().size())
            state.SkipWithError("bare transfer failed");
    }
    curl_easy_cleanup(curl);
    state.SetBytesProcessed(state.iterations() * std::int64_t(Body().size()));
}

BENCHMARK(BM_BareCurl)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Get)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return pelwick::bench::RunBenchmarks(argc, argv, {{"BM_Get", "BM_BareCurl"}},
                                         pelwick::bench::bqCore);
}
