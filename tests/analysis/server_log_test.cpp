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
  EXPECT_EQ(PagePath("?q=1"), "");
  EXPECT_EQ(PagePath(""), "");
  EXPECT_EQ(Records("192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET /wiki/Foo_(bar) HTTP/1.1\" 200 1").page,
            "1#(/wiki/Foo_(bar%29)2026/10/10 13:55:36");
}

TEST(ServerLogTest, GarbageIsNoServerLogLine) {
  ServerLogLine parsed;
  for (std::string_view line :
       {"", "1#(index)2001/12/05 09:03:07", "2#Mozilla/4.0", "4#(192.168.10.34)", "hello world",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" abc 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 2000 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 20 1",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200",
        "192.0.2.1 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 2",
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

// Layouts and the ways servers write texts: each row is a line (in the
// layout its format names; no format: found by itself) and what it stands for.
struct LineCase {
  const char* name;
  const char* format;
  std::string line;
  const char* page;  // nullptr: no page view
  const char* host;
  const char* agent;
  const char* referrer;
};

const std::string kStamp = "[10/Oct/2026:13:55:36 +0900]";
const std::string kTail = " 200 512 \"-\" \"UA\"";

std::string Combined(const std::string& target, const std::string& referrer = "-", const std::string& agent = "UA") {
  return "192.0.2.7 - - " + kStamp + " \"GET " + target + " HTTP/1.1\" 200 512 \"" + referrer + "\" \"" + agent + "\"";
}

const LineCase kLineCases[] = {
    {"raw UTF-8 path", "", Combined("/\xE6\x97\xA5\xE8\xA8\x98/"), "/日記/", "192.0.2.7", "UA", ""},
    {"percent-encoded path", "", Combined("/%E6%97%A5%E8%A8%98/?q=%E6%97%A5"), "/日記/", "192.0.2.7", "UA", ""},
    {"nginx \\x escapes", "", Combined("/\\xE6\\x97\\xA5\\xE8\\xA8\\x98/"), "/日記/", "192.0.2.7", "UA", ""},
    {"raw CP932 path", "", Combined("/\x93\xFA\x8B\x4C/"), "/日記/", "192.0.2.7", "UA", ""},
    {"CP932 escapes", "", Combined("/%93%FA%8BL/"), "/日記/", "192.0.2.7", "UA", ""},
    {"escaped quote and backslash", "", Combined("/a.html", "http://x/?q=\\\"a\\\\b\\\"", "Bot \\\"1.0\\\" \\\\o/"),
     "/a.html", "192.0.2.7", "Bot \"1.0\" \\o/", "http://x/?q=\"a\\b\""},
    {"referrer escapes left for its normalisation", "", Combined("/", "http://x/?q=%E6%97%A5&r=\\xE6\\x97\\xA5"), "/",
     "192.0.2.7", "UA", "http://x/?q=%E6%97%A5&r=日"},
    {"agent decoded", "", Combined("/", "-", "Bot%2F1.0 \\xE6\\x97\\xA5"), "/", "192.0.2.7", "Bot/1.0 日", ""},
    {"control bytes stay escaped", "", Combined("/a%0D%0Ab%00.html"), "/a%0D%0Ab%00.html", "192.0.2.7", "UA", ""},
    {"vhost_combined", "",
     "www.example.jp:443 198.51.100.4 - - " + kStamp + " \"GET /index.html HTTP/1.1\"" + kTail, "/index.html",
     "198.51.100.4", "UA", ""},
    {"forwarded list", "", "203.0.113.1, 10.0.0.7 - - " + kStamp + " \"GET / HTTP/1.1\"" + kTail, "/", "203.0.113.1",
     "UA", ""},
    {"forwarded list of three", "", "203.0.113.1, 10.0.0.7, 10.0.0.8 - frank " + kStamp + " \"GET / HTTP/1.1\"" + kTail,
     "/", "203.0.113.1", "UA", ""},
    {"runs of spaces between the fields", "", "192.0.2.7  -   -  " + kStamp + "  \"GET /f.html HTTP/1.1\"  200  512  \"-\"  \"UA\"",
     "/f.html", "192.0.2.7", "UA", ""},
    {"extra fields after the agent", "", Combined("/x.php") + " \"extra field\" 1234 -", "/x.php", "192.0.2.7", "UA",
     ""},
    {"an image is no page view, and its texts are left as logged", "", Combined("/logo.png", "http://r/"), nullptr,
     "192.0.2.7", "", ""},
    {"Apache format with a duration", "%h %l %u %t \\\"%r\\\" %>s %b \\\"%{Referer}i\\\" \\\"%{User-agent}i\\\" %D",
     Combined("/a.html", "http://r/") + " 1234", "/a.html", "192.0.2.7", "UA", "http://r/"},
    {"Apache line with vhost and port", "LogFormat \"%v:%p %a %t \\\"%m %U%q %H\\\" %s \\\"%{User-Agent}i\\\"\" mine",
     "www.example.jp:80 192.0.2.9 " + kStamp + " \"GET /b.html?x=1 HTTP/1.1\" 200 \"UA 2\"", "/b.html", "192.0.2.9",
     "UA 2", ""},
    {"nginx format behind a proxy",
     "log_format main '$remote_addr - $remote_user [$time_local] \"$request\" '\n"
     "  '$status $body_bytes_sent \"$http_referer\" \"$http_user_agent\" \"$http_x_forwarded_for\"';",
     Combined("/c/", "http://r/") + " \"198.51.100.1, 10.0.0.1\"", "/c/", "198.51.100.1", "UA", "http://r/"},
    {"nginx format without a forwarded address", "$remote_addr [$time_local] \"$request\" $status \"$http_x_forwarded_for\"",
     "192.0.2.7 " + kStamp + " \"GET /d.html HTTP/1.1\" 200 \"-\"", "/d.html", "192.0.2.7", "", ""},
    {"nginx format with ISO stamps and a bare path", "$time_iso8601 $remote_addr $request_uri $status",
     "2026-10-10T13:55:36+09:00 192.0.2.7 /e.html?x 304", "/e.html", "192.0.2.7", "", ""},
};

TEST(ServerLogTest, LayoutsAndTextEncodingsGiveThePageHostAgentAndReferrer) {
  for (const LineCase& row : kLineCases) {
    SCOPED_TRACE(row.name);
    LogLayout layout;
    std::string error;
    const bool named = *row.format != '\0';
    ASSERT_TRUE(!named || CompileLogLayout(row.format, layout, error)) << error;
    ServerLogLine parsed;
    ASSERT_TRUE(named ? ParseServerLogLine(row.line, layout, parsed) : ParseServerLogLine(row.line, parsed));
    EXPECT_EQ(parsed.host, row.host);
    EXPECT_EQ(parsed.agent, row.agent);
    EXPECT_EQ(parsed.referrer, row.referrer);
    EXPECT_EQ(IsPageView(parsed), row.page != nullptr);
    EXPECT_EQ(parsed.path, PagePath(parsed.target));
    if (!row.page) continue;
    std::string page;
    PageName(parsed.target, page);
    EXPECT_EQ(page, row.page);
  }
}

TEST(ServerLogTest, TheStampStaysAsLogged) {
  ServerLogLine parsed;
  ASSERT_TRUE(ParseServerLogLine(kLineCases[0].line, parsed));
  EXPECT_EQ(parsed.time, "10/Oct/2026:13:55:36 +0900");
  LogLayout layout;
  std::string error;
  ASSERT_TRUE(CompileLogLayout("$time_iso8601 \"$request\"", layout, error)) << error;
  ASSERT_TRUE(ParseServerLogLine("2026-10-10T13:55:36+09:00 \"GET / HTTP/1.1\"", layout, parsed));
  EXPECT_EQ(parsed.time, "2026-10-10T13:55:36+09:00");
}

TEST(ServerLogTest, LinesOfAnotherLayoutAreNoLines) {
  LogLayout layout;
  std::string error;
  ASSERT_TRUE(CompileLogLayout("%h [%{X-Forwarded-For}i] %t \"%r\" %>s", layout, error)) << error;
  ServerLogLine parsed;
  EXPECT_TRUE(ParseServerLogLine("h [-] " + kStamp + " \"GET / HTTP/1.1\" 200", layout, parsed));
  for (const std::string& line :
       {Combined("/"), "h [-] " + kStamp + " \"GET / HTTP/1.1\" 2000", "h [-] " + kStamp + " \"GET / HTTP/1.1",
        "h (-) " + kStamp + " \"GET / HTTP/1.1\" 200", std::string("h [-] [10/Oct/2026 \"GET / HTTP/1.1\" 200")})
    EXPECT_FALSE(ParseServerLogLine(line, layout, parsed)) << line;
  // Four fields before the stamp are vhost_combined only when the first is "host:port".
  EXPECT_FALSE(ParseServerLogLine("www.example.jp 192.0.2.7 - - " + kStamp + " \"GET / HTTP/1.1\"" + kTail, parsed));
}

TEST(ServerLogTest, ThePageFilterNamesTheTopPageAPathOrAPathFromTheTop) {
  const struct {
    const char* path;
    const char* selection;
    bool matches;
  } rows[] = {
      {"/", "index", true},           {"/index.html", "index", true},   {"/index.PHP", "index", true},
      {"/index.png", "index", false}, {"/index", "index", false},      {"/diary/", "index", false},
      {"/diary/index.html", "index", false},
      {"/diary/2001-12.html", "diary/2001-12.html", true},             {"/x/diary/2001-12.html", "diary/2001-12.html", false},
      {"/diary/2001-12.html", "/diary/2001-12.html", true},            {"/diary/2001-12.html", "/diary", false},
      {"/日記/", "日記/", true},      {"/", "/", true},                 {"/a", "", false},
  };
  for (const auto& row : rows) EXPECT_EQ(PageMatches(row.path, row.selection), row.matches) << row.path << " " << row.selection;
}

}  // namespace
}  // namespace vorel::analysis
