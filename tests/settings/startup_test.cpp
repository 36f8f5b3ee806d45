#include "settings/startup.h"

#include <gtest/gtest.h>

namespace vorel::settings {
namespace {

struct SwitchCase {
  const char* arguments;
  bool useSettingsFile;
  bool deleteSettings;
};

TEST(ParseCommandLine, ReadsTheSwitchesWordByWord) {
  const SwitchCase cases[] = {
      {"", true, false},
      {"/usereGS", false, false},
      {"/USEREGS /USEFILE", true, false},
      {"/USEFILE /USEREGS", false, false},
      {"/DELREGS /USEREGS", false, true},
      {"/USEREGS /USEFILE,", false, false},  // "/USEFILE," is no switch
      {"/USEFILE,", true, false},
      {"\t/USEREGS\t", false, false},
      {"   other  /delregs   words ", true, true},
      {"\"/USEREGS\"", true, false},  // quotes mean nothing
      {"/USEREGS/DELREGS", true, false},
      {"/USEREGS\n", true, false},  // only spaces and tabs end a word
      {"/USEREGS", false, false},   // the last word needs no separator
  };
  for (const SwitchCase& c : cases) {
    StartupFlags flags = ParseCommandLine(c.arguments);
    EXPECT_EQ(flags.useSettingsFile, c.useSettingsFile) << '[' << c.arguments << ']';
    EXPECT_EQ(flags.deleteSettings, c.deleteSettings) << '[' << c.arguments << ']';
    EXPECT_EQ(CurrentStartupFlags().useSettingsFile, c.useSettingsFile);
    EXPECT_EQ(CurrentStartupFlags().deleteSettings, c.deleteSettings);
  }
}

TEST(GetInitInfo, TellsWhetherTheSettingsFileIsUsed) {
  ParseCommandLine("/useregs");
  EXPECT_EQ(GetInitInfo("InitInfo"), (std::variant<std::monostate, bool>{false}));
  ParseCommandLine("");
  EXPECT_EQ(GetInitInfo("InitInfo"), (std::variant<std::monostate, bool>{true}));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(GetInitInfo("initinfo")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(GetInitInfo("Other")));
}

}  // namespace
}  // namespace vorel::settings
