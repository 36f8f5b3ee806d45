#include "support/test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/codepage.h"

namespace vorel::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vorel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  std::string p = File(name);
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string CompressedWith(const std::string& tool, std::string_view bytes) {
  TempDir dir;
  const std::string input = dir.Write("input", bytes);
  const std::string output = dir.File("output");
  const std::string command = tool + " -c < '" + input + "' > '" + output + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error(tool + " failed");
  return ReadFile(output);
}

std::string Sjis(std::string_view utf8) { return platform::Utf8ToCp932(utf8); }
std::string FromSjis(std::string_view bytes) { return platform::Cp932ToUtf8(bytes); }

}  // namespace vorel::testing
