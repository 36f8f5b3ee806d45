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

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace vorel::platform
