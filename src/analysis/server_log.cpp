#include "analysis/server_log.h"

#include <array>
#include <cstring>

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

// \" and \\ back to what the visitor sent; other escapes (\xNN, \t) stay as
// logged, which is how the server shows bytes it would not write raw. "-"
// stands for an absent field.
void AssignField(std::string_view raw, std::string& out) {
  out.clear();
  if (raw == "-") return;
  size_t from = 0;
  for (;;) {
    size_t backslash = raw.find('\\', from);
    if (backslash == std::string_view::npos || backslash + 1 >= raw.size()) break;
    char next = raw[backslash + 1];
    if (next == '"' || next == '\\') {
      out.append(raw.substr(from, backslash - from));
      out.push_back(next);
    } else {
      out.append(raw.substr(from, backslash + 2 - from));
    }
    from = backslash + 2;
  }
  out.append(raw.substr(from));
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

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Dotted digits (IPv4), or hex digits with colons (IPv6, perhaps with an
// IPv4 tail). Host names always hold a letter beyond a-f or lack a colon.
bool LooksLikeAddress(std::string_view host) {
  if (host.empty()) return false;
  bool colon = host.find(':') != std::string_view::npos;
  for (char c : host) {
    if (c == '.' || IsDigit(c)) continue;
    if (colon && (c == ':' || IsHexDigit(c))) continue;
    return false;
  }
  return colon || host.find('.') != std::string_view::npos;
}

}  // namespace

bool ParseServerLogLine(std::string_view line, ServerLogLine& out) {
  Cursor c{line};
  std::string_view ident, user, request, status, bytes;
  out.method = out.target = {};
  out.status = 0;
  out.combined = false;
  out.referrer.clear();
  out.agent.clear();
  if (!c.Token(out.host) || !c.Spaces()) return false;
  if (!c.Token(ident) || !c.Spaces()) return false;
  // The user may be absent in some configurations' output ("- -" then "[").
  if (c.pos < line.size() && line[c.pos] != '[') {
    if (!c.Token(user) || !c.Spaces()) return false;
  }
  if (!c.Bracketed(out.time) || !c.Spaces()) return false;
  if (!c.Quoted(request) || !c.Spaces()) return false;
  if (!c.Token(status) || status.size() != 3 || !Digits(status, 0, 3)) return false;
  out.status = (status[0] - '0') * 100 + (status[1] - '0') * 10 + (status[2] - '0');
  if (!c.Spaces() || !c.Token(bytes)) return false;
  if (bytes != "-")
    for (char ch : bytes)
      if (!IsDigit(ch)) return false;

  // The request line: METHOD TARGET [PROTOCOL]; "-" or garbage leaves no method.
  size_t sp1 = request.find(' ');
  if (sp1 != std::string_view::npos && sp1 > 0) {
    std::string_view rest = request.substr(sp1 + 1);
    size_t sp2 = rest.find(' ');
    out.method = request.substr(0, sp1);
    out.target = sp2 == std::string_view::npos ? rest : rest.substr(0, sp2);
  }

  c.Spaces();
  if (c.AtEnd()) return true;  // common format
  std::string_view referrer, agent;
  if (!c.Quoted(referrer)) return false;
  c.Spaces();
  if (!c.Quoted(agent)) return false;
  out.combined = true;
  AssignField(referrer, out.referrer);
  AssignField(agent, out.agent);
  return true;
}

std::string_view PagePath(std::string_view target) {
  for (size_t i = 0; i < target.size(); ++i)
    if (target[i] == '?' || target[i] == '#') return target.substr(0, i);
  return target;
}

bool IsPageView(const ServerLogLine& line) {
  if (line.method != "GET") return false;
  if (!((line.status >= 200 && line.status <= 299) || line.status == 304)) return false;
  std::string_view path = PagePath(line.target);
  if (path.empty()) return false;
  if (path.back() == '/') return true;
  size_t slash = path.rfind('/');
  std::string_view segment = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = segment.rfind('.');
  if (dot == std::string_view::npos) return true;
  std::string_view extension = segment.substr(dot + 1);
  if (extension.size() < 2 || extension.size() > 5) return false;
  static constexpr std::array<const char*, 10> kPageExtensions = {"html", "htm", "shtml", "xhtml", "php",
                                                                  "cgi",  "pl",  "asp",   "aspx",  "jsp"};
  for (const char* e : kPageExtensions)
    if (EqualsIgnoringCase(extension, e)) return true;
  return false;
}

namespace {

// `value` as `width` decimal digits, zeros in front; the position after them.
char* PutDigits(char* at, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
  return at + width;
}

}  // namespace

bool ConvertServerTime(std::string_view time, const TimeZone& zone, std::string& out) {
  LoggedTime logged;
  if (!ParseServerTime(time, logged)) return false;
  out.clear();
  return AppendServerStamp(logged, zone, out);
}

bool AppendServerStamp(const LoggedTime& logged, const TimeZone& zone, std::string& out) {
  const CivilTime civil = zone.ToCivil(logged);
  if (civil.year < 1 || civil.year > 9999) return false;  // the record stamp's year has four digits
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
  static thread_local std::string stamp;  // kept: a stamp is too long for the string's own buffer
  if (!ConvertServerTime(line.time, zone, stamp)) return false;
  std::string_view page = PagePath(line.target);
  out.page.assign("1#(");
  // The page name ends at the first ")", so one inside a path is written as
  // its escape, which keeps the rest of the path in the name.
  for (char c : page) {
    if (c == ')') out.page.append("%29");
    else out.page.push_back(c);
  }
  out.page.push_back(')');
  out.page.append(stamp);
  out.agent.assign("2#").append(line.agent);
  out.referrer.assign("3#").append(line.referrer);
  // An address (IPv4 or IPv6) stands in parentheses, as the logging script
  // writes an access without a host name; a looked-up name stands alone.
  if (LooksLikeAddress(line.host)) out.host.assign("4#(").append(line.host).append(")");
  else out.host.assign("4#").append(line.host).append("()");
  return true;
}

}  // namespace vorel::analysis
