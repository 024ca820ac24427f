// Listing picture libraries: a flat folder of 40,000 pictures and a library of 100,000 in 200
// year and month folders, each against reading the same names with nothing done to them.
// The list's memory is reported as the counter ListMB.
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>

#include "BenchSupport.h"
#include "app/PictureList.h"

namespace pelwick {
namespace {

namespace fs = std::filesystem;

constexpr int FlatPictures = 40'000;
constexpr int LibraryFolders = 200;
constexpr int PicturesPerFolder = 500;

// Empty files named as cameras name them, made in a shuffled order so that the file
// system's order is not already the sorted one.
void MakePictures(const fs::path& folder, int count, std::mt19937& random) {
    fs::create_directories(folder);
    std::vector<int> numbers(static_cast<size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    for (int n : numbers)
        std::ofstream(folder / ("IMG_" + std::to_string(n) + ".jpg"));
}

struct TLibraries {
    fs::path root = fs::temp_directory_path() / ("pelwick-bench-list-" + std::to_string(getpid()));
    std::string flat = (root / "flat").string();
    std::string tree = (root / "tree").string();
    TLibraries() {
        std::mt19937 random(5);
        MakePictures(flat, FlatPictures, random);
        for (int i = 0; i < LibraryFolders; ++i)
            MakePictures(
                fs::path(tree) / std::to_string(2008 + i / 12) / std::to_string(1 + i % 12),
                PicturesPerFolder, random);
    }
    ~TLibraries() { fs::remove_all(root); }
};

TLibraries& Libraries() {
    static TLibraries libraries;
    return libraries;
}

void ListFolder(benchmark::State& state, const std::string& folder, bool subfolders) {
    for (auto _ : state) {
        std::vector<std::string> list;
        BuildImageList(folder, list, subfolders);
        benchmark::DoNotOptimize(list.data());
    }
}

void ReadNames(benchmark::State& state, const std::string& folder) {
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder))
            names.push_back(e.path().string());
        benchmark::DoNotOptimize(names.data());
    }
}

void ListFlat(benchmark::State& state) {
    ListFolder(state, Libraries().flat, false);
}
void ReadFlat(benchmark::State& state) {
    ReadNames(state, Libraries().flat);
}
void ListLibrary(benchmark::State& state) {
    ListFolder(state, Libraries().tree, true);
    // What the slideshow keeps for the library: the paths and their index.
    const std::size_t before = mallinfo2().uordblks;
    {
        TPictureList list;
        WalkPictureFolder(Libraries().tree, {}, [&](std::vector<std::string>&& paths) {
            for (std::string& path : paths)
                list.Add(std::move(path));
        });
        state.counters["ListMB"] = double(mallinfo2().uordblks - before) / 1e6;
        state.counters["Pictures"] = double(list.Size());
    }
}
void ReadLibrary(benchmark::State& state) {
    ReadNames(state, Libraries().tree);
}
BENCHMARK(ListFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(ListLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLibrary)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelwick

int main(int argc, char** argv) {
    return pelwick::bench::RunBenchmarks(
        argc, argv, {{"ListFlat", "ReadFlat"}, {"ListLibrary", "ReadLibrary"}});
}
