// The classification file "vorel.dat" beside the program: OS, browser and
// robot patterns, index-page names and the host filter list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorel::analysis {

struct ClassLine {
  std::string pattern;
  std::string displayName;
};

struct ClassLists {
  std::vector<ClassLine> os;
  std::vector<ClassLine> browsers;
  std::vector<std::string> indexNames;  // lower case
  std::vector<std::string> hostFilter;  // lower case
  std::vector<ClassLine> robots;        // Robot=pattern,display name
};

const ClassLists& Classes();

// The classification file to load: the user's copy in the settings folder,
// otherwise the shipped one (beside the program, or installed).
std::string ClassFilePath();

// Reads the classification file (CP932) and fills the lists anew (loading a
// second time gives the same lists as loading once), then sizes the OS and
// browser tables of the result to their lists. A missing or unreadable
// file, or one that is not a regular file or is larger than 16 MiB, shows
// "解析情報ファイルの読み込みに失敗しました。" with the path and leaves every
// list empty.
void LoadClassLists();
// The same from a given file (vorel-report's --classes, tests); false when
// the file could not be read.
bool LoadClassListsFrom(const std::string& path);

// Empties every list (a fresh start, for tests).
void ClearClassLists();

// Whole-text wildcard match: * any run, ? any one character, # one digit,
// [abc] [a-z] one listed character, [!abc] one unlisted; a "]" outside
// brackets matches itself. Case-sensitive, by characters (code points).
bool MatchesLike(std::string_view text, std::string_view pattern);

// The classification test of the parameter SearchLike: wildcard when on,
// otherwise substring (an empty pattern matches everything).
bool MatchesPattern(std::string_view text, std::string_view pattern, bool searchLike);

// The robot list line (1-based) whose pattern matches the whole agent record
// ("2#" + agent) first, or 0 for a person's agent. An empty agent ("2#" alone
// or "2#-") is never a robot.
int32_t RobotLineOf(const ClassLists& lists, std::string_view agentRecord, bool searchLike);

}  // namespace vorel::analysis
