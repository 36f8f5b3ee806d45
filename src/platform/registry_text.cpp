#include "platform/registry_text.h"

#include <cstdio>

#include "platform/codepage.h"

namespace vorel::platform {
namespace {

constexpr char kHeader[] = "; vorel per-user registry store (CP932)";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the well-formed UTF-8 sequence starting at `i` and its code
// point; 0 when the byte there starts no well-formed sequence.
size_t Utf8Sequence(std::string_view s, size_t i, char32_t& cp) {
  auto b0 = static_cast<unsigned char>(s[i]);
  size_t len = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (size_t k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static const char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void AppendHex(std::string& out, const char* format, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), format, value);
  out += buffer;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted, escaped text starting at `pos` (at the opening quote);
// leaves `pos` after the closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  size_t start = ++pos;
  while (pos < line.size() && line[pos] != '"') pos += line[pos] == '\\' ? 2 : 1;
  if (pos >= line.size()) return false;
  if (!UnescapeRegistryText(line.substr(start, pos - start), out)) return false;
  ++pos;
  return true;
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

RegistryKey* FindRegistryKey(RegistryDocument& document, std::string_view path) {
  for (RegistryKey& key : document)
    if (SameRegistryName(key.path, path)) return &key;
  return nullptr;
}

RegistryValue* FindRegistryValue(RegistryKey& key, std::string_view name) {
  for (RegistryValue& value : key.values)
    if (SameRegistryName(value.name, name)) return &value;
  return nullptr;
}

std::string EscapeRegistryText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    char32_t cp = 0;
    size_t len = Utf8Sequence(s, i, cp);
    if (len == 0) {  // a stray byte: kept as it is, by number
      AppendHex(out, "\\x%02X", b);
      ++i;
      continue;
    }
    if (len == 1) {
      switch (b) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
          if (b < 0x20 || b == 0x7F) AppendHex(out, "\\x%02X", b);
          else out.push_back(static_cast<char>(b));
      }
      ++i;
      continue;
    }
    std::string_view character = s.substr(i, len);
    if (Cp932ToUtf8(Utf8ToCp932(character)) == character) out.append(character);
    else AppendHex(out, "\\u{%X}", static_cast<unsigned>(cp));
    i += len;
  }
  return out;
}

bool UnescapeRegistryText(std::string_view s, std::string& out) {
  out.clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out.push_back(s[i]);
      continue;
    }
    if (++i >= s.size()) return false;
    switch (s[i]) {
      case '\\': out.push_back('\\'); break;
      case '"': out.push_back('"'); break;
      case 'r': out.push_back('\r'); break;
      case 'n': out.push_back('\n'); break;
      case 't': out.push_back('\t'); break;
      case 'x': {
        if (i + 2 >= s.size()) return false;
        int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      case 'u': {
        if (i + 1 >= s.size() || s[i + 1] != '{') return false;
        size_t close = s.find('}', i + 2);
        if (close == std::string_view::npos || close == i + 2 || close - (i + 2) > 6) return false;
        char32_t cp = 0;
        for (size_t k = i + 2; k < close; ++k) {
          int d = HexDigit(s[k]);
          if (d < 0) return false;
          cp = cp * 16 + static_cast<char32_t>(d);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        AppendUtf8(cp, out);
        i = close;
        break;
      }
      default: return false;
    }
  }
  return true;
}

std::string FormatRegistryText(const RegistryDocument& document) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const RegistryKey& key : document) {
    text += "\r\n[" + EscapeRegistryText(key.path) + "]\r\n";
    for (const RegistryValue& value : key.values)
      text += "\"" + EscapeRegistryText(value.name) + "\"=\"" + EscapeRegistryText(value.text) + "\"\r\n";
  }
  return Utf8ToCp932(text);
}

RegistryDocument ParseRegistryText(std::string_view bytes) {
  const std::string text = Cp932ToUtf8(bytes);
  RegistryDocument document;
  RegistryKey* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;

    if (line.front() == '[') {
      std::string path;
      current = nullptr;  // values after a broken header belong nowhere
      if (line.size() < 2 || line.back() != ']' || !UnescapeRegistryText(line.substr(1, line.size() - 2), path))
        continue;
      current = FindRegistryKey(document, path);
      if (!current) {
        document.push_back(RegistryKey{path, {}});
        current = &document.back();
      }
      continue;
    }
    if (!current) continue;
    size_t pos = 0;
    std::string name, value;
    if (!ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    if (!ReadQuoted(line, pos, value) || pos != line.size()) continue;
    if (RegistryValue* existing = FindRegistryValue(*current, name)) existing->text = std::move(value);
    else current->values.push_back(RegistryValue{std::move(name), std::move(value)});
  }
  return document;
}

}  // namespace vorel::platform
