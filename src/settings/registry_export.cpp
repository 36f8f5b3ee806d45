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

namespace {

// A value holding a line break cannot stand between quotes; REGEDIT4 takes it
// as a string in hex form: its CP932 bytes and a closing 00, wrapped with "\"
// the way the registry editor wraps its own lines.
std::string RegHexLine(const std::string& name, const std::string& text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string line = platform::Utf8ToCp932("\"" + name + "\"=hex(1):");
  std::string bytes = platform::Utf8ToCp932(text);
  bytes.push_back('\0');
  size_t column = line.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    line.push_back(kDigits[b >> 4]);
    line.push_back(kDigits[b & 0x0F]);
    column += 2;
    if (i + 1 == bytes.size()) break;
    line.push_back(',');
    ++column;
    if (column > 76) {
      line += "\\\r\n  ";
      column = 2;
    }
  }
  return line + "\r\n";
}

}  // namespace

bool ExportRegFile(const std::string& path) {
  const std::string failure = std::string("レジストリの書き込みに失敗しました。") + "\r\n" + path;
  // A section without values counts as unreadable, as the platform registry reports it.
  std::vector<platform::RegistryValue> values = platform::RegistryListValues(kRegistrySection);
  while (values.empty()) {
    if (!platform::AskRetry(failure)) return false;
    values = platform::RegistryListValues(kRegistrySection);
  }
  std::string text = platform::Utf8ToCp932(std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\") +
                                           kRegistrySection + "]\r\n");
  for (const auto& value : values) {
    if (value.text.find_first_of("\r\n") == std::string::npos)
      text += platform::Utf8ToCp932("\"" + value.name + "\"=\"" + EscapeRegText(value.text) + "\"\r\n");
    else
      text += RegHexLine(value.name, value.text);
  }
  text += "\r\n";
  return platform::WriteFileSafely(path, text, failure);
}

}  // namespace vorel::settings
