#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace vorel::platform {
namespace {

TEST(Cp932, FullwidthTildeRoundTripsAsBytes8160) {
  EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "\xEF\xBD\x9E");
  EXPECT_EQ(Utf8ToCp932("\xEF\xBD\x9E"), "\x81\x60");
}

TEST(Cp932, JapaneseTextRoundTrips) {
  const std::string text = "解析日付: 指定なし ｱｸｾｽ ①";
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text)), text);
}

TEST(Cp932, DecodingDoesNotDependOnWhereTheBufferIsCut) {
  const std::string bytes = Utf8ToCp932("ページ別 (12)\r\nホスト名別");
  const std::string whole = Cp932ToUtf8(bytes);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    Cp932Decoder decoder;
    std::string out;
    decoder.Decode(std::string_view(bytes).substr(0, cut), out);
    decoder.Decode(std::string_view(bytes).substr(cut), out);
    decoder.Finish(out);
    EXPECT_EQ(out, whole) << "cut at " << cut;
  }
  // One byte at a time.
  Cp932Decoder decoder;
  std::string out;
  for (char c : bytes) decoder.Decode(std::string_view(&c, 1), out);
  decoder.Finish(out);
  EXPECT_EQ(out, whole);
}

TEST(Cp932, UnassignedPairsDecodeTheSameAtEveryCut) {
  // Lead bytes whose pair is unassigned (rows 85 and 86, EF, FC), a lead
  // before a byte that cannot follow it, an LF and a lead at the very end.
  const std::string bytes =
      "\x85\x85\x41" "\x82\xA0" "\x85\x40\x85" "\x86\x9F" "\x81\x7F" "\xEF\x40\xEF" "\xFC\xFC\x0A"
      "\x81\x0A" "\x84\x80" "\x85";
  const std::string whole = Cp932ToUtf8(bytes);
  EXPECT_EQ(Cp932ToUtf8("\x85\x85\x41"), "\xEF\xBF\xBD" "A");
  for (size_t first = 0; first <= bytes.size(); ++first) {
    for (size_t second = first; second <= bytes.size(); ++second) {
      Cp932Decoder decoder;
      std::string out;
      decoder.Decode(std::string_view(bytes).substr(0, first), out);
      decoder.Decode(std::string_view(bytes).substr(first, second - first), out);
      decoder.Decode(std::string_view(bytes).substr(second), out);
      decoder.Finish(out);
      ASSERT_EQ(out, whole) << "cuts at " << first << " and " << second;
    }
  }
}

TEST(Cp932, InvalidBytesBecomeReplacementCharactersAndKeepLineBreaks) {
  // A lead byte followed by LF, a lone trailing lead byte, an undefined byte.
  EXPECT_EQ(Cp932ToUtf8("a\x81\nb"), "a\xEF\xBF\xBD\nb");
  EXPECT_EQ(Cp932ToUtf8("x\x9F"), "x\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8(std::string("\0z", 2)), std::string("\0z", 2));
}

TEST(Cp932, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");               // malformed UTF-8
  EXPECT_EQ(Utf8ToCp932("\xC3\xA9"), "?");                  // e acute
}

}  // namespace
}  // namespace vorel::platform
