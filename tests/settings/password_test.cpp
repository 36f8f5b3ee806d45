#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"

namespace vorel::settings {
namespace {

int Number(const std::string& s, size_t firstChar, size_t count) { return std::stoi(s.substr(firstChar - 1, count)); }

TEST(ScramblePassword, TheStoredFormFollowsItsLayout) {
  SeedPasswordRandom(1);
  for (const std::string password : {"", "a", "secret", "Abc!123~xyz ?#$%"}) {
    for (int round = 0; round < 50; ++round) {
      const std::string stored = ScramblePassword(password);
      ASSERT_EQ(stored.size(), 60u);
      ASSERT_EQ(stored.find_first_not_of("0123456789"), std::string::npos) << stored;
      EXPECT_GE(Number(stored, 1, 2), 10);
      EXPECT_LE(Number(stored, 1, 2), 24);
      const int k = Number(stored, 3, 3);
      EXPECT_GE(k, 100);
      EXPECT_LE(k, 254);
      EXPECT_EQ(Number(stored, 7, 3), static_cast<int>(password.size()));
      int sum = 0;
      for (int i = 1; i <= 16; ++i) {
        const int slot = Number(stored, static_cast<size_t>(3 * i + 7), 3);
        EXPECT_LE(slot, 255);
        sum += slot;
        if (i > static_cast<int>(password.size())) {
          EXPECT_GE(slot ^ k, 100) << "filler slot " << i;
          EXPECT_LE(slot ^ k, 254) << "filler slot " << i;
        }
      }
      EXPECT_EQ(Number(stored, 58, 3), sum % 255);
    }
  }
}

TEST(ScramblePassword, TheSamePasswordIsStoredDifferentlyEachTime) {
  SeedPasswordRandom(42);
  const std::string first = ScramblePassword("secret");
  const std::string second = ScramblePassword("secret");
  EXPECT_NE(first, second);
  EXPECT_EQ(UnscramblePassword(first), "secret");
  EXPECT_EQ(UnscramblePassword(second), "secret");
  SeedPasswordRandom(42);
  EXPECT_EQ(ScramblePassword("secret"), first);  // the seed alone decides
}

TEST(ScramblePassword, SixteenSingleByteCharactersSurvive) {
  for (const std::string password : {"Abc!123~xyz ?#$%", "ｱｲｳｴｵﾊﾟｽﾜｰﾄﾞ", "x", "0123456789abcdef"}) {
    EXPECT_EQ(UnscramblePassword(ScramblePassword(password)), password);
  }
}

TEST(ScramblePassword, WhatDoesNotFitCannotBeScrambled) {
  EXPECT_EQ(ScramblePassword("Abc!123~xyz ?#$%-"), "");   // 17 characters
  EXPECT_EQ(ScramblePassword("パスワード"), "");            // double-byte characters
  EXPECT_EQ(ScramblePassword("pass\xF0\x9F\x98\x80"), "");  // no code in the code page at all
  EXPECT_EQ(ScramblePassword("caf\xC3\xA9"), "");           // e acute: none either
}

TEST(UnscramblePassword, ADamagedFormGivesAnEmptyPassword) {
  SeedPasswordRandom(7);
  const std::string stored = ScramblePassword("secret");
  ASSERT_EQ(UnscramblePassword(stored), "secret");

  // One digit changed in any slot breaks the check number.
  for (size_t pos = 9; pos < 57; ++pos) {
    std::string damaged = stored;
    damaged[pos] = damaged[pos] == '9' ? '0' : static_cast<char>(damaged[pos] + 1);
    EXPECT_EQ(UnscramblePassword(damaged), "") << "digit " << pos + 1;
  }
  std::string badCheck = stored;
  badCheck[59] = badCheck[59] == '9' ? '0' : static_cast<char>(badCheck[59] + 1);
  EXPECT_EQ(UnscramblePassword(badCheck), "");

  EXPECT_EQ(UnscramblePassword(stored.substr(0, 59)), "");
  EXPECT_EQ(UnscramblePassword(stored + "0"), "");
  EXPECT_EQ(UnscramblePassword(""), "");
  std::string letter = stored;
  letter[20] = 'x';
  EXPECT_EQ(UnscramblePassword(letter), "");
  std::string tooLong = stored;
  tooLong.replace(6, 3, "017");
  EXPECT_EQ(UnscramblePassword(tooLong), "");
  EXPECT_EQ(UnscramblePassword(std::string(60, '9')), "");
}

TEST(UnscramblePassword, AnEmptyPasswordWithSixteenRandomSlotsLoadsEmpty) {
  const std::string stored = ScramblePassword("");
  ASSERT_EQ(stored.size(), 60u);
  EXPECT_EQ(stored.substr(6, 3), "000");
  EXPECT_EQ(UnscramblePassword(stored), "");
}

}  // namespace
}  // namespace vorel::settings
