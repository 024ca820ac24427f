#include "app/PrivateFolder.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/Exception.h"
#include "app/Files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelwick {

bool UserOnlyFolder(const std::string& folder) {
#ifdef _WIN32
    return DirectoryExists(folder);
#else
    std::string path = folder;
    while (path.size() > 1 && path.back() == PathDelim)
        path.pop_back();
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(path.c_str(), W_OK | X_OK) == 0;
#endif
}

TPrivateFolder::TPrivateFolder(const std::string& parent) {
    std::string pattern = IncludeTrailingPathDelimiter(parent) + "pelwick-XXXXXX";
#ifdef _WIN32
    // No other user can list or enter another's temporary folder on Windows.
    pattern.replace(pattern.size() - 6, 6, std::to_string(QCoreApplication::applicationPid()));
    ForceFolders(pattern);
#else
    // mkdtemp makes the folder 0700 under an unpredictable name, and fails rather than take
    // over anything that is already there.
    if (::mkdtemp(pattern.data()) == nullptr)
        throw EFileError("Cannot create a private folder in \"" + parent +
                         "\": " + std::strerror(errno));
#endif
    path_ = IncludeTrailingPathDelimiter(pattern);
}

TPrivateFolder::~TPrivateFolder() {
    if (path_.empty()) return;
    // Only what this program put there is in it; nothing to report if it is already gone.
    std::error_code ec;
    std::filesystem::remove_all(ToPath(path_), ec);
}

}  // namespace pelwick
