// Decoding the texts a web server logs: the escape is found wherever it
// stands, however the text is cut into the reader's eight-byte steps.
#include "analysis/logged_text.h"

#include <gtest/gtest.h>

#include <string>

namespace vorel::analysis {
namespace {

std::string Decoded(std::string_view logged, bool percents) {
  std::string out = "stale";
  DecodeLoggedText(logged, percents, out);
  return out;
}

struct EscapeCase {
  const char* escape;
  bool percents;
  const char* text;  // what the escape stands for
};

TEST(LoggedText, AnEscapeIsDecodedAtEveryPositionAndEveryTextLength) {
  const EscapeCase cases[] = {
      {"%41", true, "A"},          {"%41", false, "%41"},      {"\\x41", false, "A"},
      {"\\\"", false, "\""},       {"\\\\", false, "\\"},      {"%E6%97%A5", true, "日"},
      {"\\xE6\\x97\\xA5", false, "日"}, {"%zz", true, "%zz"},  {"\\q", false, "\\q"},
      {"%0A", true, "%0A"},  // a line break stays escaped
  };
  for (const EscapeCase& c : cases)
    for (size_t before = 0; before <= 17; ++before)
      for (size_t after : {0, 1, 7, 8, 9}) {
        const std::string head(before, 'a'), tail(after, 'b');
        EXPECT_EQ(Decoded(head + c.escape + tail, c.percents), head + c.text + tail)
            << c.escape << " after " << before << " bytes, " << after << " bytes after it";
      }
}

TEST(LoggedText, RawBytesAreReadAsUtf8WhenWellFormedElseAsCp932WhereverTheyStand) {
  const std::string utf8 = "日記", sjis = "\x93\xfa\x8b\x4c";  // 日記 in CP932
  for (size_t before = 0; before <= 17; ++before) {
    const std::string head(before, '/');
    EXPECT_EQ(Decoded(head + utf8, true), head + "日記") << before;
    EXPECT_EQ(Decoded(head + sjis, true), head + "日記") << before;
    // Bytes before an escape and after it make one text.
    EXPECT_EQ(Decoded(head + "\x93\xfa%8B%4C", true), head + "日記") << before;
    EXPECT_EQ(Decoded(head + "%41" + sjis, true), head + "A日記") << before;
  }
  EXPECT_EQ(Decoded("", true), "");
}

}  // namespace
}  // namespace vorel::analysis
