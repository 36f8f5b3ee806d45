// The text form of the per-user registry store: key sections and their
// name/value pairs, in a CP932 text file that a person can still read.
//
//   [Software\\VB and VBA Program Settings\\Palvern Company\\vorel]
//   "MainWidth"="8400"
//
// Key paths, names and values are escaped (backslash, quote, control bytes and
// characters CP932 lacks), so any text survives, newlines included. A line
// that does not parse is skipped, so a damaged file yields what it still holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorel::platform {

struct RegistryValue {
  std::string name;
  std::string text;
  bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
  std::string path;
  std::vector<RegistryValue> values;  // in first-written order
};

using RegistryDocument = std::vector<RegistryKey>;

// Registry names compare without regard to ASCII letter case.
bool SameRegistryName(std::string_view a, std::string_view b);

RegistryKey* FindRegistryKey(RegistryDocument& document, std::string_view path);
RegistryValue* FindRegistryValue(RegistryKey& key, std::string_view name);

// CP932 bytes of the whole store.
std::string FormatRegistryText(const RegistryDocument& document);
RegistryDocument ParseRegistryText(std::string_view bytes);

// The escaping used inside the quotes and brackets (UTF-8 in and out; the
// escaped text holds only characters CP932 can carry).
std::string EscapeRegistryText(std::string_view utf8);
// False when `escaped` holds a broken escape.
bool UnescapeRegistryText(std::string_view escaped, std::string& out);

}  // namespace vorel::platform
