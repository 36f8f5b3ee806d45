// Texts a visitor can craft must cost what ordinary ones cost. Each case has
// a generous budget: a careless algorithm takes minutes, not seconds.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "analysis/category_table.h"
#include "analysis/class_lists.h"
#include "analysis/normalize.h"
#include "support/hostile_inputs.h"

namespace vorel::analysis {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr double kBudgetSeconds = 10;

TEST(HostileInput, NamesCraftedToCollideFillATableInOrdinaryTime) {
  const auto names = testing::NamesCollidingUnderPlainHash(100000);
  const auto start = Clock::now();
  CategoryTable table(kMaxGrowingTableEntries);
  for (const auto& name : names) ASSERT_NE(table.Append(name, 1), 0);
  for (const auto& name : names) ASSERT_NE(table.Find(name), 0);
  EXPECT_EQ(table.Count, 100000);
  EXPECT_LT(SecondsSince(start), kBudgetSeconds);
}

TEST(HostileInput, TheTableHashIsKeyed) {
  // The crafted names share one value under the plain hash but not under the table's.
  const auto names = testing::NamesCollidingUnderPlainHash(64);
  std::vector<uint64_t> hashes;
  for (const auto& name : names) hashes.push_back(HashText(name));
  std::sort(hashes.begin(), hashes.end());
  EXPECT_EQ(std::unique(hashes.begin(), hashes.end()), hashes.end());
  // Every byte counts, also in long texts.
  std::string a(1000, 'x'), b = a;
  b[517] = 'y';
  EXPECT_NE(HashText(a), HashText(b));
  EXPECT_NE(HashText("ab"), HashText("ba"));
  // Only the text's own bytes count: the same text at another place and
  // alignment inside a longer buffer, with other bytes around it, hashes alike.
  for (const size_t offset : {1u, 3u, 7u}) {
    const std::string around = std::string(offset, 'y') + a + std::string(9, 'z');
    EXPECT_EQ(HashText(std::string_view(around).substr(offset, a.size())), HashText(a)) << offset;
    const std::string shortAround = std::string(offset, 'y') + "ab" + "zzzzzzzz";
    EXPECT_EQ(HashText(std::string_view(shortAround).substr(offset, 2)), HashText("ab")) << offset;
  }
}

TEST(HostileInput, ALongChainOfPortNumbersIsRemovedInOrdinaryTime) {
  NormalizeOptions o;
  o.codeChange = o.ignoreIndex = o.ignoreQuestion = o.ignoreSharp = o.smallize = false;
  o.ignorePortNo = true;
  const std::string referrer = testing::PortChainReferrer(100000);  // 300 KB
  const auto start = Clock::now();
  const std::string key = NormalizeRef(referrer, o, {});
  EXPECT_LT(SecondsSince(start), kBudgetSeconds);
  // Only the last port goes: the text loses its last ":1".
  EXPECT_EQ(key, referrer.substr(0, referrer.size() - 3) + "/");
}

TEST(HostileInput, WildcardPatternsOnHugeAgentsFinishInOrdinaryTime) {
  const std::string agent = testing::NearMissAgent(96 * 1024);
  const std::string shortAgent = testing::NearMissAgent(2400);
  const auto start = Clock::now();
  EXPECT_FALSE(MatchesLike(agent, "*win*95*"));
  EXPECT_FALSE(MatchesLike(shortAgent, "*w*i*n*9*5*"));
  EXPECT_TRUE(MatchesLike(agent + "5", "*w*i*n*9*5"));
  EXPECT_TRUE(MatchesLike(agent, "2[#]*[w]in#"));
  EXPECT_LT(SecondsSince(start), kBudgetSeconds);
}

TEST(HostileInput, AMegabyteAgentAgainstEveryShippedRuleFinishesInOrdinaryTime) {
  LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
  ASSERT_FALSE(Classes().os.empty());
  std::string agent = "2#Mozilla/5.0 (";
  while (agent.size() < (1u << 20)) agent += "Windows NT 10.Mac OS X 1Android 1iPhone OS Chrome/Firefox/Edg/";
  const auto start = Clock::now();
  for (bool like : {false, true})
    for (const auto* list : {&Classes().os, &Classes().browsers})
      for (const auto& line : *list) {
        MatchesPattern(agent, line.pattern, like);
        MatchesPattern(agent, "*" + line.pattern + "*", like);
      }
  EXPECT_LT(SecondsSince(start), kBudgetSeconds);
  ClearClassLists();
}

// The plain backtracking definition of the wildcard match, for comparison on
// small inputs where its cost does not matter.
bool ReferenceLike(std::string_view t, std::string_view p) {
  if (p.empty()) return t.empty();
  if (p[0] == '*') {
    for (size_t k = 0; k <= t.size(); ++k)
      if (ReferenceLike(t.substr(k), p.substr(1))) return true;
    return false;
  }
  if (t.empty()) return false;
  const char c = t[0];
  if (p[0] == '?') return ReferenceLike(t.substr(1), p.substr(1));
  if (p[0] == '#') return c >= '0' && c <= '9' && ReferenceLike(t.substr(1), p.substr(1));
  if (p[0] == '[') {
    const size_t close = p.find(']', (p.size() > 1 && p[1] == '!' ? 2 : 1) + 1);
    if (close != std::string_view::npos) {
      size_t q = 1;
      const bool negate = p[1] == '!';
      if (negate) ++q;
      bool found = false;
      for (; q < close; ++q) {
        char lo = p[q], hi = lo;
        if (q + 2 < close && p[q + 1] == '-') {
          hi = p[q + 2];
          q += 2;
        }
        if (c >= lo && c <= hi) found = true;
      }
      return found != negate && ReferenceLike(t.substr(1), p.substr(close + 1));
    }
  }
  return c == p[0] && ReferenceLike(t.substr(1), p.substr(1));
}

TEST(HostileInput, TheLinearMatcherAgreesWithPlainBacktracking) {
  std::mt19937 rng(20011205);
  const std::string textChars = "ab1[]*-!";
  const std::string patternChars = "ab1*?#[]!-";
  int matches = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text, pattern;
    for (size_t n = rng() % 9; n > 0; --n) text += textChars[rng() % textChars.size()];
    for (size_t n = rng() % 7; n > 0; --n) pattern += patternChars[rng() % patternChars.size()];
    const bool expected = ReferenceLike(text, pattern);
    matches += expected;
    ASSERT_EQ(MatchesLike(text, pattern), expected) << "text " << text << " pattern " << pattern;
  }
  EXPECT_GT(matches, 500);  // the comparison covered both outcomes
}

}  // namespace
}  // namespace vorel::analysis
