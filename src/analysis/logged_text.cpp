#include "analysis/logged_text.h"

#include "platform/codepage.h"
#include "settings/text_util.h"

namespace vorel::analysis {
namespace {

using settings::HexDigitValue;

// The byte of two hex digits at `at`, or -1. Control characters stay
// escaped: a line break or a NUL in a page name would break the reports' lines.
int HexByte(std::string_view s, size_t at) {
  if (at + 1 >= s.size()) return -1;
  const int high = HexDigitValue(s[at]), low = HexDigitValue(s[at + 1]);
  if (high < 0 || low < 0) return -1;
  const int byte = high * 16 + low;
  return byte < 0x20 || byte == 0x7F ? -1 : byte;
}

// Bytes to text: UTF-8 stays, anything else is read as CP932.
void AsText(std::string& bytes) {
  if (platform::IsValidUtf8(bytes)) return;
  bytes = platform::Cp932ToUtf8(bytes);
}

}  // namespace

void DecodeLoggedText(std::string_view logged, bool percents, std::string& out) {
  // Most texts are plain ASCII without an escape: one run, one copy.
  out.clear();
  bool high = false;
  size_t i = 0;
  while (i < logged.size()) {
    // The plain run up to the next escape goes over whole.
    size_t next = i;
    while (next < logged.size() && logged[next] != '\\' && !(percents && logged[next] == '%')) {
      high |= static_cast<unsigned char>(logged[next]) >= 0x80;
      ++next;
    }
    out.append(logged.substr(i, next - i));
    i = next;
    if (i >= logged.size()) break;
    int byte = -1;
    size_t length = 1;
    if (logged[i] == '%') {
      byte = HexByte(logged, i + 1);
      length = 3;
    } else if (i + 1 < logged.size() && (logged[i + 1] == '"' || logged[i + 1] == '\\')) {
      byte = static_cast<unsigned char>(logged[i + 1]);
      length = 2;
    } else if (i + 1 < logged.size() && logged[i + 1] == 'x') {
      byte = HexByte(logged, i + 2);
      length = 4;
    }
    if (byte < 0) {
      out.push_back(logged[i++]);  // not an escape: as logged
      continue;
    }
    out.push_back(static_cast<char>(byte));
    high |= byte >= 0x80;
    i += length;
  }
  if (high) AsText(out);
}

}  // namespace vorel::analysis
