#include "analysis/server_log.h"

#include <gtest/gtest.h>

namespace vorel::analysis {
namespace {

// These cases are about the line, not the zone: times stay as logged.
const TimeZone kAsLogged = *TimeZone::FromSetting(kLoggedTimeSetting);

ServerLogLine Parse(std::string_view line) {
  ServerLogLine parsed;
  EXPECT_TRUE(ParseServerLogLine(line, parsed)) << line;
  return parsed;
}

AccessRecords Records(std::string_view line) {
  AccessRecords records;
  ServerLogLine parsed = Parse(line);
  EXPECT_TRUE(MakeAccessRecords(parsed, kAsLogged, records)) << line;
  return records;
}

TEST(ServerLogTest, CombinedCommonAndNginxLinesBecomeTheFourRecords) {
  // Apache combined.
  AccessRecords a = Records(
      "192.0.2.7 - frank [10/Oct/2026:13:55:36 +0900] \"GET /diary/index.html?d=3#top HTTP/1.1\" 200 2326 "
      "\"http://www.example.jp/link.html\" \"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\"");
  EXPECT_EQ(a.page, "1#(/diary/index.html)2026/10/10 13:55:36");
  EXPECT_EQ(a.agent, "2#Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)");
  EXPECT_EQ(a.referrer, "3#http://www.example.jp/link.html");
  EXPECT_EQ(a.host, "4#(192.0.2.7)");

  // Common: no referrer, no agent.
  ServerLogLine common = Parse("192.0.2.7 - - [01/Jan/2027:00:05:09 -0500] \"GET / HTTP/1.0\" 304 -");
  EXPECT_FALSE(common.combined);
  EXPECT_TRUE(IsPageView(common));
  AccessRecords c;
  ASSERT_TRUE(MakeAccessRecords(common, kAsLogged, c));
  EXPECT_EQ(c.page, "1#(/)2027/1/01 00:05:09");
  EXPECT_EQ(c.agent, "2#");
  EXPECT_EQ(c.referrer, "3#");

  // nginx's default: "-" for an absent referrer, the user "-".
  AccessRecords n = Records(
      "203.0.113.9 - - [28/Feb/2026:23:59:59 +0000] \"GET /about HTTP/2.0\" 200 512 \"-\" \"curl/8.5.0\"");
  EXPECT_EQ(n.referrer, "3#");
  EXPECT_EQ(n.agent, "2#curl/8.5.0");
  EXPECT_EQ(n.page, "1#(/about)2026/2/28 23:59:59");
}

TEST(ServerLogTest, HostsKeepTheirKind) {
  EXPECT_EQ(Records("2001:db8::5 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1").host,
            "4#(2001:db8::5)");
  EXPECT_EQ(Records("::ffff:192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1").host,
            "4#(::ffff:192.0.2.1)");
  // A name looked up by the server stands before empty parentheses, as a
  // host name does in a record; a name of hex letters alone is still a name.
  EXPECT_EQ(Records("p1234-adsl.example.ne.jp - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1").host,
            "4#p1234-adsl.example.ne.jp()");
  EXPECT_EQ(Records("dead.beef - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1").host, "4#dead.beef()");
}

TEST(ServerLogTest, EscapedQuotesAndBackslashesInTheAgent) {
  AccessRecords r = Records(
      "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET /a.php HTTP/1.1\" 200 10 \"-\" "
      "\"Evil \\\"quoted\\\" agent \\\\ here\\x00\"");
  EXPECT_EQ(r.agent, "2#Evil \"quoted\" agent \\ here\\x00");
}

TEST(ServerLogTest, OnlyPageViewsCount) {
  auto view = [](std::string_view request, int status) {
    std::string line = "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"" + std::string(request) + "\" " +
                       std::to_string(status) + " 100 \"-\" \"UA\"";
    return IsPageView(Parse(line));
  };
  EXPECT_TRUE(view("GET /index.html HTTP/1.1", 200));
  EXPECT_TRUE(view("GET /blog/ HTTP/1.1", 206));
  EXPECT_TRUE(view("GET /blog/entry-12 HTTP/1.1", 304));
  EXPECT_TRUE(view("GET /cgi-bin/board.CGI?x=1.png HTTP/1.1", 200));
  EXPECT_TRUE(view("GET /a.v1/page.Shtml HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /index.html HTTP/1.1", 301));
  EXPECT_FALSE(view("GET /index.html HTTP/1.1", 404));
  EXPECT_FALSE(view("GET /index.html HTTP/1.1", 500));
  EXPECT_FALSE(view("POST /index.html HTTP/1.1", 200));
  EXPECT_FALSE(view("HEAD /index.html HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /img/logo.png HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /style.css?v=2 HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /robots.txt HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /favicon.ico HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /feed.xml HTTP/1.1", 200));
  EXPECT_FALSE(view("GET /fonts/a.woff2 HTTP/1.1", 200));

  // A malformed request is a valid line but no page view.
  ServerLogLine bad = Parse("192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"-\" 400 0 \"-\" \"-\"");
  EXPECT_TRUE(bad.method.empty());
  EXPECT_FALSE(IsPageView(bad));
}

TEST(ServerLogTest, QueryAndFragmentLeaveThePageAndParenthesesStayInIt) {
  EXPECT_EQ(PagePath("/search?q=a/b.html"), "/search");
  EXPECT_EQ(PagePath("/doc#part?x"), "/doc");
  EXPECT_EQ(Records("192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET /wiki/Foo_(bar) HTTP/1.1\" 200 1").page,
            "1#(/wiki/Foo_(bar%29)2026/10/10 13:55:36");
}

TEST(ServerLogTest, GarbageIsNoServerLogLine) {
  ServerLogLine parsed;
  for (std::string_view line :
       {"", "1#(index)2001/12/05 09:03:07", "2#Mozilla/4.0", "4#(192.168.10.34)", "hello world",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" abc 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1 200 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900 \"GET / HTTP/1.1\" 200 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1 \"ref-without-agent\"",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 12x"})
    EXPECT_FALSE(ParseServerLogLine(line, parsed)) << line;

  // A line that parses but carries an unreadable time gives no records.
  AccessRecords records;
  ASSERT_TRUE(ParseServerLogLine("192.0.2.1 - - [yesterday at noon] \"GET / HTTP/1.1\" 200 1", parsed));
  EXPECT_FALSE(MakeAccessRecords(parsed, kAsLogged, records));
  ASSERT_TRUE(ParseServerLogLine("192.0.2.1 - - [10/Okt/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1", parsed));
  EXPECT_FALSE(MakeAccessRecords(parsed, kAsLogged, records));
}

TEST(ServerLogTest, ExtraFieldsAfterTheAgentAreIgnored) {
  AccessRecords r = Records(
      "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1 \"http://a/\" \"UA\" \"198.51.100.1\" rt=0.01");
  EXPECT_EQ(r.agent, "2#UA");
  EXPECT_EQ(r.referrer, "3#http://a/");
}

}  // namespace
}  // namespace vorel::analysis
