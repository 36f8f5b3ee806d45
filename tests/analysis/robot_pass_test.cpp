// Robots set apart from the people by RobotMode: where their accesses count,
// which filters apply to them, and in which logs.
#include <gtest/gtest.h>

#include <functional>

#include "support/pass_fixture.h"

namespace vorel::analysis {
namespace {

using settings::SetParam;
using testing::ShownEntries;

constexpr const char* kPerson = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) Firefox/121.0";
constexpr const char* kCrawler = "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)";
constexpr const char* kReader = "Tiny Tiny RSS/21.04 (http://tt-rss.org/)";

struct Access {
  std::string page, agent, address;
  int day = 10;
};

std::string ServerLog(const std::vector<Access>& accesses) {
  std::string log;
  for (const Access& a : accesses)
    log += a.address + " - - [" + std::to_string(a.day) + "/Oct/2026:13:55:36 +0900] \"GET /" + a.page +
           " HTTP/1.1\" 200 10 \"http://ref.example/" + a.page + "\" \"" + (a.agent.empty() ? "-" : a.agent) + "\"\n";
  return log;
}

std::string RecordLog(const std::vector<Access>& accesses) {
  std::string log;
  for (const Access& a : accesses)
    log += "1#(/" + a.page + ")2026/10/" + std::to_string(a.day) + " 13:55:36\r\n2#" + a.agent +
           "\r\n3#http://ref.example/" + a.page + "\r\n4#(" + a.address + ")\r\n";
  return log;
}

// People: three accesses from two hosts. Robots: four accesses, two robots,
// one of them from a host a person also used.
const std::vector<Access> kPeople = {
    {"diary", kPerson, "192.0.2.1"}, {"index", kPerson, "192.0.2.1"}, {"index", kPerson, "192.0.2.2"}};
const std::vector<Access> kRobots = {{"feed", kReader, "198.51.100.9"},
                                     {"index", kCrawler, "66.249.66.1"},
                                     {"robots-only", kCrawler, "66.249.66.1"},
                                     {"diary", kCrawler, "192.0.2.2"}};

std::vector<Access> Mixed() {
  std::vector<Access> all;
  for (size_t i = 0; i < kRobots.size(); ++i) {
    if (i < kPeople.size()) all.push_back(kPeople[i]);
    all.push_back(kRobots[i]);
  }
  return all;
}

struct Tables {
  int32_t total;
  std::vector<std::vector<std::pair<std::string, int32_t>>> tables;
  bool operator==(const Tables&) const = default;
};

// Everything but the robots' own table and total: the tables in this order, then the hours.
constexpr size_t kPageTable = 6;
Tables PeopleTables() {
  const AnalysisResult& r = Result();
  Tables t{r.Total, {}};
  for (const CategoryTable* table : {&r.OS, &r.Brws, &r.Agent, &r.Host, &r.Ref, &r.Url, &r.Page})
    t.tables.push_back(ShownEntries(*table));
  std::vector<std::pair<std::string, int32_t>> hours;
  for (size_t h = 0; h < r.Time.size(); ++h) hours.emplace_back(std::to_string(h), r.Time[h]);
  t.tables.push_back(hours);
  return t;
}

class RobotPassTest : public testing::PassFixture {
 protected:
  void SetUp() override {
    SetUpPass("OS=Windows,Windows\r\nBrowser=Firefox,Firefox\r\nBrowser=Googlebot,Googlebot\r\n"
              "Robot=Googlebot,Google\r\nRobot=RSS,Feed reader\r\nRobot=-,Dash\r\n");
  }
  Tables PeopleAlone(bool server) {
    Analyze("people.log", server ? ServerLog(kPeople) : RecordLog(kPeople));
    return PeopleTables();
  }
};

// Set apart, robots leave every people's figure as it is without them: no
// breakdown, no total, no distinct host, no page entry of their own.
TEST_F(RobotPassTest, RobotsSetApartCountOnlyInTheirOwnTable) {
  struct Case {
    int mode;
    bool server;
    bool apart;
  };
  for (const Case c : {Case{1, true, true}, Case{2, true, true}, Case{2, false, true}, Case{1, false, false},
                       Case{0, true, false}, Case{0, false, false}}) {
    SCOPED_TRACE("RobotMode " + std::to_string(c.mode) + (c.server ? " server log" : " record log"));
    SetParam("RobotMode", c.mode);
    const Tables alone = PeopleAlone(c.server);
    Analyze("mixed.log", c.server ? ServerLog(Mixed()) : RecordLog(Mixed()));
    const AnalysisResult& r = Result();
    if (c.apart) {
      const Tables mixed = PeopleTables();
      EXPECT_EQ(mixed.total, alone.total);
      for (size_t t = 0; t < alone.tables.size(); ++t) {
        // A record log names a page at its first record, before the agent is known.
        if (!c.server && t == kPageTable) continue;
        EXPECT_EQ(mixed.tables[t], alone.tables[t]) << "table " << t;
      }
      EXPECT_EQ(r.RobotTotal, 4);
      EXPECT_EQ(ShownEntries(r.Robot), (std::vector<std::pair<std::string, int32_t>>{{"Google", 3}, {"Feed reader", 1}}));
    } else {
      EXPECT_EQ(r.Total, 7);
      EXPECT_EQ(r.Host.Count, 3);  // 192.0.2.*, 198.51.100.*, 66.*.*.*
      EXPECT_EQ(r.RobotTotal, 0);
      EXPECT_EQ(r.Robot.Count, 0);
    }
  }
}

TEST_F(RobotPassTest, DatePageAndHostFiltersApplyToRobotsAsToPeople) {
  struct Case {
    const char* what;
    std::function<void()> set;
    int32_t robots;
  };
  const std::vector<Case> cases = {
      {"no filter", [] {}, 4},
      {"date", [] { SetParam("SpecifyDate", true); SetParam("StartDate", "2026/10/11"); SetParam("EndDate", "2026/10/31"); }, 1},
      {"page", [] { SetParam("SpecifyPage", true); SetParam("Page", "/diary"); }, 1},
      {"host", [] { SetParam("SpecifyHost", true); SetParam("IgnoreHost", true); }, 2},
  };
  UseClassFile("Robot=Googlebot,Google\r\nRobot=RSS,Feed reader\r\nIgnoreHost=66.249.\r\n");
  std::vector<Access> robots = kRobots;
  robots[0].day = 20;  // the only one inside the date filter
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    settings::ApplyDefaults();
    SetParam("SpecifyDate", false);
    SetParam("SpecifyPage", false);
    c.set();
    Analyze("robots.log", ServerLog(robots));
    EXPECT_EQ(Result().RobotTotal, c.robots);
    EXPECT_EQ(Result().Total, 0);
    EXPECT_EQ(Result().Host.Count, 0);
    EXPECT_EQ(Result().Page.Count, 0);
  }
}

TEST_F(RobotPassTest, AHostFirstSeenFromARobotCountsOnceForThePeopleAfterIt) {
  Analyze("robot-first.log", ServerLog({{"index", kCrawler, "192.0.2.7"}, {"index", kPerson, "192.0.2.7"},
                                        {"index", kPerson, "192.0.2.7"}}));
  ASSERT_EQ(Result().Host.Count, 1);
  EXPECT_EQ(Result().Host.Counts[1], 2);
  EXPECT_EQ(Result().Total, 2);
  EXPECT_EQ(Result().RobotTotal, 1);
}

TEST_F(RobotPassTest, AnEmptyAgentIsAPerson) {
  Analyze("empty.log", ServerLog({{"index", "", "192.0.2.7"}}));  // logged as "-", which a robot line names
  EXPECT_EQ(Result().Total, 1);
  EXPECT_EQ(Result().RobotTotal, 0);
}

TEST_F(RobotPassTest, AnAdditionalAnalysisAddsToTheRobots) {
  Analyze("mixed.log", ServerLog(Mixed()));
  Analyze("mixed.log", ServerLog(Mixed()), 1);
  EXPECT_EQ(Result().RobotTotal, 8);
  EXPECT_EQ(ShownEntries(Result().Robot), (std::vector<std::pair<std::string, int32_t>>{{"Google", 6}, {"Feed reader", 2}}));
  EXPECT_EQ(GetResult(31), ResultValue{int32_t{8}});
  EXPECT_EQ(GetResult(32), ResultValue{int32_t{2}});
  EXPECT_EQ(GetResult(33, 2), ResultValue{int32_t{6}});
  EXPECT_EQ(GetResult(34, 2), ResultValue{std::string("Google")});
}

}  // namespace
}  // namespace vorel::analysis
