#include "analysis/server_log.h"

#include <array>
#include <cstring>

#include "analysis/logged_text.h"
#include "analysis/logged_time.h"

namespace vorel::analysis {
namespace {

// A small cursor over the line; every step is linear in what it consumes.
struct Cursor {
  std::string_view s;
  size_t pos = 0;

  bool AtEnd() const { return pos >= s.size(); }
  bool Take(char c) {
    if (pos < s.size() && s[pos] == c) {
      ++pos;
      return true;
    }
    return false;
  }
  // A run of non-space characters, at least one.
  bool Token(std::string_view& out) {
    size_t start = pos;
    while (pos < s.size() && s[pos] != ' ') ++pos;
    out = s.substr(start, pos - start);
    return pos > start;
  }
  bool Spaces() {
    size_t start = pos;
    while (pos < s.size() && s[pos] == ' ') ++pos;
    return pos > start;
  }
  // "[...]": the text inside.
  bool Bracketed(std::string_view& out) {
    if (!Take('[')) return false;
    size_t close = s.find(']', pos);
    if (close == std::string_view::npos) return false;
    out = s.substr(pos, close - pos);
    pos = close + 1;
    return true;
  }
  // A quoted field; servers escape a quote inside it as \" and a backslash as \\.
  // The raw text between the quotes goes to `raw`. A quote ends the field
  // when an even number of backslashes stands before it.
  bool Quoted(std::string_view& raw) {
    if (!Take('"')) return false;
    size_t start = pos;
    while (pos < s.size()) {
      const void* hit = std::memchr(s.data() + pos, '"', s.size() - pos);
      if (!hit) break;
      size_t quote = static_cast<size_t>(static_cast<const char*>(hit) - s.data());
      size_t backslashes = 0;
      while (quote - backslashes > start && s[quote - backslashes - 1] == '\\') ++backslashes;
      pos = quote + 1;
      if (backslashes % 2 == 0) {
        raw = s.substr(start, quote - start);
        return true;
      }
    }
    pos = s.size();
    return false;
  }
};

// "-" stands for an absent field.
void AssignField(std::string_view raw, bool percents, std::string& out) {
  if (raw == "-") out.clear();
  else DecodeLoggedText(raw, percents, out);
}

// The last steps of a parsed line: the page's path, and the texts decoded.
void FinishLine(ServerLogLine& out, TextDecoding decoding) {
  out.path = PagePath(out.target);
  if (decoding == TextDecoding::None || !out.combined || !IsPageView(out)) return;
  DecodeReferrer(out.rawReferrer, out.referrer);
  DecodeAgent(out.rawAgent, out.agent);
}

void ClearLine(ServerLogLine& out) {
  out.host = out.time = out.method = out.target = out.path = {};
  out.status = 0;
  out.combined = false;
  out.rawReferrer = out.rawAgent = {};
  out.referrer.clear();
  out.agent.clear();
}

// The request line: METHOD TARGET [PROTOCOL]; "-" or garbage leaves no method.
void SplitRequest(std::string_view request, ServerLogLine& out) {
  size_t sp1 = request.find(' ');
  if (sp1 == std::string_view::npos || sp1 == 0) return;
  std::string_view rest = request.substr(sp1 + 1);
  size_t sp2 = rest.find(' ');
  out.method = request.substr(0, sp1);
  out.target = sp2 == std::string_view::npos ? rest : rest.substr(0, sp2);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool Digits(std::string_view s, size_t pos, size_t count) {
  if (pos + count > s.size()) return false;
  for (size_t i = 0; i < count; ++i)
    if (!IsDigit(s[pos + i])) return false;
  return true;
}

bool ParseStatus(std::string_view status, int& out) {
  if (status.size() != 3 || !Digits(status, 0, 3)) return false;
  out = (status[0] - '0') * 100 + (status[1] - '0') * 10 + (status[2] - '0');
  return true;
}

// "www.example.jp:443", the virtual host and port of vhost_combined.
bool IsVirtualHostAndPort(std::string_view token) {
  const size_t colon = token.rfind(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == token.size() || token.size() - colon > 6) return false;
  return Digits(token, colon + 1, token.size() - colon - 1);
}

// A literal of the layout at `pos`; a space in it stands for a run of spaces.
bool TakeLiteral(std::string_view line, size_t& pos, std::string_view literal) {
  for (size_t k = 0; k < literal.size(); ++k) {
    if (pos >= line.size() || line[pos] != literal[k]) return false;
    ++pos;
    if (literal[k] == ' ')
      while (pos < line.size() && line[pos] == ' ') ++pos;
  }
  return true;
}

// The extensions of pages, as opposed to images, style sheets and the like.
bool IsPageExtension(std::string_view extension) {
  if (extension.size() < 2 || extension.size() > 5) return false;
  static constexpr std::array<std::string_view, 10> kPageExtensions = {"html", "htm", "shtml", "xhtml", "php",
                                                                        "cgi",  "pl",  "asp",   "aspx",  "jsp"};
  for (std::string_view e : kPageExtensions)
    if (EqualsIgnoringCase(extension, e)) return true;
  return false;
}

}  // namespace

void DecodeReferrer(std::string_view raw, std::string& out) { AssignField(raw, false, out); }

void DecodeAgent(std::string_view raw, std::string& out) { AssignField(raw, true, out); }

// Dotted digits (IPv4), or hex digits with colons (IPv6, perhaps with an
// IPv4 tail). Host names always hold a letter beyond a-f or lack a colon.
// The kinds of all the bytes are gathered first and judged once: a mix of
// addresses and names would otherwise mispredict at nearly every byte.
bool LooksLikeAddress(std::string_view host) {
  enum : uint8_t { kDigit = 1, kDot = 2, kColon = 4, kHexLetter = 8, kOther = 16 };
  static constexpr std::array<uint8_t, 256> kKinds = [] {
    std::array<uint8_t, 256> kinds{};
    kinds.fill(kOther);
    for (int c = '0'; c <= '9'; ++c) kinds[static_cast<size_t>(c)] = kDigit;
    for (int c = 'a'; c <= 'f'; ++c) kinds[static_cast<size_t>(c)] = kinds[static_cast<size_t>(c - 'a' + 'A')] = kHexLetter;
    kinds['.'] = kDot;
    kinds[':'] = kColon;
    return kinds;
  }();
  uint8_t seen = 0;
  for (char c : host) seen |= kKinds[static_cast<unsigned char>(c)];
  if (seen & kOther) return false;
  if (seen & kColon) return true;
  return (seen & kHexLetter) == 0 && (seen & kDot) != 0;
}

bool ParseServerLogLine(std::string_view line, ServerLogLine& out, TextDecoding decoding) {
  Cursor c{line};
  std::string_view first, status, bytes, request;
  ClearLine(out);
  if (!c.Token(first) || !c.Spaces()) return false;
  // A forwarded list "visitor, proxy, ...": the first address is the visitor.
  std::string_view last = first;
  while (last.back() == ',')
    if (!c.Token(last) || !c.Spaces()) return false;
  out.host = first.substr(0, first.find(','));
  if (out.host.empty()) return false;
  // ident, and the user unless absent ("- -" then "["); before them, in
  // vhost_combined, the virtual host and port.
  std::string_view fields[3];
  size_t count = 0;
  // Most servers log neither: "- - [" then, and nothing to look into.
  if (line.substr(c.pos, 5) == "- - [") {
    count = 2;
    c.pos += 4;
  }
  while (c.pos < line.size() && line[c.pos] != '[') {
    if (count == 3 || !c.Token(fields[count]) || !c.Spaces()) return false;
    ++count;
  }
  if (count == 0) return false;
  if (count == 3) {
    if (last != first || !IsVirtualHostAndPort(first) || fields[0].find(',') != std::string_view::npos) return false;
    out.host = fields[0];
  }
  if (!c.Bracketed(out.time) || !c.Spaces()) return false;
  if (!c.Quoted(request) || !c.Spaces()) return false;
  // The status is three digits, and a space follows it in every layout found by itself.
  status = line.substr(c.pos, 3);
  c.pos += 3;
  if (!ParseStatus(status, out.status)) return false;
  if (!c.Spaces() || !c.Token(bytes)) return false;
  if (bytes != "-")
    for (char ch : bytes)
      if (!IsDigit(ch)) return false;
  SplitRequest(request, out);

  c.Spaces();
  if (c.AtEnd()) {  // common format
    FinishLine(out, decoding);
    return true;
  }
  std::string_view referrer, agent;
  if (!c.Quoted(referrer)) return false;
  c.Spaces();
  if (!c.Quoted(agent)) return false;
  out.combined = true;
  out.rawReferrer = referrer;
  out.rawAgent = agent;
  FinishLine(out, decoding);
  return true;
}

bool ParseServerLogLine(std::string_view line, const LogLayout& layout, ServerLogLine& out, TextDecoding decoding) {
  ClearLine(out);
  std::string_view forwarded;
  bool hasStatus = false;
  size_t pos = 0;
  for (size_t k = 0; k < layout.steps.size(); ++k) {
    const LayoutStep& step = layout.steps[k];
    if (!TakeLiteral(line, pos, step.literal)) return false;
    std::string_view value;
    Cursor c{line, pos};
    if (step.bracketed) {
      if (!c.Bracketed(value)) return false;
    } else if (step.quoted) {
      --c.pos;  // the opening quote was the literal's last character
      if (!c.Quoted(value)) return false;
      --c.pos;  // the closing quote belongs to the next literal
    } else {
      const std::string& next = k + 1 < layout.steps.size() ? layout.steps[k + 1].literal : layout.tail;
      const size_t end = next.empty() ? line.size() : line.find(next[0], pos);
      if (end == std::string_view::npos) return false;
      value = line.substr(pos, end - pos);
      c.pos = end;
    }
    pos = c.pos;
    switch (step.field) {
      case LayoutField::Host: out.host = value; break;
      case LayoutField::ForwardedFor: forwarded = value; break;
      case LayoutField::Time: out.time = value; break;
      case LayoutField::Request: SplitRequest(value, out); break;
      case LayoutField::Method: out.method = value; break;
      case LayoutField::Target: out.target = value; break;
      case LayoutField::Status:
        if (!ParseStatus(value, out.status)) return false;
        hasStatus = true;
        break;
      case LayoutField::Referrer:
        out.rawReferrer = value;
        out.combined = true;
        break;
      case LayoutField::Agent:
        out.rawAgent = value;
        out.combined = true;
        break;
      case LayoutField::Skip: break;
    }
  }
  // What follows the last field must begin as the format says; fields after it are ignored.
  if (!TakeLiteral(line, pos, layout.tail)) return false;
  if (!forwarded.empty() && forwarded != "-") {
    std::string_view visitor = forwarded.substr(0, forwarded.find(','));
    while (!visitor.empty() && visitor.back() == ' ') visitor.remove_suffix(1);
    if (!visitor.empty()) out.host = visitor;
  }
  if (out.host.empty()) out.host = "-";
  if (!hasStatus) out.status = 200;  // a layout without the status logs what was served
  if (out.method.empty() && !out.target.empty()) out.method = "GET";
  if (out.time.empty()) return false;
  FinishLine(out, decoding);
  return true;
}

std::string_view PagePath(std::string_view target) {
  // Two quick searches rather than a loop that tests two bytes at each place.
  if (target.empty()) return target;
  if (const void* query = std::memchr(target.data(), '?', target.size()))
    target = target.substr(0, static_cast<size_t>(static_cast<const char*>(query) - target.data()));
  if (const void* fragment = std::memchr(target.data(), '#', target.size()))
    target = target.substr(0, static_cast<size_t>(static_cast<const char*>(fragment) - target.data()));
  return target;
}

void PageName(std::string_view target, std::string& out) { DecodeLoggedText(PagePath(target), true, out); }

bool IsPageView(const ServerLogLine& line) {
  if (line.method != "GET") return false;
  if (!((line.status >= 200 && line.status <= 299) || line.status == 304)) return false;
  const std::string_view path = line.path;
  if (path.empty()) return false;
  // The last segment read back from its end: a "/" before any "." means it
  // has no extension.
  for (size_t i = path.size(); i-- > 0;) {
    if (path[i] == '/') return true;
    if (path[i] == '.') return IsPageExtension(path.substr(i + 1));
  }
  return true;
}

bool PageMatches(std::string_view path, std::string_view selection) {
  if (selection == "index") {
    if (path == "/") return true;
    constexpr std::string_view kIndex = "/index.";
    return path.substr(0, kIndex.size()) == kIndex && IsPageExtension(path.substr(kIndex.size()));
  }
  if (!selection.empty() && selection[0] == '/') return path == selection;
  return path.size() == selection.size() + 1 && path[0] == '/' && path.substr(1) == selection;
}

namespace {

// `value` as `width` decimal digits, zeros in front; the position after them.
char* PutDigits(char* at, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
  return at + width;
}

}  // namespace

bool StampableTime(const LoggedTime& logged, const TimeZone& zone, CivilTime& out) {
  out = zone.ToCivil(logged);
  return out.year >= 1 && out.year <= 9999;  // the record stamp's year has four digits
}

bool AppendServerStamp(const LoggedTime& logged, const TimeZone& zone, std::string& out) {
  CivilTime civil;
  if (!StampableTime(logged, zone, civil)) return false;
  char text[24];
  char* at = PutDigits(text, civil.year, 4);
  *at++ = '/';
  at = PutDigits(at, civil.month, civil.month < 10 ? 1 : 2);
  *at++ = '/';
  at = PutDigits(at, civil.day, 2);
  *at++ = ' ';
  at = PutDigits(at, civil.hour, 2);
  *at++ = ':';
  at = PutDigits(at, civil.minute, 2);
  *at++ = ':';
  at = PutDigits(at, civil.second, 2);
  out.append(text, static_cast<size_t>(at - text));
  return true;
}

bool MakeAccessRecords(const ServerLogLine& line, const TimeZone& zone, AccessRecords& out) {
  LoggedTime logged;
  out.page.clear();
  AppendPageRecordStart(line.target, out.page);
  if (!ParseServerTime(line.time, logged) || !AppendServerStamp(logged, zone, out.page)) return false;
  out.agent.assign("2#").append(line.agent);
  out.referrer.assign("3#").append(line.referrer);
  out.host.clear();
  AppendHostRecord(line.host, out.host);
  return true;
}

void AppendPageRecordStart(std::string_view target, std::string& out) {
  static thread_local std::string page;
  PageName(target, page);
  out.append("1#(");
  // The page name ends at the first ")", so one inside a path is written as
  // its escape, which keeps the rest of the path in the name.
  for (char c : page) {
    if (c == ')') out.append("%29");
    else out.push_back(c);
  }
  out.push_back(')');
}

void AppendHostRecord(std::string_view host, std::string& out) {
  // An address (IPv4 or IPv6) stands in parentheses, as the logging script
  // writes an access without a host name; a looked-up name stands alone.
  if (LooksLikeAddress(host)) out.append("4#(").append(host).append(")");
  else out.append("4#").append(host).append("()");
}

}  // namespace vorel::analysis
