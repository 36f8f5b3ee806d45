// Shared pieces of the fuzz targets: a scratch folder for the files a target
// writes, and a prompter that answers every message without a screen.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/prompter.h"

namespace vorel::fuzz {

// One folder per process, removed with its files when the process ends.
inline const std::string& ScratchFolder() {
  // The name also lives in a plain array: the exit handler runs after the
  // string has been destroyed.
  static char made[] = "/tmp/vorel-fuzz-XXXXXX";
  static const std::string folder = [] {
    if (!::mkdtemp(made)) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(made, ignored);
    });
    return std::string(made);
  }();
  return folder;
}

inline std::string ScratchFile(std::string_view name) { return ScratchFolder() + "/" + std::string(name); }

inline std::string WriteScratch(std::string_view name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFile(name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

// Answers like a user who cancels; forgets what it was asked.
class QuietPrompter : public platform::ScriptedPrompter {
 public:
  platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override {
    messages.clear();
    return platform::ScriptedPrompter::ShowMessage(request);
  }
};

inline void InstallQuietPrompter() {
  static QuietPrompter prompter;
  static platform::ScopedPrompter scope{prompter};
}

}  // namespace vorel::fuzz
