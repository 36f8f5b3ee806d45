#include "analysis/logged_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

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

constexpr uint64_t kOnes = 0x0101010101010101ull, kHighBits = 0x8080808080808080ull;

// The high bit of each byte of `word` that equals `byte`, and of none before
// the first such byte.
inline uint64_t BytesEqual(uint64_t word, unsigned char byte) {
  const uint64_t x = word ^ (kOnes * byte);
  return (x - kOnes) & ~x & kHighBits;
}

// The position of the next "\\" (or "%" with `percents`) at or after `from`,
// or the text's end; `high` is set when a byte on the way is 0x80 or above.
// Eight bytes are looked at in one step: a log's texts are mostly long
// plain runs.
size_t NextEscape(std::string_view s, size_t from, bool percents, bool& high) {
  const char* p = s.data();
  size_t i = from;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    if constexpr (std::endian::native != std::endian::little) word = __builtin_bswap64(word);
    const uint64_t escapes = BytesEqual(word, '\\') | (percents ? BytesEqual(word, '%') : 0);
    if (escapes == 0) {
      high |= (word & kHighBits) != 0;
      continue;
    }
    const size_t at = static_cast<size_t>(std::countr_zero(escapes)) / 8;
    // Only the bytes before the escape are the run's.
    high |= at > 0 && (word & kHighBits & ((uint64_t{1} << (8 * at)) - 1)) != 0;
    return i + at;
  }
  for (; i < s.size() && s[i] != '\\' && !(percents && s[i] == '%'); ++i) high |= static_cast<unsigned char>(s[i]) >= 0x80;
  return i;
}

// Bytes to text: UTF-8 stays, anything else is read as CP932.
void AsText(std::string& bytes) {
  if (platform::IsValidUtf8(bytes)) return;
  bytes = platform::Cp932ToUtf8(bytes);
}

}  // namespace

void DecodeLoggedText(std::string_view logged, bool percents, std::string& out) {
  // Most texts are plain ASCII without an escape: one scan, one copy.
  out.clear();
  bool high = false;
  size_t i = 0;
  while (i < logged.size()) {
    // The plain run up to the next escape goes over whole.
    const size_t next = NextEscape(logged, i, percents, high);
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
