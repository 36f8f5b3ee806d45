#include "analysis/class_lists.h"

#include <gtest/gtest.h>

#include <sstream>

#include "analysis/result.h"
#include "platform/prompter.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using testing::Sjis;
using testing::TempDir;

TEST(ClassLists, ReadsEveryKindOfLine) {
  TempDir dir;
  std::string path = dir.Write("vorel.dat", Sjis(
      "; comment without equals\r\n"
      "os=Windows NT 5.1,Windows XP\r\n"
      "  OS  = Win98,Windows 98\r\n"
      "OS=Windows 98,Windows 98\r\n"
      "Browser=MSIE,Internet Explorer\r\n"
      "Browser=no comma\r\n"
      "IgnoreIndex=  Index.HTML  \r\n"
      "IgnoreHost=ＯＣＮ.ne.jp\r\n"
      "robot = Googlebot,Google のロボット\r\n"
      "Robot=no comma\r\n"
      "Unknown=x,y\r\n"));
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope(prompter);
  LoadClassListsFrom(path);
  const ClassLists& l = Classes();
  ASSERT_EQ(l.os.size(), 3u);
  EXPECT_EQ(l.os[0].pattern, "Windows NT 5.1");
  EXPECT_EQ(l.os[1].pattern, " Win98");  // only the key is trimmed
  EXPECT_EQ(l.os[2].displayName, "Windows 98");
  ASSERT_EQ(l.browsers.size(), 1u);
  EXPECT_EQ(l.indexNames, std::vector<std::string>{"index.html"});
  EXPECT_EQ(l.hostFilter, std::vector<std::string>{"ｏｃｎ.ne.jp"});
  ASSERT_EQ(l.robots.size(), 1u);
  EXPECT_EQ(l.robots[0].pattern, " Googlebot");
  EXPECT_EQ(l.robots[0].displayName, "Google のロボット");
  // The OS and browser tables follow the lists, repeated names included.
  EXPECT_EQ(Result().OS.Count, 3);
  EXPECT_EQ(Result().OS.Names[3], "Windows 98");
  EXPECT_EQ(Result().Brws.Count, 1);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(ClassLists, LoadingTwiceGivesTheListsOfLoadingOnce) {
  TempDir dir;
  std::string path = dir.Write("vorel.dat", "OS=Win,Windows\r\nBrowser=MSIE,IE\r\nIgnoreIndex=index.html\r\n"
                                            "IgnoreHost=example.jp\r\nRobot=bot/,Bots\r\n");
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope(prompter);
  LoadClassListsFrom(path);
  const ClassLists once = Classes();
  LoadClassListsFrom(path);
  const ClassLists& twice = Classes();
  EXPECT_EQ(twice.indexNames, once.indexNames);
  EXPECT_EQ(twice.hostFilter, once.hostFilter);
  ASSERT_EQ(twice.robots.size(), once.robots.size());
  EXPECT_EQ(twice.os.size(), once.os.size());
  EXPECT_EQ(twice.browsers.size(), once.browsers.size());
  EXPECT_EQ(once.robots.size(), 1u);
  EXPECT_EQ(once.indexNames.size(), 1u);
  EXPECT_EQ(once.hostFilter.size(), 1u);
}

TEST(ClassLists, EmptyAgentsAreNoRobots) {
  ClassLists lists;
  lists.robots = {{"", "anything"}};  // an empty pattern matches every text
  EXPECT_EQ(RobotLineOf(lists, "2#", false), 0);
  EXPECT_EQ(RobotLineOf(lists, "2#-", false), 0);
  EXPECT_EQ(RobotLineOf(lists, "2#x", false), 1);
  lists.robots = {{"*Bot*", "Bots"}};
  EXPECT_EQ(RobotLineOf(lists, "2#SomeBot/1.0", true), 1);
  EXPECT_EQ(RobotLineOf(lists, "2#SomeBot/1.0", false), 0);
}

// Every agent of tests/analysis/data/agents.txt against the shipped file:
// no person's browser is a robot, and every robot has its display name.
TEST(ClassLists, TheShippedRobotListKnowsRobotsFromPeople) {
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope(prompter);
  ASSERT_TRUE(LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat"));
  const ClassLists& lists = Classes();
  std::istringstream table(testing::ReadFile(VOREL_SOURCE_DIR "/tests/analysis/data/agents.txt"));
  int people = 0, robots = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string kind = line.substr(0, tab);
    std::string expected, agent = line.substr(tab + 1);
    if (kind == "robot") {
      const size_t second = agent.find('\t');
      ASSERT_NE(second, std::string::npos) << line;
      expected = agent.substr(0, second);
      agent = agent.substr(second + 1);
      ++robots;
    } else {
      ASSERT_EQ(kind, "person") << line;
      ++people;
    }
    const int32_t robotLine = RobotLineOf(lists, "2#" + agent, false);
    const std::string judged = robotLine == 0 ? "" : lists.robots[static_cast<size_t>(robotLine - 1)].displayName;
    EXPECT_EQ(judged, expected) << agent;
  }
  EXPECT_GE(people, 200);
  EXPECT_GE(robots, 100);
}

TEST(ClassLists, MissingFileSaysSoAndLeavesTheListsEmpty) {
  TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope(prompter);
  LoadClassListsFrom(dir.File("vorel.dat"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "解析情報ファイルの読み込みに失敗しました。\r\n" + dir.File("vorel.dat"));
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_TRUE(Classes().os.empty());
  EXPECT_EQ(Result().OS.Count, 0);
}

TEST(ClassLists, TheShippedFileClassifiesCurrentAgents) {
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope(prompter);
  LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
  ASSERT_TRUE(prompter.messages.empty());
  auto classify = [](const std::vector<ClassLine>& lines, const std::string& agent) {
    for (const auto& line : lines)
      if (MatchesPattern("2#" + agent, line.pattern, false)) return line.displayName;
    return std::string("-");
  };
  const auto& l = Classes();
  const std::string edge =
      "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0.0.0 Safari/537.36 Edg/120.0.0.0";
  const std::string iphone =
      "Mozilla/5.0 (iPhone; CPU iPhone OS 17_5 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/17.5 Mobile/15E148 Safari/604.1";
  const std::string android =
      "Mozilla/5.0 (Linux; Android 14; SC-51D) AppleWebKit/537.36 (KHTML, like Gecko) SamsungBrowser/24.0 Chrome/117.0.0.0 Mobile Safari/537.36";
  EXPECT_EQ(classify(l.os, edge), "Windows 10/11");
  EXPECT_EQ(classify(l.browsers, edge), "Microsoft Edge");
  EXPECT_EQ(classify(l.os, iphone), "iOS");
  EXPECT_EQ(classify(l.browsers, iphone), "Safari");
  EXPECT_EQ(classify(l.os, android), "Android");
  EXPECT_EQ(classify(l.browsers, android), "Samsung Internet");
  EXPECT_EQ(classify(l.browsers, "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Win 9x 4.90)"), "Internet Explorer 6");
  EXPECT_EQ(classify(l.os, "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Win 9x 4.90)"), "Windows Me");
  EXPECT_EQ(classify(l.browsers, "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)"), "Googlebot");
  EXPECT_EQ(l.indexNames, (std::vector<std::string>{"index.html", "index.htm", "index.shtml", "index.php", "default.htm"}));
}

TEST(Like, WildcardsMatchTheWholeText) {
  EXPECT_TRUE(MatchesLike("2#Mozilla (Win95)", "*win*95*") == false);  // case-sensitive
  EXPECT_TRUE(MatchesLike("2#Mozilla (Win95)", "*Win*95*"));
  EXPECT_FALSE(MatchesLike("2#Win", "Win"));
  EXPECT_TRUE(MatchesLike("abc", "a?c"));
  EXPECT_TRUE(MatchesLike("a5c", "a#c"));
  EXPECT_FALSE(MatchesLike("abc", "a#c"));
  EXPECT_TRUE(MatchesLike("b", "[a-c]"));
  EXPECT_FALSE(MatchesLike("b", "[!a-c]"));
  EXPECT_TRUE(MatchesLike("[", "[[]"));
  EXPECT_TRUE(MatchesLike("*", "[*]"));
  EXPECT_FALSE(MatchesLike("x", "[*]"));
  EXPECT_TRUE(MatchesLike("a]", "a]"));
  EXPECT_TRUE(MatchesLike("日記です", "日?です"));
  EXPECT_TRUE(MatchesLike("", "*"));
  EXPECT_FALSE(MatchesLike("", "?"));
}

TEST(Like, SubstringModeIsCaseSensitiveAndEmptyMatchesAll) {
  EXPECT_TRUE(MatchesPattern("2#Mozilla (Win98)", "Win", false));
  EXPECT_FALSE(MatchesPattern("2#Mozilla (Win98)", "win", false));
  EXPECT_TRUE(MatchesPattern("anything", "", false));
  EXPECT_FALSE(MatchesPattern("2#Mozilla (Win98)", "Win", true));  // the marker comes first
}

}  // namespace
}  // namespace vorel::analysis
