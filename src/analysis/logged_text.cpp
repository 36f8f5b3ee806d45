#include "analysis/logged_text.h"

#include "platform/codepage.h"

namespace vorel::analysis {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte of two hex digits at `at`, or -1. Control characters stay
// escaped: a line break or a NUL in a page name would break the reports' lines.
int HexByte(std::string_view s, size_t at) {
  if (at + 1 >= s.size()) return -1;
  const int high = HexValue(s[at]), low = HexValue(s[at + 1]);
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
  // Most texts are plain ASCII without an escape: one scan, one copy.
  size_t first = 0;
  bool high = false;
  for (; first < logged.size(); ++first) {
    const auto c = static_cast<unsigned char>(logged[first]);
    if (c == '\\' || (percents && c == '%')) break;
    high |= c >= 0x80;
  }
  out.assign(logged.substr(0, first));
  for (size_t i = first; i < logged.size(); ++i) {
    const char c = logged[i];
    if (c == '\\' && i + 1 < logged.size()) {
      const char next = logged[i + 1];
      if (next == '"' || next == '\\') {
        out.push_back(next);
        ++i;
        continue;
      }
      if (next == 'x') {
        const int byte = HexByte(logged, i + 2);
        if (byte >= 0) {
          out.push_back(static_cast<char>(byte));
          high |= byte >= 0x80;
          i += 3;
          continue;
        }
      }
    } else if (c == '%' && percents) {
      const int byte = HexByte(logged, i + 1);
      if (byte >= 0) {
        out.push_back(static_cast<char>(byte));
        high |= byte >= 0x80;
        i += 2;
        continue;
      }
    }
    high |= static_cast<unsigned char>(c) >= 0x80;
    out.push_back(c);
  }
  if (high) AsText(out);
}

}  // namespace vorel::analysis
