#include <gtest/gtest.h>

#include "settings/text_util.h"

namespace vorel::settings {
namespace {

TEST(ToLowerText, CapitalsBecomeSmallAndEveryOtherCharacterStays) {
  const struct {
    const char* text;
    const char* lower;
  } kCases[] = {
      {"", ""},
      {"@AZ[`az{ 09/?#%", "@az[`az{ 09/?#%"},  // the neighbours of both alphabets stay
      {"HTTP://WWW.Example.COM/", "http://www.example.com/"},
      {"ÀÉ×Þ Ω Я", "àé×þ ω я"},
      {"Ａ.JP/日記", "ａ.jp/日記"},  // one wide letter makes the whole text go the long way
  };
  for (const auto& c : kCases) EXPECT_EQ(ToLowerText(c.text), c.lower) << c.text;
}

}  // namespace
}  // namespace vorel::settings
