#include "platform/codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace vorel::platform {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Converts one CP932 character through iconv; 0 when iconv rejects it.
char32_t IconvDecodeOne(iconv_t cd, const char* bytes, size_t len) {
  char in[2] = {bytes[0], len > 1 ? bytes[1] : '\0'};
  char32_t cp = 0;
  char* inPtr = in;
  size_t inLeft = len;
  char* outPtr = reinterpret_cast<char*>(&cp);
  size_t outLeft = sizeof(cp);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return 0;
  return cp;
}

// The code page's mapping, read once from iconv so that it is exactly iconv's "CP932".
struct Cp932Tables {
  std::array<char32_t, 256> single{};                 // 0 = invalid or lead byte
  std::array<char32_t, 0x10000> dual{};               // index lead << 8 | trail; 0 = invalid
  std::unordered_map<char32_t, uint16_t> encode;      // code point -> CP932 bytes

  Cp932Tables() {
    iconv_t dec = iconv_open("UTF-32LE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-32LE");
    for (int b = 0; b < 0x80; ++b) single[b] = static_cast<char32_t>(b);
    for (int b = 0x80; b < 0x100; ++b) {
      if (IsLeadByte(static_cast<unsigned char>(b)) || dec == reinterpret_cast<iconv_t>(-1)) continue;
      char c = static_cast<char>(b);
      single[b] = IconvDecodeOne(dec, &c, 1);
    }
    if (dec != reinterpret_cast<iconv_t>(-1)) {
      for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
          if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
          char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
          dual[(lead << 8) | trail] = IconvDecodeOne(dec, pair, 2);
        }
      }
    }
    // Encoding: ask iconv for each character the code page holds, so duplicates
    // (NEC and IBM extensions) map back the way iconv maps them.
    auto addEncoding = [&](char32_t cp) {
      if (cp == 0 || cp < 0x80 || encode.count(cp) || enc == reinterpret_cast<iconv_t>(-1)) return;
      char32_t in = cp;
      char out[4];
      char* inPtr = reinterpret_cast<char*>(&in);
      size_t inLeft = sizeof(in);
      char* outPtr = out;
      size_t outLeft = sizeof(out);
      iconv(enc, nullptr, nullptr, nullptr, nullptr);
      if (iconv(enc, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return;
      size_t n = sizeof(out) - outLeft;
      if (n == 1) encode[cp] = static_cast<unsigned char>(out[0]);
      else if (n == 2) encode[cp] = static_cast<uint16_t>((static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]));
    };
    for (char32_t cp : single) addEncoding(cp);
    for (char32_t cp : dual) addEncoding(cp);
    if (dec != reinterpret_cast<iconv_t>(-1)) iconv_close(dec);
    if (enc != reinterpret_cast<iconv_t>(-1)) iconv_close(enc);
  }
};

const Cp932Tables& Tables() {
  static const Cp932Tables tables;
  return tables;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      len = 3;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      len = 4;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (i + len > bytes.size()) return false;
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    if (b1 < lo || b1 > hi) return false;
    for (size_t k = 2; k < len; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

long NextCodePoint(std::string_view s, size_t& i) {
  auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) { ++i; return b0; }
  int len = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + len > s.size()) { ++i; return -1; }
  long cp = b0 & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) { ++i; return -1; }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

void Cp932Decoder::Decode(std::string_view bytes, std::string& out) {
  const Cp932Tables& t = Tables();
  size_t i = 0;
  const size_t n = bytes.size();
  out.reserve(out.size() + n);
  if (pendingLead_ >= 0 && n > 0) {
    auto trail = static_cast<unsigned char>(bytes[0]);
    char32_t cp = IsTrailByte(trail) ? t.dual[(pendingLead_ << 8) | trail] : 0;
    pendingLead_ = -1;
    // The same as when both bytes arrive in one piece: an unassigned pair is
    // one U+FFFD, and only a byte that cannot be a second byte stays for itself.
    if (cp != 0) AppendUtf8(cp, out);
    else out.append(kReplacement);
    if (IsTrailByte(trail)) i = 1;
  }
  while (i < n) {
    // ASCII runs are by far the most common: copy them in one piece.
    size_t start = i;
    while (i + 8 <= n) {
      uint64_t word;
      __builtin_memcpy(&word, bytes.data() + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    if (i > start) out.append(bytes.data() + start, i - start);
    if (i >= n) break;
    auto b = static_cast<unsigned char>(bytes[i]);
    if (IsLeadByte(b)) {
      if (i + 1 >= n) {
        pendingLead_ = b;
        ++i;
        break;
      }
      auto trail = static_cast<unsigned char>(bytes[i + 1]);
      char32_t cp = IsTrailByte(trail) ? t.dual[(b << 8) | trail] : 0;
      if (cp != 0) {
        AppendUtf8(cp, out);
        i += 2;
      } else {
        out.append(kReplacement);
        i += IsTrailByte(trail) ? 2 : 1;  // keep a non-trail byte (say an LF) for itself
      }
    } else {
      char32_t cp = t.single[b];
      if (cp != 0) AppendUtf8(cp, out);
      else out.append(kReplacement);
      ++i;
    }
  }
}

void Cp932Decoder::Finish(std::string& out) {
  if (pendingLead_ >= 0) out.append(kReplacement);
  pendingLead_ = -1;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  Cp932Decoder decoder;
  std::string out;
  decoder.Decode(bytes, out);
  decoder.Finish(out);
  return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
  const Cp932Tables& t = Tables();
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    long cp = NextCodePoint(utf8, i);
    if (cp < 0) { out.push_back('?'); continue; }
    if (cp < 0x80) { out.push_back(static_cast<char>(cp)); continue; }
    auto it = t.encode.find(static_cast<char32_t>(cp));
    if (it == t.encode.end()) { out.push_back('?'); continue; }
    if (it->second > 0xFF) out.push_back(static_cast<char>(it->second >> 8));
    out.push_back(static_cast<char>(it->second & 0xFF));
  }
  return out;
}

size_t Utf8Length(std::string_view utf8) {
  size_t count = 0;
  for (size_t i = 0; i < utf8.size();) {
    NextCodePoint(utf8, i);
    ++count;
  }
  return count;
}

}  // namespace vorel::platform
