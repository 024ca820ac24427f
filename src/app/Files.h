#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "app/Geometry.h"

namespace pelwick {

// The one place that knows how this platform joins paths.
#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

std::string IncludeTrailingPathDelimiter(std::string_view folder);

// Paths are UTF-8 strings everywhere in the program; these convert at the library's edge.
std::filesystem::path ToPath(const std::string& s);
std::string FromPath(const std::filesystem::path& p);

// Where the settings file lives, with a trailing separator: $PELWICK_HOME when it is set and
// not empty; else the folder of the running executable when it holds a Pelwick.ini that can
// be rewritten there (a portable folder, and always on Windows); else the user's
// configuration folder, $XDG_CONFIG_HOME/pelwick/ or ~/.config/pelwick/ (created by the
// first save).
std::string ProgramFolder();

// What ProgramFolder decides from, so that the rule can be tried on any system.
struct TFolderFacts {
    std::string Home;        // $PELWICK_HOME
    std::string Executable;  // the executable's folder
    bool ExecutableHoldsWritableSettings = false;
    std::string ConfigHome;  // $XDG_CONFIG_HOME
    std::string UserHome;    // $HOME
};
std::string ChooseProgramFolder(const TFolderFacts& facts);
// The user's configuration folder for Pelwick, as ProgramFolder would choose it; "" on
// Windows.
std::string UserConfigFolder();

// The current item's page: one per process (savers on several monitors may share a program
// folder), in a folder only this user can write, so that the page the card reads back is the
// one it wrote: the program folder when it is such a folder, else $XDG_RUNTIME_DIR when it
// is, else a private folder made for this run in the temporary folder (TPrivateFolder).
std::string ItemPagePath();
// Deletes the page, and the private folder made for it if there is one.
void DeleteItemPage();

// Whether the folder exists and this process may create files in it.
bool FolderWritable(const std::string& folder);
// Creates a folder and its missing parents; raises EFileError when it cannot.
void ForceFolders(const std::string& folder);

// The folder of a well-known shell folder such as "My Pictures", with a trailing separator,
// or "" when the desktop does not know one.
std::string GetShellFolder(const std::string& name);

enum TRegistryRoot { rrCurrentUser, rrLocalMachine };

// Reads a string value from the Windows registry; "" for any failure and on other systems.
std::string ReadRegistryString(TRegistryRoot root, const std::string& key,
                               const std::string& valueName);

// Fills list (cleared first) with the names of the files in folder matching a wildcard
// pattern ("*" and "?", letters compared without case). Folders are skipped. Without
// withExtension a name loses everything from its last ".". Order is the file system's.
void FindFiles(const std::string& folder, const std::string& pattern,
               std::vector<std::string>& list, bool withExtension);

bool MatchesWildcard(std::string_view name, std::string_view pattern);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Deletes a file when it exists; returns whether a file is gone afterwards.
bool DeleteFileIfExists(const std::string& path);

// Who may use a file that is written anew. A file replaced keeps its permissions only when it
// is a regular file of this user's own; what a symbolic link points to lends it nothing.
enum TNewFileAccess {
    naUmaskDefault,  // what the umask leaves of read and write for everyone
    naUserOnly,      // read and write for this user alone (0600)
};

// Writes text line by line, each line ended by CR LF. A line ends at CR, LF or CR LF; a NUL
// ends the text. Bytes are written as they are. Raises EFileError when the file cannot be
// written; an existing file is then left as it was.
void SaveTextFile(std::string_view text, const std::string& fileName,
                  TNewFileAccess access = naUmaskDefault);

// Replaces the file's contents in one step: a temporary file in the same folder is written,
// flushed and renamed over the old one. Raises EFileError naming the file and the reason.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes,
                         TNewFileAccess access = naUmaskDefault);

// Reads a whole file; raises EFileError when it cannot be read or holds more than maxBytes
// (which is checked before anything is read when the file has a size).
std::string ReadFileBytes(const std::string& fileName,
                          std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

}  // namespace pelwick
