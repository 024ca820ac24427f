#include "app/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/Exception.h"
#include "app/PrivateFolder.h"
#include "app/Strings.h"

#ifdef _WIN32
#include <windows.h>
#include <QSaveFile>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pelwick {

fs::path ToPath(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

std::string FromPath(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

namespace {

[[maybe_unused]] QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string ExecutableFolder() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return FromPath(fs::path(std::wstring(buffer, n)).parent_path());
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : FromPath(exe.parent_path());
#endif
}

}  // namespace

std::string IncludeTrailingPathDelimiter(std::string_view folder) {
    std::string r(folder);
    if (r.empty() || r.back() != PathDelim) r += PathDelim;
    return r;
}

std::string ChooseProgramFolder(const TFolderFacts& facts) {
    if (!facts.Home.empty()) return IncludeTrailingPathDelimiter(facts.Home);
#ifdef _WIN32
    return IncludeTrailingPathDelimiter(facts.Executable);
#else
    // An installed program's folder is read-only; its settings belong to the user.
    if (facts.ExecutableHoldsWritableSettings)
        return IncludeTrailingPathDelimiter(facts.Executable);
    const bool configHomeUsable = !facts.ConfigHome.empty() && facts.ConfigHome[0] == '/';
    if (configHomeUsable) return IncludeTrailingPathDelimiter(facts.ConfigHome) + "pelwick/";
    if (!facts.UserHome.empty())
        return IncludeTrailingPathDelimiter(facts.UserHome) + ".config/pelwick/";
    return IncludeTrailingPathDelimiter(facts.Executable);
#endif
}

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string ProgramFolder() {
    TFolderFacts facts;
    facts.Home = Environment("PELWICK_HOME");
    if (!facts.Home.empty()) return ChooseProgramFolder(facts);
    facts.Executable = ExecutableFolder();
    const std::string exeFolder = IncludeTrailingPathDelimiter(facts.Executable);
    facts.ExecutableHoldsWritableSettings =
        FileExists(exeFolder + "Pelwick.ini") && FolderWritable(exeFolder);
    facts.ConfigHome = Environment("XDG_CONFIG_HOME");
    facts.UserHome = Environment("HOME");
    return ChooseProgramFolder(facts);
}

std::string UserConfigFolder() {
#ifdef _WIN32
    return {};
#else
    TFolderFacts facts;
    facts.ConfigHome = Environment("XDG_CONFIG_HOME");
    facts.UserHome = Environment("HOME");
    const std::string folder = ChooseProgramFolder(facts);
    return folder.ends_with("/pelwick/") ? folder : std::string();
#endif
}

bool FolderWritable(const std::string& folder) {
    if (!DirectoryExists(folder)) return false;
#ifdef _WIN32
    return true;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

void ForceFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(ToPath(folder), ec);
    if (ec || !DirectoryExists(folder))
        throw EFileError("Cannot create the folder \"" + folder +
                         "\": " + (ec ? ec.message() : std::string("not a folder")));
}

namespace {

// The private folder of this run, made when the page first needs it.
std::unique_ptr<TPrivateFolder>& PageFolder() {
    static std::unique_ptr<TPrivateFolder> folder;
    return folder;
}

// Where the page goes; "" when that is a private folder not made yet and make is false.
std::string PageFolderPath(bool make) {
    std::string program = ProgramFolder();
    if (UserOnlyFolder(program)) return program;
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (!runtime.empty() && UserOnlyFolder(runtime)) return IncludeTrailingPathDelimiter(runtime);
    std::unique_ptr<TPrivateFolder>& folder = PageFolder();
    // A folder removed under the program (a cleaner of old temporary files) may since have
    // been made again by someone else under its name: such a folder is never used.
    if (folder && !UserOnlyFolder(folder->Path())) {
        folder->Abandon();
        folder.reset();
    }
    if (!folder) {
        if (!make) return {};
        folder = std::make_unique<TPrivateFolder>(QDir::tempPath().toStdString());
    }
    return folder->Path();
}

std::string ItemPageName() {
    return "tmp-" + std::to_string(QCoreApplication::applicationPid()) + ".htm";
}

}  // namespace

std::string ItemPagePath() {
    return PageFolderPath(true) + ItemPageName();
}

void DeleteItemPage() {
    const std::string folder = PageFolderPath(false);
    if (!folder.empty()) DeleteFileIfExists(folder + ItemPageName());
    PageFolder().reset();
}

std::string ReadRegistryString(TRegistryRoot root, const std::string& key,
                               const std::string& valueName) {
#ifdef _WIN32
    HKEY rootKey = root == rrLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring wkey = ToQString(key).toStdWString();
    const std::wstring wname = ToQString(valueName).toStdWString();
    HKEY handle = nullptr;
    if (RegOpenKeyExW(rootKey, wkey.c_str() + (wkey.starts_with(L"\\") ? 1 : 0), 0, KEY_READ,
                      &handle) != ERROR_SUCCESS)
        return {};
    std::string result;
    DWORD type = 0, size = 0;
    const wchar_t* name = wname.empty() ? nullptr : wname.c_str();
    if (RegQueryValueExW(handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(handle, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                             &size) == ERROR_SUCCESS)
            result = QString::fromWCharArray(value.c_str()).toStdString();
    }
    RegCloseKey(handle);
    return result;
#else
    (void)root, (void)key, (void)valueName;
    return {};
#endif
}

std::string GetShellFolder(const std::string& name) {
#ifdef _WIN32
    std::string folder = ReadRegistryString(
        rrCurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        name);
#else
    QStandardPaths::StandardLocation location;
    if (SameText(name, "My Pictures"))
        location = QStandardPaths::PicturesLocation;
    else if (SameText(name, "Personal"))
        location = QStandardPaths::DocumentsLocation;
    else if (SameText(name, "Desktop"))
        location = QStandardPaths::DesktopLocation;
    else if (SameText(name, "My Music"))
        location = QStandardPaths::MusicLocation;
    else if (SameText(name, "My Video"))
        location = QStandardPaths::MoviesLocation;
    else
        return {};
    std::string folder =
        QDir::toNativeSeparators(QStandardPaths::writableLocation(location)).toStdString();
#endif
    return folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    // Iterative matcher with one backtrack point: linear in practice, no recursion.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    auto same = [&](char a, char b) { return fold(a) == fold(b); };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p, ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

void FindFiles(const std::string& folder, const std::string& pattern,
               std::vector<std::string>& list, bool withExtension) {
    list.clear();
    std::error_code ec;
    fs::directory_iterator it(ToPath(IncludeTrailingPathDelimiter(folder)), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = FromPath(it->path().filename());
        if (name == "." || name == ".." || !MatchesWildcard(name, pattern)) continue;
        std::error_code dirEc;
        if (it->is_directory(dirEc)) continue;
        const size_t dot = name.rfind('.');
        list.push_back(withExtension || dot == std::string::npos ? name : name.substr(0, dot));
    }
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(ToPath(path), ec) && !fs::is_directory(ToPath(path), ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(ToPath(path), ec);
}

bool DeleteFileIfExists(const std::string& path) {
    std::error_code ec;
    if (!FileExists(path)) return true;
    return fs::remove(ToPath(path), ec) && !ec;
}

#ifndef _WIN32
namespace {

// The old file's permissions when it is a regular file of this user's own; a link planted
// at the name, or someone else's file, must not decide who may read or change the new one.
mode_t NewFileMode(const std::string& fileName, TNewFileAccess access) {
    struct stat old {};
    if (::lstat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode) && old.st_uid == ::geteuid())
        return old.st_mode & 07777;
    if (access == naUserOnly) return 0600;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace
#endif

#ifdef _WIN32
void WriteFileAtomically(const std::string& fileName, std::string_view bytes, TNewFileAccess) {
    QSaveFile file(ToQString(fileName));
    auto fail = [&](const QString& reason) {
        throw EFileError("Cannot write \"" + fileName + "\": " + reason.toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        fail(file.errorString());
    if (!file.commit()) fail(file.errorString());
}
#else
// QSaveFile is not used here: it has been seen to report success after a short write (a full
// disk, a file size limit) and to rename the truncated file over the good one.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes,
                         TNewFileAccess access) {
    auto fail = [&](int error) {
        throw EFileError("Cannot write \"" + fileName + "\": " + std::strerror(error));
    };
    if (DirectoryExists(fileName)) fail(EISDIR);
    std::string temp = fileName + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) fail(errno);
    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        fail(error);
    };
    if (::fchmod(fd, NewFileMode(fileName, access)) != 0) abandon(errno);
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) abandon(n < 0 ? errno : EIO);
        done += size_t(n);
    }
    if (::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        fail(error);
    }
    if (::rename(temp.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        fail(error);
    }
}
#endif

std::string ReadFileBytes(const std::string& fileName, std::uint64_t maxBytes) {
    auto failure = [&](const std::string& why) {
        return EFileError("Cannot read \"" + fileName + "\": " + why);
    };
    auto tooLarge = [&] {
        return failure("it is larger than " + std::to_string(maxBytes) + " bytes");
    };
    if (DirectoryExists(fileName)) throw failure("it is a folder");
    const fs::path path = ToPath(fileName);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw failure(std::strerror(errno));
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxBytes) throw tooLarge();
    std::string bytes;
    if (!ec) bytes.reserve(size);
    // Read in steps up to the bound: a pipe or a device has no size to check beforehand.
    std::array<char, 1 << 16> buffer;
    for (;;) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        bytes.append(buffer.data(), got);
        if (bytes.size() > maxBytes) throw tooLarge();
    }
    if (in.bad()) throw failure("the file could not be read to its end");
    return bytes;
}

void SaveTextFile(std::string_view text, const std::string& fileName, TNewFileAccess access) {
    if (fileName.empty()) return;
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    size_t start = 0;
    while (start < text.size()) {
        const size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            out.append(text.substr(start)).append("\r\n");
            break;
        }
        out.append(text.substr(start, brk - start)).append("\r\n");
        start =
            brk + ((text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') ? 2 : 1);
    }
    WriteFileAtomically(fileName, out, access);
}

}  // namespace pelwick
