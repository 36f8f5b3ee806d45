#include "analysis/normalize.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "analysis/class_lists.h"
#include "platform/codepage.h"
#include "settings/param_store.h"
#include "settings/text_util.h"

namespace vorel::analysis {
namespace {

using settings::HexDigitValue;

// Well-formed UTF-8 with at least one character beyond ASCII.
bool IsMultiByteUtf8(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return platform::IsValidUtf8(bytes);
  return false;
}

// Percent escapes become the characters they stand for. Bytes of
// neighbouring escapes are decoded together: a run that is UTF-8 (what
// browsers send today) is taken as UTF-8, any other run as the code page, so
// a double-byte character written as two escapes (or as an escape and a
// plain ASCII character, as older browsers write it: %8BL) comes out whole.
std::string DecodePercents(std::string_view text) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::string out;
  std::string pendingBytes;
  // Decodes the collected bytes; a dangling lead byte may take the first
  // plain character as its second byte.
  auto flushBytes = [&](std::string_view& literal) {
    if (pendingBytes.empty()) return;
    if (IsMultiByteUtf8(pendingBytes)) {
      out.append(pendingBytes);
      pendingBytes.clear();
      return;
    }
    platform::Cp932Decoder decoder;
    decoder.Decode(pendingBytes, out);
    auto first = literal.empty() ? 0 : static_cast<unsigned char>(literal[0]);
    if (decoder.HasPendingLead() && first >= 0x40 && first <= 0x7E) {
      decoder.Decode(literal.substr(0, 1), out);
      literal.remove_prefix(1);
    }
    decoder.Finish(out);
    pendingBytes.clear();
  };
  size_t i = 0;
  while (i < text.size()) {
    size_t percent = text.find('%', i);
    std::string_view literal = text.substr(i, percent == std::string_view::npos ? std::string_view::npos : percent - i);
    if (!literal.empty()) {
      flushBytes(literal);
      out.append(literal);
    }
    if (percent == std::string_view::npos) break;
    // The (up to) two characters after the "%".
    size_t p = percent + 1;
    size_t taken = 0;
    int value = 0;
    bool hex = true;
    while (taken < 2 && p < text.size()) {
      const size_t start = p;
      platform::NextCodePoint(text, p);
      const size_t len = p - start;
      p = start;
      int h = len == 1 ? HexDigitValue(text[p]) : -1;
      if (h < 0) hex = false;
      else value = value * 16 + h;
      p += len;
      ++taken;
    }
    if (hex && taken > 0) pendingBytes.push_back(static_cast<char>(value));
    i = p;
  }
  std::string_view none;
  flushBytes(none);
  return out;
}

// Cuts each listed index name, and what follows it, out of the text.
std::string CutIndexNames(std::string text, const std::vector<std::string>& indexNames) {
  // Lower-casing keeps every character's byte length, so positions agree and
  // the lower-case copy is cut along with the text.
  std::string lower = settings::ToLowerText(text);
  for (const std::string& name : indexNames) {
    size_t p = lower.find(name);
    if (p != std::string::npos) {
      text.resize(p);
      lower.resize(p);
    }
  }
  return text;
}

void CutBefore(std::string& text, char c) {
  size_t p = text.find(c);
  if (p != std::string::npos) text.resize(p);
}

// Removes a ":" and a port number before the next "/"; of several, the last.
// Each part is judged on the text as it stood, so one scan finds the last
// qualifying part and the text is rebuilt once.
void RemovePortNumber(std::string& text) {
  size_t cut = std::string::npos, cutEnd = 0;
  size_t c = text.find(':');
  while (c != std::string::npos) {
    size_t s = text.find('/', c);
    size_t end = s == std::string::npos ? text.size() : s;
    std::string_view port = std::string_view(text).substr(c + 1, end - c - 1);
    std::string written = NumberTextOf(port);
    if (written != "0" && written.size() == port.size()) {
      cut = c;
      cutEnd = end;
    }
    if (s == std::string::npos) break;
    c = text.find(':', s);
  }
  // Nothing left besides the port: the text stays as it was.
  if (cut == std::string::npos || (cut == 0 && cutEnd == text.size())) return;
  text.erase(cut, cutEnd - cut);
}

std::string HostNameKey(std::string name, const NormalizeOptions& options) {
  if (options.smallize) name = settings::ToLowerText(name);
  size_t dots = 0;
  for (char ch : name) dots += ch == '.';
  if (dots == 0) return name;
  size_t drop = dots < 4 ? 1 : dots - 2;
  size_t p = 0;
  for (size_t k = 0; k < drop; ++k) p = name.find('.', p) + 1;
  return "*." + name.substr(p);
}

// Reads an IPv6 address in its text forms (groups of up to four hex digits,
// one "::" for a run of zero groups, an IPv4 tail in the last 32 bits) into
// its eight groups; false when the text is not such an address.
bool ParseIpv6(std::string_view text, std::array<uint16_t, 8>& groups) {
  std::array<uint16_t, 8> parsed{};
  int count = 0;
  int gap = -1;  // group index where "::" stands
  size_t i = 0;
  if (text.substr(0, 2) == "::") {
    gap = 0;
    i = 2;
    if (i == text.size()) {
      groups = parsed;
      return true;
    }
  } else if (!text.empty() && text[0] == ':') {
    return false;
  }
  while (i < text.size()) {
    if (count == 8) return false;
    size_t start = i;
    unsigned value = 0;
    while (i < text.size() && i - start < 5) {
      const int h = HexDigitValue(text[i]);
      if (h < 0) break;
      value = value * 16 + static_cast<unsigned>(h);
      ++i;
    }
    const size_t digits = i - start;
    if (i < text.size() && text[i] == '.') {
      // The IPv4 tail: four decimal parts, the last thing in the text.
      if (count > 6) return false;
      unsigned parts[4];
      size_t j = start;
      for (int k = 0; k < 4; ++k) {
        size_t from = j;
        unsigned part = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - from < 3) part = part * 10 + static_cast<unsigned>(text[j++] - '0');
        if (j == from || part > 255 || (j - from > 1 && text[from] == '0')) return false;
        parts[k] = part;
        if (k < 3) {
          if (j >= text.size() || text[j] != '.') return false;
          ++j;
        }
      }
      if (j != text.size()) return false;
      parsed[static_cast<size_t>(count++)] = static_cast<uint16_t>(parts[0] << 8 | parts[1]);
      parsed[static_cast<size_t>(count++)] = static_cast<uint16_t>(parts[2] << 8 | parts[3]);
      i = j;
      break;
    }
    if (digits == 0 || digits > 4) return false;
    parsed[static_cast<size_t>(count++)] = static_cast<uint16_t>(value);
    if (i == text.size()) break;
    if (text[i] != ':') return false;
    ++i;
    if (i < text.size() && text[i] == ':') {
      if (gap >= 0) return false;
      gap = count;
      ++i;
    } else if (i == text.size()) {
      return false;  // a single ":" at the end
    }
  }
  if (gap < 0) {
    if (count != 8) return false;
    groups = parsed;
    return true;
  }
  if (count > 7) return false;
  groups.fill(0);
  const int tail = count - gap;
  for (int k = 0; k < gap; ++k) groups[static_cast<size_t>(k)] = parsed[static_cast<size_t>(k)];
  for (int k = 0; k < tail; ++k) groups[static_cast<size_t>(8 - tail + k)] = parsed[static_cast<size_t>(gap + k)];
  return true;
}

// An IPv4-mapped IPv6 address (::ffff:a.b.c.d, as dual-stack servers log
// IPv4 visitors) is the IPv4 address it carries, dotted; any other text stays.
std::string WithoutIpv4Mapping(std::string_view address) {
  std::array<uint16_t, 8> groups;
  if (address.find(':') == std::string_view::npos || !ParseIpv6(address, groups)) return std::string(address);
  for (size_t k = 0; k < 5; ++k)
    if (groups[k] != 0) return std::string(address);
  if (groups[5] != 0xFFFF) return std::string(address);
  char dotted[16];
  std::snprintf(dotted, sizeof(dotted), "%u.%u.%u.%u", groups[6] >> 8u, groups[6] & 0xFFu, groups[7] >> 8u,
                groups[7] & 0xFFu);
  return dotted;
}

// The key of an address under class grouping; empty when no key could be built.
std::string AddressKey(std::string_view mappedOrPlain, bool specifyClass) {
  const std::string plain = WithoutIpv4Mapping(mappedOrPlain);
  std::string_view address = plain;
  if (!specifyClass) return plain;
  if (address.find(':') != std::string_view::npos) {
    // IPv6: the /48 prefix that a site is given, as "2001:db8:a:*".
    std::array<uint16_t, 8> groups;
    if (!ParseIpv6(address, groups)) return std::string(address);
    char key[32];
    std::snprintf(key, sizeof(key), "%x:%x:%x:*", groups[0], groups[1], groups[2]);
    return key;
  }
  // The first four parts; any after them play no part.
  std::array<std::string_view, 4> parts;
  size_t start = 0;
  for (size_t n = 0; n < 3; ++n) {
    const size_t dot = address.find('.', start);
    if (dot == std::string_view::npos) return {};
    parts[n] = address.substr(start, dot - start);
    start = dot + 1;
  }
  parts[3] = address.substr(start, address.find('.', start) - start);
  std::string a = NumberTextOf(parts[0]), b = NumberTextOf(parts[1]), c = NumberTextOf(parts[2]);
  double first = std::atof(a.c_str());
  if (first <= 126) return a + ".*.*.*";
  if (first <= 191) return a + "." + b + ".*.*";
  if (first <= 223) return a + "." + b + "." + c + ".*";
  return a + "." + b + "." + c + "." + std::string(parts[3]);
}

// The text without its last character (a whole UTF-8 character, not a byte).
std::string_view WithoutLastCharacter(std::string_view text) {
  if (text.empty()) return text;
  size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  size_t next = start;
  platform::NextCodePoint(text, next);
  if (next != text.size()) start = text.size() - 1;  // a malformed tail: one byte is one character
  return text.substr(0, start);
}

}  // namespace

NormalizeOptions NormalizeOptions::FromParams() {
  using settings::ParamFlag;
  NormalizeOptions o;
  o.codeChange = ParamFlag("CodeChange");
  o.ignoreIndex = ParamFlag("IgnoreIndex");
  o.ignoreQuestion = ParamFlag("IgnoreQuestion");
  o.ignoreSharp = ParamFlag("IgnoreSharp");
  o.ignorePortNo = ParamFlag("IgnorePortNo");
  o.smallize = ParamFlag("Smallize");
  o.specifyHost = ParamFlag("SpecifyHost");
  o.ignoreHost = ParamFlag("IgnoreHost");
  o.ignoreIP = ParamFlag("IgnoreIP");
  o.specifyClass = ParamFlag("SpecifyClass");
  return o;
}

std::string NumberTextOf(std::string_view text) {
  // Leading white space, a sign, digits (blanks between them are skipped),
  // a fraction and an exponent; whatever follows is ignored.
  size_t i = 0;
  auto skipBlanks = [&] { while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i; };
  skipBlanks();
  // A text that starts with none of a number's characters (a host name's
  // last label, as a rule) is 0 without further ado.
  if (i >= text.size() || !std::strchr("+-.0123456789", text[i])) return "0";
  // Plain digits that nothing after them extends (an address's part, a
  // port), the common case: written without their leading zeros, as the
  // floating-point way below writes a whole number below 1e15.
  size_t end = i;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end > i && end - i <= 15 && (end == text.size() || (text[end] != '\0' && !std::strchr(" .eEdD", text[end])))) {
    while (i + 1 < end && text[i] == '0') ++i;
    return std::string(text.substr(i, end - i));
  }
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.push_back(text[i++]);
  bool digits = false;
  auto readDigits = [&] {
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == ' ')) {
      if (text[i] != ' ') { number.push_back(text[i]); digits = true; }
      ++i;
    }
  };
  readDigits();
  if (i < text.size() && text[i] == '.') {
    number.push_back('.');
    ++i;
    readDigits();
  }
  if (digits && i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    size_t save = i;
    std::string exp = "e";
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exp.push_back(text[i++]);
    size_t expStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') exp.push_back(text[i++]);
    if (i > expStart) number += exp;
    else i = save;
  }
  if (!digits) return "0";
  double value = std::strtod(number.c_str(), nullptr);
  if (value == 0) return "0";
  if (!std::isfinite(value)) return "0";
  char buffer[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof(buffer), "%.0f", value);
  } else {
    std::snprintf(buffer, sizeof(buffer), "%.15g", value);
  }
  return buffer;
}

std::string NormalizeRef(std::string_view input, const NormalizeOptions& options,
                         const std::vector<std::string>& indexNames) {
  std::string text = options.codeChange ? DecodePercents(input) : std::string(input);
  if (options.ignoreIndex && !indexNames.empty()) text = CutIndexNames(std::move(text), indexNames);
  if (options.ignoreQuestion) CutBefore(text, '?');
  if (options.ignoreSharp) CutBefore(text, '#');
  if (options.ignorePortNo) RemovePortNumber(text);
  if (options.smallize) text = settings::ToLowerText(text);
  return text;
}

std::string FilterHostList(std::string_view record, bool ignoreHost, const std::vector<std::string>& hostFilter) {
  if (hostFilter.empty()) return std::string(record);
  std::string lower = settings::ToLowerText(record);
  for (const std::string& entry : hostFilter) {
    bool found = lower.find(entry) != std::string::npos;
    if (ignoreHost && found) return {};
    if (!ignoreHost && !found) return {};
  }
  return std::string(record);
}

std::string MakeHostKey(std::string_view input, const NormalizeOptions& options,
                        const std::vector<std::string>& hostFilter) {
  std::string record = options.specifyHost ? FilterHostList(input, options.ignoreHost, hostFilter) : std::string(input);
  if (record.empty()) return {};
  // Every host record carries "(" and the address; one without is malformed.
  size_t paren = record.find('(');
  if (paren == std::string::npos) return {};
  if (paren > 2) {
    std::string name = record.substr(2, paren - 2);
    size_t lastDot = name.rfind('.');
    std::string lastLabel = lastDot == std::string::npos ? name : name.substr(lastDot + 1);
    if (NumberTextOf(lastLabel) == "0") return HostNameKey(std::move(name), options);
  }
  if (options.ignoreIP) return {};
  std::string_view address = WithoutLastCharacter(std::string_view(record).substr(paren + 1));
  return AddressKey(address, options.specifyClass);
}

std::string NormalizeRef(std::string_view text) {
  return NormalizeRef(text, NormalizeOptions::FromParams(), Classes().indexNames);
}

std::string MakeHostKey(std::string_view record) {
  return MakeHostKey(record, NormalizeOptions::FromParams(), Classes().hostFilter);
}

std::string FilterHostList(std::string_view record) {
  return FilterHostList(record, settings::ParamFlag("IgnoreHost"), Classes().hostFilter);
}

}  // namespace vorel::analysis
