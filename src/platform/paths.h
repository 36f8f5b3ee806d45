// Where the program's own files live, and path helpers.
#pragma once

#include <string>
#include <string_view>

namespace vorel::platform {

// The folder of the running executable (without a trailing separator).
// Tests may point it elsewhere with SetProgramFolder.
std::string ProgramFolder();
void SetProgramFolder(std::string folder);

// folder + separator (unless folder already ends with one) + name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder part of a path, including its final separator; empty when the
// path has no separator.
std::string FolderWithSeparator(std::string_view path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates the folder and any missing parents (mode 0700); true when it exists afterwards.
bool MakeFolders(const std::string& folder);

// The user's configuration folder: $XDG_CONFIG_HOME when it is absolute,
// otherwise ~/.config.
std::string UserConfigFolder();

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Reading a file of settings or rules that must stay small: only a regular
// file of at most `maxBytes` is read, so a device or a FIFO named by mistake
// can neither block the program nor fill its memory.
enum class SmallFileProblem { None, Missing, NotRegular, TooLarge, Unreadable };
constexpr size_t kSmallFileLimit = 16 * 1024 * 1024;
SmallFileProblem ReadSmallFile(const std::string& path, std::string& bytes, size_t maxBytes = kSmallFileLimit);

}  // namespace vorel::platform
