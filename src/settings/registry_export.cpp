// The registry section written out as a "REGEDIT4" file.
#include <string>

#include "platform/codepage.h"
#include "platform/prompter.h"
#include "platform/registry_store.h"
#include "platform/safe_file.h"
#include "settings/registry_settings.h"

namespace vorel::settings {

std::string EscapeRegText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    // A bare quote would end the string early and break the file for the import.
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return escaped;
}

bool ExportRegFile(const std::string& path) {
  const std::string failure = std::string("レジストリの書き込みに失敗しました。") + "\r\n" + path;
  // A section without values counts as unreadable, as the platform registry reports it.
  std::vector<platform::RegistryValue> values = platform::RegistryListValues(kRegistrySection);
  while (values.empty()) {
    if (!platform::AskRetry(failure)) return false;
    values = platform::RegistryListValues(kRegistrySection);
  }
  std::string text = std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\") + kRegistrySection + "]\r\n";
  for (const auto& value : values) text += "\"" + value.name + "\"=\"" + EscapeRegText(value.text) + "\"\r\n";
  text += "\r\n";
  return platform::WriteFileSafely(path, platform::Utf8ToCp932(text), failure);
}

}  // namespace vorel::settings
