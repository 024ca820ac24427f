#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pelwick {

// The list of pictures the slideshow shows: full paths, each at most once. A path that
// differs from a listed one only in letter case counts as listed, as on the systems where
// such names are the same file. Adding is constant time, so a library of 100,000 pictures
// is listed in time linear in its size.
class TPictureList {
  public:
    TPictureList();
    TPictureList(const TPictureList&) = delete;
    TPictureList& operator=(const TPictureList&) = delete;

    // Appends the path unless it is listed; false when it was.
    bool Add(std::string path);
    bool Contains(std::string_view path) const { return IndexOf(path) >= 0; }
    // Where the path is listed (compared as Add compares), or -1.
    int IndexOf(std::string_view path) const;

    std::size_t Size() const { return paths_.size(); }
    bool Empty() const { return paths_.empty(); }
    const std::string& operator[](std::size_t i) const { return paths_[i]; }
    const std::vector<std::string>& Paths() const { return paths_; }

  private:
    // The set holds indices into paths_, hashed and compared through the folded path, so
    // that each path is stored once.
    struct THash {
        const TPictureList* list;
        std::size_t operator()(std::uint32_t i) const;
    };
    struct TSame {
        const TPictureList* list;
        bool operator()(std::uint32_t a, std::uint32_t b) const;
    };
    // The index that stands for a path being looked up, not yet listed.
    static constexpr std::uint32_t Probe = UINT32_MAX;
    std::string_view At(std::uint32_t i) const { return i == Probe ? probe_ : paths_[i]; }

    std::vector<std::string> paths_;
    std::unordered_set<std::uint32_t, THash, TSame> index_;
    mutable std::string_view probe_;
};

// How a picture folder is listed.
struct TPictureWalk {
    // The folders below it too, depth first.
    bool Subfolders = true;
    // Folders deeper than this below the picture folder are not entered.
    int MaxDepth = 32;
};

// Lists the pictures of folder (and, with walk.Subfolders, of the folders below it) in the
// order a file manager shows them: a folder's pictures in natural name order, all formats
// together, then each of its folders in the same order, depth first. Hidden folders, the
// folders photo tools keep their caches in, and a folder already entered by another way (a
// link back up) are skipped. found receives each folder's pictures as full paths, in one
// call per folder that holds any. Unreadable folders are passed over. Returns early once
// stop is requested.
void WalkPictureFolder(const std::string& folder, const TPictureWalk& walk,
                       const std::function<void(std::vector<std::string>&&)>& found,
                       std::stop_token stop = {});

// Whether the file name has the extension of a picture format the slideshow shows.
bool IsPictureName(std::string_view name);

// Whether a folder of this name is one the picture walk passes over.
bool IsSkippedFolderName(std::string_view name);

// Appends the pictures of folder to list in WalkPictureFolder's order, skipping paths it
// already holds (compared without regard to case). The folder alone unless subfolders.
// A folder without its trailing separator gets one.
void BuildImageList(const std::string& folder, std::vector<std::string>& list,
                    bool subfolders = false);

}  // namespace pelwick
