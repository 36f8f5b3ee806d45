#include "analysis/normalize.h"

#include <cmath>
#include <cstdio>

#include "analysis/class_lists.h"
#include "platform/codepage.h"
#include "settings/param_store.h"
#include "settings/text_util.h"

namespace vorel::analysis {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}


// Percent escapes become the characters of the code page they stand for.
// Bytes of neighbouring escapes are decoded together, so a double-byte
// character written as two escapes (or as an escape and a plain ASCII
// character, as browsers write it: %8BL) comes out whole.
std::string DecodePercents(std::string_view text) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::string out;
  std::string pendingBytes;
  // Decodes the collected bytes; a dangling lead byte may take the first
  // plain character as its second byte.
  auto flushBytes = [&](std::string_view& literal) {
    if (pendingBytes.empty()) return;
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
      int h = len == 1 ? HexValue(text[p]) : -1;
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
  for (const std::string& name : indexNames) {
    // Lower-casing keeps every character's byte length, so positions agree.
    std::string lower = settings::ToLowerText(text);
    size_t p = lower.find(name);
    if (p != std::string::npos) text.resize(p);
  }
  return text;
}

void CutBefore(std::string& text, char c) {
  size_t p = text.find(c);
  if (p != std::string::npos) text.resize(p);
}

// Removes a ":" and a port number before the next "/"; of several, the last.
void RemovePortNumber(std::string& text) {
  std::string candidate;
  size_t c = text.find(':');
  while (c != std::string::npos) {
    size_t s = text.find('/', c);
    size_t end = s == std::string::npos ? text.size() : s;
    std::string port = text.substr(c + 1, end - c - 1);
    std::string written = NumberTextOf(port);
    if (written != "0" && written.size() == port.size())
      candidate = text.substr(0, c) + (s == std::string::npos ? std::string() : text.substr(s));
    if (s == std::string::npos) break;
    c = text.find(':', s);
  }
  if (!candidate.empty()) text = std::move(candidate);
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

std::string AddressKey(std::string_view address, bool specifyClass) {
  if (!specifyClass) return std::string(address);
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    size_t dot = address.find('.', start);
    parts.push_back(address.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (parts.size() < 4) return std::string(address);
  std::string a = NumberTextOf(parts[0]), b = NumberTextOf(parts[1]), c = NumberTextOf(parts[2]);
  double first = std::atof(a.c_str());
  if (first <= 126) return a + ".*.*.*";
  if (first <= 191) return a + "." + b + ".*.*";
  if (first <= 223) return a + "." + b + "." + c + ".*";
  return a + "." + b + "." + c + "." + std::string(parts[3]);
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
  size_t paren = record.find('(');
  bool isAddress = record.size() < 3 || record[2] == '(';
  if (!isAddress) {
    std::string name = record.substr(2, paren == std::string::npos ? std::string::npos : paren - 2);
    size_t lastDot = name.rfind('.');
    std::string lastLabel = lastDot == std::string::npos ? name : name.substr(lastDot + 1);
    if (NumberTextOf(lastLabel) == "0") return HostNameKey(std::move(name), options);
  }
  if (options.ignoreIP) return {};
  size_t from = paren == std::string::npos ? 0 : paren + 1;
  std::string_view address;
  if (record.size() > from) address = std::string_view(record).substr(from, record.size() - 1 - from);
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
