#include "platform/registry_store.h"

#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "support/test_files.h"

namespace vorel::platform {
namespace {

using testing::ReadFile;
using testing::Sjis;
using testing::TempDir;

constexpr char kKey[] = "Software\\VB and VBA Program Settings\\Palvern Company\\vorel";

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryFolderForTesting(dir.File("config/vorel")); }
  void TearDown() override {
    SetRegistryFolderForTesting("");
    SetRegistryWriteFaultForTesting(nullptr);
  }
  std::vector<std::string> Names(std::string_view key = kKey) {
    std::vector<std::string> names;
    for (const auto& v : RegistryListValues(key)) names.push_back(v.name);
    return names;
  }
  TempDir dir;
};

TEST_F(RegistryStoreTest, MissingStoreReadsAsEmptyAndDefaultsApply) {
  EXPECT_EQ(RegistryGetValue(kKey, "MaxDisp", "25"), "25");
  EXPECT_FALSE(RegistryReadValue(kKey, "MaxDisp").has_value());
  EXPECT_TRUE(RegistryListValues(kKey).empty());
  EXPECT_TRUE(RegistryDeleteValue(kKey, "MaxDisp"));
  EXPECT_TRUE(RegistryDeleteKey(kKey));
}

TEST_F(RegistryStoreTest, ValuesKeepTheirFirstWrittenPlace) {
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainHeight", "5865"));
  ASSERT_TRUE(RegistryWriteValue(kKey, "VisibleWindow", "4095"));
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainHeight", "6000"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"MainWidth", "MainHeight", "VisibleWindow"}));
  EXPECT_EQ(RegistryGetValue(kKey, "MainHeight", ""), "6000");

  // A deleted value written again goes to the end.
  ASSERT_TRUE(RegistryDeleteValue(kKey, "MainWidth"));
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainWidth", "9000"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"MainHeight", "VisibleWindow", "MainWidth"}));
}

TEST_F(RegistryStoreTest, NamesAndKeysIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(RegistryWriteValue(kKey, "CheckLine", "500"));
  EXPECT_EQ(RegistryGetValue("software\\vb and vba program settings\\palvern company\\VOREL", "checkline", ""), "500");
  ASSERT_TRUE(RegistryWriteValue(kKey, "CHECKLINE", "600"));
  ASSERT_EQ(RegistryListValues(kKey).size(), 1u);
  EXPECT_EQ(RegistryListValues(kKey)[0], (RegistryValue{"CheckLine", "600"}));
}

TEST_F(RegistryStoreTest, AnyTextSurvivesAndTheFileIsCp932WithCrLf) {
  const std::vector<RegistryValue> values = {
      {"Page1", "line one\r\nline two\nthree"},
      {"Quoted", "say \"hi\" \\ back\\slash"},
      {"FontName", "ＭＳ Ｐゴシック"},
      {"Kana", "ｱｸｾｽ"},
      {"Emoji", "a\xF0\x9F\x98\x80z \xC3\xA9"},
      {"Control", std::string("tab\there\x01\x7F nul:\0!", 17)},
      {"BrokenUtf8", "x\xFFy\xE3\x81"},
      {"Brackets]=\"odd", "[not a key]"},
      {"Empty", ""},
  };
  for (const auto& v : values) ASSERT_TRUE(RegistryWriteValue(kKey, v.name, v.text)) << v.name;
  ASSERT_TRUE(RegistryWriteValue("Other]\\Key\r\n", "v", "w"));
  EXPECT_EQ(RegistryListValues(kKey), values);
  EXPECT_EQ(RegistryGetValue("Other]\\Key\r\n", "v", ""), "w");

  const std::string bytes = ReadFile(RegistryStorePath());
  EXPECT_NE(bytes.find(Sjis("\"FontName\"=\"ＭＳ Ｐゴシック\"\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Sjis("\"Kana\"=\"ｱｸｾｽ\"\r\n")), std::string::npos);
  // Every line ends in CR LF and no value spills onto a line of its own.
  size_t lines = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ++lines;
      EXPECT_EQ(i > 0 ? bytes[i - 1] : 0, '\r');
    } else if (bytes[i] == '\r') {
      EXPECT_EQ(i + 1 < bytes.size() ? bytes[i + 1] : 0, '\n');
    }
  }
  // Header, two blank lines, two key lines, ten value lines.
  EXPECT_EQ(lines, 15u);
}

TEST_F(RegistryStoreTest, DeletingAKeyRemovesItsValuesAndTheKeysBelowIt) {
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  ASSERT_TRUE(RegistryWriteValue(std::string(kKey) + "\\Sub", "x", "1"));
  ASSERT_TRUE(RegistryWriteValue(std::string(kKey) + "2", "y", "2"));
  ASSERT_TRUE(RegistryDeleteKey(kKey));
  EXPECT_TRUE(RegistryListValues(kKey).empty());
  EXPECT_TRUE(RegistryListValues(std::string(kKey) + "\\Sub").empty());
  EXPECT_EQ(RegistryGetValue(std::string(kKey) + "2", "y", ""), "2");
  EXPECT_TRUE(RegistryDeleteKey(kKey));  // already gone: no error
}

TEST_F(RegistryStoreTest, ACutShortStoreLoadsWhatItHoldsAndNeverPartOfAValue) {
  const std::vector<RegistryValue> values = {
      {"MainWidth", "8400"}, {"LogFile1", "C:\\logs\\access.log"}, {"Page1", "a\"b\r\nc"}, {"FontName", "ＭＳ Ｐゴシック"}};
  for (const auto& v : values) ASSERT_TRUE(RegistryWriteValue(kKey, v.name, v.text));
  const std::string whole = ReadFile(RegistryStorePath());
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    dir.Write("config/vorel/registry.txt", whole.substr(0, cut));
    auto loaded = RegistryListValues(kKey);
    ASSERT_LE(loaded.size(), values.size());
    for (size_t i = 0; i < loaded.size(); ++i) EXPECT_EQ(loaded[i], values[i]) << "cut at " << cut;
  }
  EXPECT_EQ(RegistryListValues(kKey).size(), values.size());
}

TEST_F(RegistryStoreTest, AGarbledStoreKeepsItsGoodLinesAndCanBeWrittenAgain) {
  std::string text = "garbage without structure\r\n"
                     "\"Orphan\"=\"before any key\"\r\n"
                     "[Software\\\\VB and VBA Program Settings\\\\Palvern Company\\\\vorel]\r\n"
                     "\"MainWidth\"=\"8400\"\r\n"
                     "\"Broken\"=\"no end\r\n"
                     "\"BadEscape\"=\"\\q\"\r\n"
                     "\"Trailing\"=\"x\" junk\r\n" +
                     std::string("\x81\x82\xFF\0\x7F\r\n", 7) +
                     "[\\\\broken header\r\n"
                     "\"Lost\"=\"under a broken header\"\r\n"
                     "[Software\\\\VB and VBA Program Settings\\\\Palvern Company\\\\vorel]\r\n"
                     "\"MaxDisp\"=\"30\"\n";
  text.insert(text.size() - 1, std::string("\0", 1));
  std::filesystem::create_directories(dir.File("config/vorel"));
  dir.Write("config/vorel/registry.txt", text);
  EXPECT_EQ(RegistryListValues(kKey), (std::vector<RegistryValue>{{"MainWidth", "8400"}}));

  dir.Write("config/vorel/registry.txt", text.substr(0, text.size() - 2) + "\r\n");
  EXPECT_EQ(RegistryListValues(kKey),
            (std::vector<RegistryValue>{{"MainWidth", "8400"}, {"MaxDisp", "30"}}));
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainHeight", "5865"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"MainWidth", "MaxDisp", "MainHeight"}));

  // Random bytes never crash the reader.
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string noise(static_cast<size_t>(rng() % 300), '\0');
    for (char& c : noise) c = "[]\"=\\\r\nab\x81\x40"[rng() % 12];
    dir.Write("config/vorel/registry.txt", noise);
    (void)RegistryListValues(kKey);
  }
}

TEST_F(RegistryStoreTest, AFolderThatCannotBeMadeFailsTheWriteWithoutCrashing) {
  dir.Write("blocker", "a regular file");
  SetRegistryFolderForTesting(dir.File("blocker/vorel"));
  EXPECT_FALSE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  EXPECT_FALSE(RegistryDeleteKey(kKey));
  EXPECT_EQ(RegistryGetValue(kKey, "MainWidth", "none"), "none");
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeReadIsNeverOverwritten) {
  std::filesystem::create_directories(dir.File("config/vorel/registry.txt"));
  EXPECT_FALSE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/vorel/registry.txt")));
  EXPECT_TRUE(RegistryListValues(kKey).empty());
}

TEST_F(RegistryStoreTest, AFailedChangeLeavesTheStoreAsItWas) {
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  const std::string before = ReadFile(RegistryStorePath());
  SetRegistryWriteFaultForTesting([](std::string_view name) { return name == "MainHeight"; });
  EXPECT_FALSE(RegistryWriteValue(kKey, "MainHeight", "1"));
  EXPECT_EQ(ReadFile(RegistryStorePath()), before);
  EXPECT_TRUE(RegistryWriteValue(kKey, "MaxDisp", "30"));
  SetRegistryWriteFaultForTesting(nullptr);
  EXPECT_EQ(Names(), (std::vector<std::string>{"MainWidth", "MaxDisp"}));
}

TEST_F(RegistryStoreTest, TwoWritersAtOnceLoseNothingAndLeaveNoTemporaryFiles) {
  auto writer = [](char tag) {
    for (int i = 0; i < 40; ++i) RegistryWriteValue(kKey, std::string(1, tag) + std::to_string(i), "v");
  };
  std::thread a(writer, 'a'), b(writer, 'b');
  a.join();
  b.join();
  EXPECT_EQ(RegistryListValues(kKey).size(), 80u);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.File("config/vorel")))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"registry.lock", "registry.txt"}));
}

TEST(RegistryStoreFolder, FollowsTheUsersConfigurationFolder) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(RegistryStorePath(), "/somewhere/config/vorel/registry.txt");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  const char* home = std::getenv("HOME");
  if (home && home[0]) {
    EXPECT_EQ(RegistryFolder(), JoinPath(home, ".config") + "/vorel");
  }
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
}

TEST_F(RegistryStoreTest, APlantedLinkAtAGuessableTemporaryNameIsNeverWrittenThrough) {
  const std::string victim = dir.Write("victim.txt", "precious");
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainWidth", "8400"));
  const std::string guess = RegistryStorePath() + ".tmp" + std::to_string(::getpid());
  ASSERT_EQ(::symlink(victim.c_str(), guess.c_str()), 0);
  ASSERT_TRUE(RegistryWriteValue(kKey, "MainHeight", "5865"));
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(RegistryStorePath()));
  EXPECT_EQ(RegistryGetValue(kKey, "MainHeight", ""), "5865");
  // Only the store, its lock and the planted link: no temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(RegistryFolder()), {}), 3);
}

}  // namespace
}  // namespace vorel::platform
