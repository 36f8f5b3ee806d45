#include "settings/startup.h"

#include "settings/text_util.h"

namespace vorel::settings {
namespace {

StartupFlags& RunFlags() {
  static StartupFlags flags;
  return flags;
}

}  // namespace

StartupFlags ParseCommandLine(std::string_view arguments) {
  StartupFlags flags;
  std::string word;
  auto endWord = [&] {
    const std::string upper = ToUpperAscii(word);
    if (upper == "/USEFILE") flags.useSettingsFile = true;
    else if (upper == "/USEREGS") flags.useSettingsFile = false;
    else if (upper == "/DELREGS") flags.deleteSettings = true;
    word.clear();
  };
  for (char c : arguments) {
    if (c == ' ' || c == '\t') endWord();
    else word.push_back(c);
  }
  endWord();  // the last word has no separator after it
  RunFlags() = flags;
  return flags;
}

const StartupFlags& CurrentStartupFlags() { return RunFlags(); }

std::variant<std::monostate, bool> GetInitInfo(std::string_view key) {
  if (key == "InitInfo") return RunFlags().useSettingsFile;
  return std::monostate{};
}

}  // namespace vorel::settings
