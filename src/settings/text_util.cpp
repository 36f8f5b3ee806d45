#include "settings/text_util.h"

#include <cmath>
#include <cstdlib>

namespace vorel::settings {

std::string_view TrimSpaces(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

std::string_view TrimLeadingSpaces(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && text[b] == ' ') ++b;
  return text.substr(b);
}

namespace {
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

std::string ToLowerText(std::string_view s) {
  // An ASCII text, the usual case, is copied whole and lowered in place:
  // both loops are ones the compiler does sixteen bytes at a time.
  unsigned char bits = 0;
  for (char c : s) bits |= static_cast<unsigned char>(c);
  if (bits < 0x80) {
    std::string ascii(s);
    for (char& c : ascii) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return ascii;
  }
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      out.push_back(b0 >= 'A' && b0 <= 'Z' ? static_cast<char>(b0 + 32) : static_cast<char>(b0));
      ++i;
      continue;
    }
    // Two-byte sequences: Latin-1 capitals, Greek and Cyrillic capitals.
    if ((b0 & 0xE0) == 0xC0 && i + 1 < s.size()) {
      unsigned cp = ((b0 & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
      unsigned lower = cp;
      if ((cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) lower = cp + 0x20;
      else if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) lower = cp + 0x20;
      else if (cp >= 0x410 && cp <= 0x42F) lower = cp + 0x20;
      else if (cp >= 0x400 && cp <= 0x40F) lower = cp + 0x50;
      if (lower != cp) {
        out.push_back(static_cast<char>(0xC0 | (lower >> 6)));
        out.push_back(static_cast<char>(0x80 | (lower & 0x3F)));
        i += 2;
        continue;
      }
    }
    // Full-width capitals U+FF21..U+FF3A are EF BC A1..BA; lower case EF BD 81..9A.
    if (b0 == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBC) {
      auto b2 = static_cast<unsigned char>(s[i + 2]);
      if (b2 >= 0xA1 && b2 <= 0xBA) {
        out.push_back(static_cast<char>(0xEF));
        out.push_back(static_cast<char>(0xBD));
        out.push_back(static_cast<char>(b2 - 0xA1 + 0x81));
        i += 3;
        continue;
      }
    }
    out.push_back(static_cast<char>(b0));
    ++i;
  }
  return out;
}

std::optional<long long> ParseNumber(std::string_view text) {
  text = TrimSpaces(text);
  if (text.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  size_t digitsStart = i;
  long double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i++] - '0');
  bool anyDigits = i > digitsStart;
  if (i < text.size() && text[i] == '.') {
    ++i;
    long double scale = 0.1L;
    size_t fracStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      value += (text[i++] - '0') * scale;
      scale /= 10;
    }
    anyDigits = anyDigits || i > fracStart;
  }
  if (!anyDigits || i != text.size()) return std::nullopt;
  if (negative) value = -value;
  long double rounded = std::nearbyint(value);  // default rounding mode: half to even
  if (rounded > 9.2e18L || rounded < -9.2e18L) return std::nullopt;
  return static_cast<long long>(rounded);
}

}  // namespace vorel::settings
