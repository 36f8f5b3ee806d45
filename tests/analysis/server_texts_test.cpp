// A server log's texts are made into their records once each and numbered:
// the records are those MakeAccessRecords writes, whatever the spelling.
#include "analysis/server_texts.h"

#include <gtest/gtest.h>

#include "analysis/server_log.h"

namespace vorel::analysis {
namespace {

const TimeZone kAsLogged = *TimeZone::FromSetting(kLoggedTimeSetting);

std::string Line(const std::string& host, const std::string& target, const std::string& referrer,
                 const std::string& agent) {
  return host + " - - [10/Oct/2026:13:55:36 +0900] \"GET " + target + " HTTP/1.1\" 200 1 \"" + referrer + "\" \"" +
         agent + "\"";
}

const std::string kLong(kNumberedTextBytes + 1, 'x');

// Lines whose texts take every way of writing there is.
const std::string kLines[] = {
    Line("192.0.2.7", "/diary/index.html?d=3#top", "http://www.example.jp/link.html", "Mozilla/4.0 (MSIE 6.0)"),
    Line("2001:db8::1", "/%E6%97%A5%E8%A8%98/", "-", "Bot%2F1.0 \\xE6\\x97\\xA5"),
    Line("host.example.jp", "/\\xE6\\x97\\xA5(x)/", "http://x/?q=%E6%97%A5&r=\\xE6\\x97\\xA5", "-"),
    Line("::ffff:192.0.2.9", "/\x93\xFA\x8B\x4C/", "http://x/\\\"a\\\\b", "UA \\\"q\\\""),
    Line("192.0.2.7", "/" + kLong, "http://x/" + kLong, kLong),
    "192.0.2.7 - - [01/Jan/2027:00:05:09 -0500] \"GET / HTTP/1.0\" 304 -",  // common: no referrer, no agent
};

// Each line is looked up as it comes, or looked at ahead first, as the pass does.
TEST(ServerTextRecordsTest, RecordsAreThoseOfTheWholeLine) {
  for (const bool lookedAtAhead : {false, true}) {
    ServerTextRecords texts;
    for (int round = 0; round < 2; ++round) {  // made, then found by their numbers
      for (const std::string& line : kLines) {
        SCOPED_TRACE(line + (lookedAtAhead ? " (ahead)" : ""));
        ServerLogLine decoded, raw;
        ASSERT_TRUE(ParseServerLogLine(line, decoded));
        ASSERT_TRUE(ParseServerLogLine(line, raw, TextDecoding::None));
        EXPECT_TRUE(raw.agent.empty() && raw.referrer.empty());
        AccessRecords expected;
        ASSERT_TRUE(MakeAccessRecords(decoded, kAsLogged, expected));
        ServerTextRecords::Ahead ahead;
        if (lookedAtAhead) {
          texts.Expect(raw.path, raw.rawAgent, raw.rawReferrer, raw.host, ahead);
          texts.Approach(ahead);
        }
        const ServerTextRecords::Ahead* a = lookedAtAhead ? &ahead : nullptr;
        EXPECT_EQ(std::string(texts.Page(raw.path, a).record), expected.page.substr(0, expected.page.find(')') + 1));
        EXPECT_EQ(texts.Agent(raw.rawAgent, a).record, expected.agent);
        EXPECT_EQ(texts.Referrer(raw.rawReferrer, a).record, expected.referrer);
        EXPECT_EQ(texts.Host(raw.host, a).record, expected.host);
      }
    }
  }
}

TEST(ServerTextRecordsTest, EachTextAsLoggedHasOneNumberAndALongOneNone) {
  ServerTextRecords texts;
  const ServerTextRecords::Text plain = texts.Agent("Bot/1.0");
  const std::string plainRecord(plain.record);  // a later call may move it
  EXPECT_GE(plain.number, 0);
  EXPECT_EQ(texts.Agent("Other/2.0").number, plain.number + 1);
  EXPECT_EQ(texts.Agent("Bot/1.0").number, plain.number);
  // What was looked at ahead for another text plays no part.
  ServerTextRecords::Ahead other;
  texts.Expect("/", "Other/2.0", "-", "192.0.2.1", other);
  EXPECT_EQ(texts.Agent("Bot/1.0", &other).number, plain.number);
  // Another spelling of the same text: the same record under a number of its own.
  const ServerTextRecords::Text escaped = texts.Agent("Bot%2F1.0");
  EXPECT_EQ(escaped.record, plainRecord);
  EXPECT_NE(escaped.number, plain.number);
  const ServerTextRecords::Text longText = texts.Referrer(kLong);
  EXPECT_EQ(longText.number, -1);
  EXPECT_EQ(longText.record, "3#" + kLong);
  EXPECT_GE(texts.Referrer(kLong.substr(1)).number, 0);
}

TEST(ServerTextRecordsTest, PastTheNumberedTextsTheRecordsGoOnUnnumbered) {
  ServerTextRecords texts;
  const auto address = [](int n) { return "10." + std::to_string(n >> 16) + "." + std::to_string((n >> 8) & 255) + "." + std::to_string(n & 255); };
  for (int n = 0; n < kNumberedTexts - 1; ++n) ASSERT_GE(texts.Host(address(n)).number, 0) << n;
  // Looked at ahead while a number was left; the last number goes to another text before its lookup.
  const std::string late = address(kNumberedTexts + 1);
  ServerTextRecords::Ahead ahead;
  texts.Expect("/", "-", "-", late, ahead);
  ASSERT_GE(texts.Host(address(kNumberedTexts - 1)).number, 0);
  const ServerTextRecords::Text lateText = texts.Host(late, &ahead);
  EXPECT_EQ(lateText.number, -1);
  EXPECT_EQ(lateText.record, "4#(" + late + ")");
  const ServerTextRecords::Text past = texts.Host(address(kNumberedTexts));
  EXPECT_EQ(past.number, -1);
  EXPECT_EQ(past.record, "4#(" + address(kNumberedTexts) + ")");
  EXPECT_EQ(texts.Host(address(0)).number, -1);
  EXPECT_EQ(texts.Host(address(0)).record, "4#(" + address(0) + ")");
}

}  // namespace
}  // namespace vorel::analysis
