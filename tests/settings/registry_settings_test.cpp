#include "settings/registry_settings.h"

#include <algorithm>

#include "settings/settings_file.h"
#include "settings_test_support.h"

namespace vorel::settings {
namespace {

using platform::RegistryListValues;
using platform::RegistryReadValue;
using platform::RegistryValue;
using platform::RegistryWriteValue;

class RegistrySettingsTest : public SettingsTest {
 protected:
  std::vector<std::string> StoredNames() {
    std::vector<std::string> names;
    for (const auto& v : RegistryListValues(kRegistrySection)) names.push_back(v.name);
    return names;
  }
  std::string Stored(const char* name) { return RegistryReadValue(kRegistrySection, name).value_or("<absent>"); }
};

// The values a save writes, in the order it writes them (without FtpPassword).
const std::vector<std::string> kSavedNames = {
    "MainWidth", "MainHeight", "VisibleWindow", "MainToolbar", "LogFile1", "LogFile2", "LogFile3", "LogFile4",
    "LogFile5", "Page1", "Page2", "Page3", "Page4", "Page5", "Page6", "Page7", "Page8", "Page9", "Page10",
    "SpecifyDate", "StartDate", "EndDate", "SpecifyPage", "MaxDisp", "IgnoreIP", "SpecifyClass", "CodeChange",
    "Smallize", "IgnoreIndex", "IgnoreQuestion", "IgnoreSharp", "IgnorePortNo", "SpecifyHost", "IgnoreHost",
    "IgnorePage", "SearchLike", "TimeZone", "RobotMode", "LogFormat", "AutoFtp", "AutoAnalize", "AutoMaxSize", "AutoTile", "FtpServerName",
    "FtpUserName", "FtpLogOverwrite", "FtpMessage", "FtpHostDir", "FtpLocalFolder", "FtpFileName", "GraphFore",
    "GraphBack", "GraphMonth", "GraphWeek", "GraphDWeek", "GraphDate", "GraphTime", "GraphOS", "GraphBrws",
    "GraphHost", "GraphRef", "GraphPage", "GraphAgent", "FontName", "FontSize", "GraphPattern", "PrintWindow",
    "PaperType"};

TEST_F(RegistrySettingsTest, AnEmptyRegistryLoadsTheDefaults) {
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamInt("MainWidth"), 8400);
  EXPECT_EQ(ParamInt("VisibleWindow"), 8191);
  EXPECT_EQ(ParamInt("CheckLine"), 200);
  EXPECT_TRUE(ParamFlag("MainToolbar"));
  EXPECT_EQ(ParamText("LogFile", 1), dir.path() + "/access.log");
  EXPECT_EQ(ParamText("Page", 1), "index");
  EXPECT_EQ(ParamText("Page", 10), "");
  EXPECT_EQ(GetParam("StartDate").ToText(), TodayText(true));
  EXPECT_EQ(GetParam("EndDate").ToText(), TodayText());
  EXPECT_EQ(ParamText("FtpLocalFolder"), dir.path());
  EXPECT_EQ(ParamText("GraphAgent"), "255064128");
  EXPECT_EQ(ParamInt("FontSize"), 9);
  EXPECT_EQ(ParamText("FtpPassword"), "");
  EXPECT_FALSE(ParamFlag("FtpSavePassword"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(RegistrySettingsTest, ASaveWritesEveryValueInItsOrderAndLeavesCheckLineOut) {
  LoadParamsFromRegistry();
  SetParam("StartDate", "2001/12/1");
  SetParam("EndDate", "2001/12/5");
  ASSERT_TRUE(SaveParamsToRegistry());
  EXPECT_EQ(StoredNames(), kSavedNames);
  EXPECT_EQ(Stored("MainToolbar"), "True");
  EXPECT_EQ(Stored("LogFile1"), dir.path() + "/access.log");
  EXPECT_EQ(Stored("LogFile2"), "");
  EXPECT_EQ(Stored("Page1"), "index");
  EXPECT_EQ(Stored("StartDate"), "2001/12/1");
  EXPECT_EQ(Stored("IgnoreIP"), "False");
  EXPECT_EQ(Stored("FontName"), "ＭＳ Ｐゴシック");
  EXPECT_EQ(Stored("PaperType"), "0");
  EXPECT_EQ(Stored("CheckLine"), "<absent>");
}

TEST_F(RegistrySettingsTest, EveryParameterChangedSurvivesASaveAndALoad) {
  LoadParamsFromRegistry();
  const std::vector<std::pair<std::string, std::string>> changes = {
      {"MainWidth", "9000"}, {"MainHeight", "7000"}, {"VisibleWindow", "5"}, {"MainToolbar", "False"},
      {"SpecifyDate", "False"}, {"StartDate", "2020/2/29"}, {"EndDate", "2021/1/31"}, {"SpecifyPage", "False"},
      {"MaxDisp", "50"}, {"IgnoreIP", "True"}, {"SpecifyClass", "False"}, {"CodeChange", "False"},
      {"Smallize", "True"}, {"IgnoreIndex", "False"}, {"IgnoreQuestion", "False"}, {"IgnoreSharp", "False"},
      {"IgnorePortNo", "False"}, {"SpecifyHost", "True"}, {"IgnoreHost", "True"}, {"IgnorePage", "False"},
      {"SearchLike", "True"}, {"TimeZone", "+09:00"}, {"RobotMode", "0"}, {"LogFormat", "%v:%p %h %l %u %t \"%r\" %>s %O"}, {"AutoFtp", "True"}, {"AutoAnalize", "True"}, {"AutoMaxSize", "True"},
      {"AutoTile", "True"}, {"FtpServerName", " ftp.example.jp "}, {"FtpUserName", "taro"},
      {"FtpPassword", "Abc!123~xyz ?#$%"}, {"FtpSavePassword", "True"}, {"FtpLogOverwrite", "False"},
      {"FtpMessage", "False"}, {"FtpHostDir", "~/www"}, {"FtpLocalFolder", "C:\\ログ\\\"引用\""},
      {"FtpFileName", "vorel.log"}, {"GraphFore", "001002003"}, {"GraphBack", "004005006"},
      {"GraphMonth", "007008009"}, {"GraphWeek", "010011012"}, {"GraphDWeek", "013014015"},
      {"GraphDate", "016017018"}, {"GraphTime", "019020021"}, {"GraphOS", "022023024"},
      {"GraphBrws", "025026027"}, {"GraphHost", "028029030"}, {"GraphRef", "031032033"},
      {"GraphPage", "034035036"}, {"GraphAgent", "037038039"}, {"FontName", "ＭＳ ゴシック"},
      {"FontSize", "0"}, {"GraphPattern", "9"}, {"PrintWindow", "3"}, {"PaperType", "2"}};
  for (const auto& [key, text] : changes) ASSERT_EQ(SetParam(key, ParamInput{text}), SetParamResult::Ok) << key;
  for (const char* page : {"p1", "p2\r\nsecond line", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10"})
    SetParam("Page", page);
  SetParam("LogFile", "C:\\logs\\access.log");
  ASSERT_TRUE(SaveParamsToRegistry());

  ClearParams();
  LoadParamsFromRegistry();
  // Registry values are taken as they are: no trimming, no range checks on the font or printing.
  for (const auto& [key, text] : changes) EXPECT_EQ(GetParam(key).ToText(), text) << key;
  EXPECT_EQ(ParamText("Page", 1), "p10");
  EXPECT_EQ(ParamText("Page", 9), "p2\r\nsecond line");
  EXPECT_EQ(ParamText("Page", 10), "p1");
  EXPECT_EQ(ParamText("LogFile", 1), "C:\\logs\\access.log");
  EXPECT_EQ(ParamText("LogFile", 2), dir.path() + "/access.log");
  EXPECT_EQ(ParamInt("CheckLine"), 200);
}

TEST_F(RegistrySettingsTest, ThePasswordIsScrambledOrRemoved) {
  LoadParamsFromRegistry();
  SetParam("FtpPassword", "Abc!123~xyz ?#$%");
  SetParam("FtpSavePassword", true);
  ASSERT_TRUE(SaveParamsToRegistry());
  const std::string stored = Stored("FtpPassword");
  EXPECT_EQ(stored.size(), 60u);
  EXPECT_EQ(stored.find_first_not_of("0123456789"), std::string::npos);
  std::vector<std::string> withPassword = kSavedNames;
  withPassword.insert(std::find(withPassword.begin(), withPassword.end(), "FtpUserName") + 1, "FtpPassword");
  EXPECT_EQ(StoredNames(), withPassword);
  ClearParams();
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamText("FtpPassword"), "Abc!123~xyz ?#$%");
  EXPECT_TRUE(ParamFlag("FtpSavePassword"));

  for (const char* password : {"Abc!123~xyz ?#$%-", "パスワード", ""}) {
    SetParam("FtpPassword", password);
    SetParam("FtpSavePassword", true);
    ASSERT_TRUE(SaveParamsToRegistry());
    ClearParams();
    LoadParamsFromRegistry();
    EXPECT_EQ(ParamText("FtpPassword"), "") << password;
    EXPECT_FALSE(ParamFlag("FtpSavePassword")) << password;
  }

  SetParam("FtpPassword", "secret");
  SetParam("FtpSavePassword", false);
  ASSERT_TRUE(SaveParamsToRegistry());
  EXPECT_EQ(Stored("FtpPassword"), "<absent>");
}

TEST_F(RegistrySettingsTest, ValuesStoredByHandAreCheckedOnLoad) {
  const std::vector<RegistryValue> byHand = {
      {"VisibleWindow", "9000"}, {"maxdisp", "0"}, {"CheckLine", "150"}, {"FontSize", "0"},
      {"MainWidth", "-5"}, {"GraphFore", " 001002003 "}, {"GraphBack", "255 255 255"}, {"LogFile1", "  spaced  "},
      {"Page2", "second"}, {"Smallize", "maybe"}, {"EndDate", "2001/2/30"}, {"FtpPassword", "12345"},
      {"FtpSavePassword", "True"}, {"DllVersion", "9.99"}, {"GraphPattern", "abc"}};
  for (const auto& v : byHand) ASSERT_TRUE(RegistryWriteValue(kRegistrySection, v.name, v.text));
  SetParam("Smallize", true);
  SetParam("EndDate", "2001/12/5");
  SetParam("GraphPattern", 3);
  SetParamFromText("DllVersion", "1.00");
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamInt("VisibleWindow"), 8191);
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
  EXPECT_EQ(ParamInt("CheckLine"), 200);
  EXPECT_EQ(ParamInt("FontSize"), 0);
  EXPECT_EQ(ParamInt("MainWidth"), -5);
  EXPECT_EQ(ParamText("GraphFore"), "001002003");
  EXPECT_EQ(ParamText("GraphBack"), "255255255");
  EXPECT_EQ(ParamText("LogFile", 1), "  spaced  ");
  EXPECT_EQ(ParamText("Page", 1), "index");
  EXPECT_EQ(ParamText("Page", 2), "second");
  // Unreadable values leave what the store held before the load.
  EXPECT_TRUE(ParamFlag("Smallize"));
  EXPECT_EQ(GetParam("EndDate").ToText(), "2001/12/5");
  EXPECT_EQ(ParamInt("GraphPattern"), 3);
  EXPECT_EQ(ParamText("FtpPassword"), "");
  EXPECT_FALSE(ParamFlag("FtpSavePassword"));
  EXPECT_EQ(ParamText("DllVersion"), "1.00");

  // With nothing loaded before, an unreadable MaxDisp is zero and then replaced.
  ClearParams();
  ASSERT_TRUE(RegistryWriteValue(kRegistrySection, "MaxDisp", "abc"));
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
}

TEST_F(RegistrySettingsTest, CheckLineSetByHandSurvivesSaves) {
  ASSERT_TRUE(RegistryWriteValue(kRegistrySection, "CheckLine", "500"));
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamInt("CheckLine"), 500);
  SetParam("CheckLine", 900);
  ASSERT_TRUE(SaveParamsToRegistry());
  EXPECT_EQ(Stored("CheckLine"), "500");
  ClearParams();
  LoadParamsFromRegistry();
  EXPECT_EQ(ParamInt("CheckLine"), 500);
}

TEST_F(RegistrySettingsTest, AWriteErrorAsksRetryOrCancelAndCancelStopsTheSave) {
  LoadParamsFromRegistry();
  ASSERT_TRUE(SaveParamsToRegistry());
  SetParam("MainWidth", 1000);
  SetParam("MaxDisp", 40);
  SetParam("Smallize", true);
  platform::SetRegistryWriteFaultForTesting([](std::string_view name) { return name == "MaxDisp"; });
  prompter.answers = {platform::MessageAnswer::Retry, platform::MessageAnswer::Cancel};
  EXPECT_FALSE(SaveParamsToRegistry());
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, "レジストリの書き込みに失敗しました。");
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_EQ(Stored("MainWidth"), "1000");  // written before the failure
  EXPECT_EQ(Stored("MaxDisp"), "25");
  EXPECT_EQ(Stored("Smallize"), "False");  // not reached: keeps its old contents
}

TEST_F(RegistrySettingsTest, RetryRepeatsTheFailedWriteAndGoesOn) {
  LoadParamsFromRegistry();
  SetParam("MaxDisp", 40);
  SetParam("PaperType", 2);
  int failures = 1;
  platform::SetRegistryWriteFaultForTesting([&](std::string_view name) { return name == "MaxDisp" && failures-- > 0; });
  prompter.answers = {platform::MessageAnswer::Retry};
  EXPECT_TRUE(SaveParamsToRegistry());
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(Stored("MaxDisp"), "40");
  EXPECT_EQ(Stored("PaperType"), "2");
  EXPECT_EQ(StoredNames(), kSavedNames);
}

TEST_F(RegistrySettingsTest, DeletingTheSettingsRemovesTheSectionOnly) {
  const std::string other = "Software\\VB and VBA Program Settings\\Palvern Company\\other";
  ASSERT_TRUE(RegistryWriteValue(other, "Keep", "1"));
  DeleteRegistrySettings();  // nothing there yet: no error
  LoadParamsFromRegistry();
  ASSERT_TRUE(SaveParamsToRegistry());
  DeleteRegistrySettings();
  EXPECT_TRUE(RegistryListValues(kRegistrySection).empty());
  EXPECT_EQ(platform::RegistryGetValue(other, "Keep", ""), "1");
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace vorel::settings
