// The command-line switches of the desktop program and where its settings live.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace vorel::settings {

struct StartupFlags {
  bool useSettingsFile = true;  // false: the registry store (/USEREGS)
  bool deleteSettings = false;  // /DELREGS
};

// Reads the switches from the text after the program's name: a space or a tab
// ends a word; words are compared in upper case; the later of /USEFILE and
// /USEREGS wins; quotes mean nothing. Sets the run's flags and returns them.
StartupFlags ParseCommandLine(std::string_view arguments);
const StartupFlags& CurrentStartupFlags();

// "InitInfo": whether this run keeps its settings in the settings file (a
// flag); any other key gives an empty value.
std::variant<std::monostate, bool> GetInitInfo(std::string_view key);

}  // namespace vorel::settings
