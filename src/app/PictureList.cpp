#include "app/PictureList.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <utility>

#include "app/Files.h"
#include "app/Strings.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace pelwick {

namespace {

// The extensions of the picture formats' table (PictureFormats in gfx/PictureDecoders.h).
// The table is in gfx, above this library, so it cannot be consulted here; a test of the
// table checks that these follow it.
constexpr std::array<std::string_view, 9> PictureExtensions = {
    ".jpg", ".jpeg", ".gif", ".bmp", ".png", ".webp", ".heic", ".heif", ".avif"};

// Folders that photo tools, file servers and file systems keep for themselves: thumbnails,
// previews, recycle bins. Their pictures are copies, or not the user's at all.
constexpr std::array<std::string_view, 6> SkippedFolders = {
    "@eaDir", "#recycle", "#snapshot", "$RECYCLE.BIN", "System Volume Information", "lost+found"};
// Catalogue previews are kept in folders named after the catalogue with this suffix.
constexpr std::string_view PreviewFolderSuffix = ".lrdata";

// What identifies a folder however it is reached: a link to a folder already entered, or a
// loop of links, is then seen for what it is.
using TFolderId = std::pair<std::uint64_t, std::uint64_t>;

std::optional<TFolderId> FolderId(const std::string& folder) {
#ifdef _WIN32
    std::error_code ec;
    const fs::path canonical = fs::canonical(ToPath(folder), ec);
    if (ec) return std::nullopt;
    return TFolderId{0, std::hash<std::string>{}(FoldText(FromPath(canonical)))};
#else
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return std::nullopt;
    return TFolderId{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
#endif
}

// One folder's entries: its picture files and the folders to enter, each in natural order.
struct TFolderEntries {
    std::vector<std::string> Pictures;
    std::vector<std::string> Folders;
};

TFolderEntries ReadFolder(const std::string& folder, bool withFolders,
                          const std::stop_token& stop) {
    TFolderEntries entries;
    std::error_code ec;
    fs::directory_iterator it(ToPath(folder), ec), end;
    for (; !ec && it != end && !stop.stop_requested(); it.increment(ec)) {
        std::string name = FromPath(it->path().filename());
        std::error_code typeEc;
        // Follows a link, so that a link to a folder is a folder; the walk's identities
        // keep that from looping.
        if (it->is_directory(typeEc)) {
            if (withFolders && !IsSkippedFolderName(name))
                entries.Folders.push_back(std::move(name));
        } else if (IsPictureName(name) && !name.starts_with("._")) {
            // "._" files are another system's resource forks beside the pictures they
            // belong to, never pictures themselves.
            entries.Pictures.push_back(std::move(name));
        }
    }
    std::sort(entries.Pictures.begin(), entries.Pictures.end(), LessNatural);
    std::sort(entries.Folders.begin(), entries.Folders.end(), LessNatural);
    return entries;
}

class TWalk {
  public:
    TWalk(const TPictureWalk& walk, const std::function<void(std::vector<std::string>&&)>& found,
          std::stop_token stop)
        : walk_(walk), found_(found), stop_(std::move(stop)) {}

    void Enter(const std::string& folder, int depth) {
        const std::optional<TFolderId> id = FolderId(folder);
        if (id && !entered_.insert(*id).second) return;
        TFolderEntries entries =
            ReadFolder(folder, walk_.Subfolders && depth < walk_.MaxDepth, stop_);
        if (!entries.Pictures.empty()) {
            for (std::string& name : entries.Pictures)
                name.insert(0, folder);
            found_(std::move(entries.Pictures));
        }
        for (const std::string& name : entries.Folders) {
            if (stop_.stop_requested()) return;
            Enter(folder + name + PathDelim, depth + 1);
        }
    }

  private:
    const TPictureWalk& walk_;
    const std::function<void(std::vector<std::string>&&)>& found_;
    std::stop_token stop_;
    std::set<TFolderId> entered_;
};

}  // namespace

TPictureList::TPictureList() : index_(0, THash{this}, TSame{this}) {}

std::size_t TPictureList::THash::operator()(std::uint32_t i) const {
    // FNV-1a over the folded path; ASCII paths, nearly all of them, are folded on the way.
    const std::string_view path = list->At(i);
    const bool ascii = std::all_of(path.begin(), path.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::string folded = ascii ? std::string() : FoldText(path);
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : ascii ? path : std::string_view(folded)) {
        const char lower = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        hash = (hash ^ static_cast<unsigned char>(lower)) * 0x100000001B3ull;
    }
    return static_cast<std::size_t>(hash);
}

bool TPictureList::TSame::operator()(std::uint32_t a, std::uint32_t b) const {
    return SameText(list->At(a), list->At(b));
}

bool TPictureList::Add(std::string path) {
    if (Contains(path)) return false;
    paths_.push_back(std::move(path));
    index_.insert(std::uint32_t(paths_.size() - 1));
    return true;
}

int TPictureList::IndexOf(std::string_view path) const {
    probe_ = path;
    const auto found = index_.find(Probe);
    probe_ = {};
    return found == index_.end() ? -1 : static_cast<int>(*found);
}

bool IsPictureName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    return std::any_of(PictureExtensions.begin(), PictureExtensions.end(),
                       [&](std::string_view e) { return SameText(e, extension); });
}

bool IsSkippedFolderName(std::string_view name) {
    if (name.empty() || name.front() == '.') return true;
    if (name.size() > PreviewFolderSuffix.size() &&
        SameText(name.substr(name.size() - PreviewFolderSuffix.size()), PreviewFolderSuffix))
        return true;
    return std::any_of(SkippedFolders.begin(), SkippedFolders.end(),
                       [&](std::string_view skipped) { return SameText(skipped, name); });
}

void WalkPictureFolder(const std::string& folder, const TPictureWalk& walk,
                       const std::function<void(std::vector<std::string>&&)>& found,
                       std::stop_token stop) {
    if (!DirectoryExists(folder)) return;
    TWalk(walk, found, std::move(stop)).Enter(IncludeTrailingPathDelimiter(folder), 0);
}

void BuildImageList(const std::string& folder, std::vector<std::string>& list, bool subfolders) {
    TPictureList listed;
    for (const std::string& path : list)
        listed.Add(path);
    WalkPictureFolder(folder, {.Subfolders = subfolders}, [&](std::vector<std::string>&& found) {
        for (std::string& path : found)
            if (listed.Add(path)) list.push_back(std::move(path));
    });
}

}  // namespace pelwick
