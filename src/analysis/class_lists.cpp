#include "analysis/class_lists.h"

#include "analysis/result.h"
#include "platform/codepage.h"
#include "platform/data_files.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/text_util.h"

namespace vorel::analysis {
namespace {

ClassLists& MutableLists() {
  static ClassLists lists;
  return lists;
}

void SizeTablesToLists() {
  const ClassLists& lists = MutableLists();
  std::vector<std::string> names;
  for (const auto& line : lists.os) names.push_back(line.displayName);
  Result().OS.AssignNames(names);
  names.clear();
  for (const auto& line : lists.browsers) names.push_back(line.displayName);
  Result().Brws.AssignNames(names);
}

void AddLine(std::string_view line) {
  using settings::EqualsIgnoreCase;
  line = settings::TrimLeadingSpaces(line);
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return;
  std::string_view key = settings::TrimSpaces(line.substr(0, eq));
  std::string_view value = line.substr(eq + 1);
  ClassLists& lists = MutableLists();
  if (EqualsIgnoreCase(key, "OS") || EqualsIgnoreCase(key, "Browser")) {
    auto comma = value.find(',');
    if (comma == std::string_view::npos) return;
    ClassLine entry{std::string(value.substr(0, comma)), std::string(value.substr(comma + 1))};
    (EqualsIgnoreCase(key, "OS") ? lists.os : lists.browsers).push_back(std::move(entry));
  } else if (EqualsIgnoreCase(key, "IgnoreIndex")) {
    lists.indexNames.push_back(settings::ToLowerText(settings::TrimSpaces(value)));
  } else if (EqualsIgnoreCase(key, "IgnoreHost")) {
    lists.hostFilter.push_back(settings::ToLowerText(settings::TrimSpaces(value)));
  }
}

// One character of UTF-8 text; a malformed byte stands for itself.
char32_t Next(std::string_view s, size_t& i) {
  const size_t start = i;
  const long cp = platform::NextCodePoint(s, i);
  return cp < 0 ? static_cast<unsigned char>(s[start]) : static_cast<char32_t>(cp);
}

// Matches one bracket list at pattern position p (just after "["); sets p past
// the closing "]". A "[" without its "]" matches itself.
bool MatchBracket(std::string_view pattern, size_t& p, char32_t c, bool& valid) {
  size_t close = pattern.find(']', p + (p < pattern.size() && pattern[p] == '!' ? 1 : 0) + 1);
  if (close == std::string_view::npos) {
    valid = false;
    return false;
  }
  valid = true;
  size_t q = p;
  bool negate = false;
  if (q < close && pattern[q] == '!') {
    negate = true;
    ++q;
  }
  bool found = false;
  while (q < close) {
    char32_t lo = Next(pattern, q);
    char32_t hi = lo;
    if (q + 1 < close && pattern[q] == '-') {
      ++q;
      hi = Next(pattern, q);
    }
    if (c >= lo && c <= hi) found = true;
  }
  p = close + 1;
  return found != negate;
}

bool LikeAt(std::string_view text, size_t t, std::string_view pattern, size_t p) {
  while (p < pattern.size()) {
    char pc = pattern[p];
    if (pc == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      if (p == pattern.size()) return true;
      for (size_t k = t; k <= text.size();) {
        if (LikeAt(text, k, pattern, p)) return true;
        if (k == text.size()) break;
        Next(text, k);
      }
      return false;
    }
    if (t >= text.size()) return false;
    size_t tNext = t;
    char32_t c = Next(text, tNext);
    if (pc == '?') {
      ++p;
    } else if (pc == '#') {
      if (c < '0' || c > '9') return false;
      ++p;
    } else if (pc == '[') {
      size_t q = p + 1;
      bool valid = false;
      bool ok = MatchBracket(pattern, q, c, valid);
      if (valid) {
        if (!ok) return false;
        p = q;
      } else {
        if (c != '[') return false;
        ++p;
      }
    } else {
      size_t pNext = p;
      if (Next(pattern, pNext) != c) return false;
      p = pNext;
    }
    t = tNext;
  }
  return t == text.size();
}

}  // namespace

const ClassLists& Classes() { return MutableLists(); }

std::string ClassFilePath() { return platform::ClassificationFileToLoad(); }

void LoadClassLists() { LoadClassListsFrom(ClassFilePath()); }

void LoadClassListsFrom(const std::string& path) {
  ClassLists& lists = MutableLists();
  lists.os.clear();
  lists.browsers.clear();
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    platform::ShowError("解析情報ファイルの読み込みに失敗しました。\r\n" + path);
    SizeTablesToLists();
    return;
  }
  std::string text = platform::Cp932ToUtf8(bytes);
  size_t start = 0;
  while (start <= text.size()) {
    size_t lf = text.find('\n', start);
    size_t end = lf == std::string::npos ? text.size() : lf;
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    AddLine(line);
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  SizeTablesToLists();
}

void ClearClassLists() {
  MutableLists() = ClassLists{};
  SizeTablesToLists();
}

bool MatchesLike(std::string_view text, std::string_view pattern) { return LikeAt(text, 0, pattern, 0); }

bool MatchesPattern(std::string_view text, std::string_view pattern, bool searchLike) {
  if (searchLike) return MatchesLike(text, pattern);
  return text.find(pattern) != std::string_view::npos;
}

}  // namespace vorel::analysis
