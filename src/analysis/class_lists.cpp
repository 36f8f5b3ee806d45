#include "analysis/class_lists.h"

#include <algorithm>

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
  std::vector<ClassLine>* patterns = EqualsIgnoreCase(key, "OS")        ? &lists.os
                                     : EqualsIgnoreCase(key, "Browser") ? &lists.browsers
                                     : EqualsIgnoreCase(key, "Robot")   ? &lists.robots
                                                                        : nullptr;
  if (patterns) {
    auto comma = value.find(',');
    if (comma == std::string_view::npos) return;
    patterns->push_back({std::string(value.substr(0, comma)), std::string(value.substr(comma + 1))});
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

// Matches one pattern element other than "*" at p against the character c;
// sets pNext past the element.
bool MatchOne(std::string_view pattern, size_t p, char32_t c, size_t& pNext) {
  const char pc = pattern[p];
  if (pc == '?') {
    pNext = p + 1;
    return true;
  }
  if (pc == '#') {
    pNext = p + 1;
    return c >= '0' && c <= '9';
  }
  if (pc == '[') {
    size_t q = p + 1;
    bool valid = false;
    const bool ok = MatchBracket(pattern, q, c, valid);
    if (valid) {
      pNext = q;
      return ok;
    }
    pNext = p + 1;
    return c == '[';
  }
  pNext = p;
  return Next(pattern, pNext) == c;
}

// Every element but "*" takes exactly one character, so on a mismatch only
// the last "*" needs to take one more character and the match resumes after
// it: at most text length times pattern length steps, whatever the input.
bool LikeWhole(std::string_view text, std::string_view pattern) {
  constexpr size_t kNone = std::string_view::npos;
  size_t t = 0, p = 0;
  size_t starP = kNone, starT = 0;
  while (true) {
    if (p < pattern.size() && pattern[p] == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      if (p == pattern.size()) return true;
      starP = p;
      starT = t;
      continue;
    }
    if (p == pattern.size() && t == text.size()) return true;
    if (p < pattern.size() && t < text.size()) {
      size_t tNext = t, pNext = p;
      const char32_t c = Next(text, tNext);
      if (MatchOne(pattern, p, c, pNext)) {
        t = tNext;
        p = pNext;
        continue;
      }
    }
    if (starP == kNone || starT >= text.size()) return false;
    Next(text, starT);
    // A plain character after the "*" can only match where that character
    // stands: jump there. ASCII and UTF-8 lead bytes always begin a character.
    const auto first = static_cast<unsigned char>(pattern[starP]);
    if (first != '?' && first != '#' && first != '[' && (first < 0x80 || first >= 0xC0)) {
      starT = text.find(pattern[starP], starT);
      if (starT == std::string_view::npos) return false;
    }
    t = starT;
    p = starP;
  }
}

}  // namespace

const ClassLists& Classes() { return MutableLists(); }

std::string ClassFilePath() { return platform::ClassificationFileToLoad(); }

void LoadClassLists() { LoadClassListsFrom(ClassFilePath()); }

bool LoadClassListsFrom(const std::string& path) {
  MutableLists() = ClassLists{};
  std::string bytes;
  if (platform::ReadSmallFile(path, bytes) != platform::SmallFileProblem::None) {
    platform::ShowError("解析情報ファイルの読み込みに失敗しました。\r\n" + path);
    SizeTablesToLists();
    return false;
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
  return true;
}

void ClearClassLists() {
  MutableLists() = ClassLists{};
  SizeTablesToLists();
}

bool MatchesLike(std::string_view text, std::string_view pattern) { return LikeWhole(text, pattern); }

bool MatchesPattern(std::string_view text, std::string_view pattern, bool searchLike) {
  if (searchLike) return MatchesLike(text, pattern);
  return text.find(pattern) != std::string_view::npos;
}

int32_t RobotLineOf(const ClassLists& lists, std::string_view agentRecord, bool searchLike) {
  const std::string_view agent = agentRecord.substr(std::min<size_t>(2, agentRecord.size()));
  if (agent.empty() || agent == "-") return 0;
  for (size_t i = 0; i < lists.robots.size(); ++i)
    if (MatchesPattern(agentRecord, lists.robots[i].pattern, searchLike)) return static_cast<int32_t>(i + 1);
  return 0;
}

}  // namespace vorel::analysis
