// A driver for the fuzz targets where libFuzzer is not at hand (the gcc builds the tests
// use): it runs every input of the corpus, then mutations of them (bytes flipped, inserted,
// removed, repeated, cut, or two inputs spliced) until -max_total_time seconds have passed.
// It is blind to coverage, so it is no replacement for scripts/fuzz; it keeps the parsers'
// safety checked in every test run. It prints its generator's seed and libFuzzer's final
// statistics lines. An input that fails is saved as <prefix>fuzz-finding-<pid>, the prefix
// given as libFuzzer's -artifact_prefix= (the tests' build gives build-*/fuzz-findings/), so a
// finding never lands among the sources.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)());

namespace {

const std::string* current = nullptr;
// The finding's file name up to the process id, fixed before any input runs.
char findingName[4096] = "fuzz-finding-";

// Only calls that a signal handler may make.
void SaveCurrent() {
    if (!current) return;
    char name[sizeof findingName + 16];
    int at = 0;
    while (findingName[at]) {
        name[at] = findingName[at];
        ++at;
    }
    char digits[16];
    int n = 0;
    for (long pid = getpid(); pid > 0 && n < 15; pid /= 10)
        digits[n++] = static_cast<char>('0' + pid % 10);
    while (n > 0)
        name[at++] = digits[--n];
    name[at] = '\0';
    const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    if (write(fd, current->data(), current->size()) < 0) {
    }
    close(fd);
    current = nullptr;
}

void OnFatalSignal(int signal) {
    SaveCurrent();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

std::vector<std::string> ReadCorpus(const std::vector<std::string>& paths) {
    std::vector<std::string> inputs;
    auto add = [&](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(path, error))
                if (entry.is_regular_file()) add(entry.path());
        } else if (std::filesystem::is_regular_file(path, error)) {
            add(path);
        }
    }
    if (inputs.empty()) inputs.emplace_back();
    return inputs;
}

std::string Mutate(const std::vector<std::string>& corpus, std::mt19937_64& random) {
    std::string s = corpus[random() % corpus.size()];
    const int steps = 1 + int(random() % 8);
    for (int i = 0; i < steps; ++i) {
        const std::size_t at = s.empty() ? 0 : random() % (s.size() + 1);
        switch (random() % 6) {
            case 0:
                if (at < s.size()) s[at] = static_cast<char>(s[at] ^ (1 << (random() % 8)));
                break;
            case 1:
                s.insert(at, 1, static_cast<char>(random() % 256));
                break;
            case 2:
                if (at < s.size()) s.erase(at, 1 + random() % 16);
                break;
            case 3:
                if (at < s.size()) s.insert(at, s.substr(at, 1 + random() % 64));
                break;
            case 4:
                s.resize(at);
                break;
            default: {
                const std::string& other = corpus[random() % corpus.size()];
                if (!other.empty()) s.insert(at, other.substr(random() % other.size(), 256));
            }
        }
        if (s.size() > 65536) s.resize(65536);
    }
    return s;
}

// Findings go to prefix (a folder when it ends in "/", made here if missing).
void SetFindingPrefix(const std::string& prefix) {
    const std::string name = prefix + "fuzz-finding-";
    if (name.size() >= sizeof findingName) {
        std::fprintf(stderr, "standalone fuzz driver: -artifact_prefix is too long\n");
        std::exit(2);
    }
    const std::filesystem::path folder = std::filesystem::path(name).parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    std::snprintf(findingName, sizeof findingName, "%s", name.c_str());
}

void Run(const std::string& input) {
    current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    current = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // The sanitizers report faults themselves and then call the death callback.
    for (int signal : {SIGILL, SIGABRT, SIGTRAP})
        std::signal(signal, OnFatalSignal);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(SaveCurrent);
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    double seconds = 10;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-max_total_time=", 0) == 0)
            seconds = std::atof(arg.c_str() + 16);
        else if (arg.rfind("-artifact_prefix=", 0) == 0)
            SetFindingPrefix(arg.substr(17));
        else if (arg.empty() || arg[0] != '-')
            paths.push_back(arg);
    }
    const std::vector<std::string> corpus = ReadCorpus(paths);
    const std::uint64_t seed = std::random_device{}();
    std::printf("standalone fuzz driver: %zu inputs, %.0f s, seed %llu\n", corpus.size(), seconds,
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    std::mt19937_64 random(seed);
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t runs = 0;
    for (const std::string& input : corpus) {
        Run(input);
        ++runs;
    }
    const auto end = start + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        Run(Mutate(corpus, random));
        ++runs;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("stat::number_of_executed_units: %llu\nstat::average_exec_per_sec: %llu\n",
                static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(runs / std::max(elapsed, 1e-9)));
    return 0;
}
