// Temporary folders and files for tests.
#pragma once

#include <string>
#include <string_view>

namespace vorel::testing {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(std::string_view name) const;
  // Writes raw bytes; returns the file's path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
// `bytes` compressed by the command-line tool `tool` (gzip, bzip2, xz, zstd).
std::string CompressedWith(const std::string& tool, std::string_view bytes);
// UTF-8 text in CP932 bytes, and back.
std::string Sjis(std::string_view utf8);
std::string FromSjis(std::string_view bytes);

}  // namespace vorel::testing
