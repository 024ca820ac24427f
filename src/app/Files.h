#pragma once

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

// $PELWICK_HOME when it is set and not empty, else the folder of the running executable;
// always with a trailing separator.
std::string ProgramFolder();

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

// Writes text line by line, each line ended by CR LF. A line ends at CR, LF or CR LF; a NUL
// ends the text. Bytes are written as they are. Raises EFileError when the file cannot be
// written; an existing file is then left as it was.
void SaveTextFile(std::string_view text, const std::string& fileName);

// Replaces the file's contents in one step: a temporary file in the same folder is written,
// flushed and renamed over the old one. Raises EFileError naming the file and the reason.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);

// Reads a whole file; raises EFileError when it cannot be read.
std::string ReadFileBytes(const std::string& fileName);

}  // namespace pelwick
