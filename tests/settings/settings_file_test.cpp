#include "settings/settings_file.h"

#include <filesystem>

#include "settings_test_support.h"

namespace vorel::settings {
namespace {

using vorel::testing::ReadFile;
using vorel::testing::Sjis;

class SettingsFileTest : public SettingsTest {
 protected:
  // Loads a settings file of the given lines (CP932, CR LF).
  bool LoadLines(const std::string& utf8Lines) {
    dir.Write("vorel.ini", Sjis(utf8Lines));
    return LoadParamsFromFile();
  }
  // The settings file without its FtpPassword line, which is different each time.
  std::string SavedWithoutPassword(std::string* passwordLine = nullptr) {
    std::string text = vorel::testing::FromSjis(ReadFile(dir.File("vorel.ini")));
    size_t at = text.find("FtpPassword=");
    if (at == std::string::npos) return text;
    size_t end = text.find("\r\n", at) + 2;
    if (passwordLine) *passwordLine = text.substr(at, end - at);
    return text.erase(at, end - at);
  }
};

TEST_F(SettingsFileTest, FirstRunLoadsDefaultsQuietlyAndSavesTheAlwaysWrittenValues) {
  EXPECT_FALSE(LoadParamsFromFile());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ParamInt("MainWidth"), 8400);
  EXPECT_EQ(ParamInt("VisibleWindow"), 8191);
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
  EXPECT_EQ(ParamInt("CheckLine"), 200);
  EXPECT_TRUE(ParamFlag("SpecifyDate"));
  EXPECT_FALSE(ParamFlag("Smallize"));
  EXPECT_EQ(ParamText("LogFile", 1), dir.path() + "/access.log");
  EXPECT_EQ(ParamText("LogFile", 2), "");
  EXPECT_EQ(ParamText("Page", 1), "index");
  EXPECT_EQ(GetParam("StartDate").ToText(), TodayText(true));
  EXPECT_EQ(GetParam("EndDate").ToText(), TodayText());
  EXPECT_EQ(ParamText("FtpLocalFolder"), dir.path());
  EXPECT_EQ(ParamText("FtpHostDir"), "~/public_html");
  EXPECT_EQ(ParamText("GraphDate"), "235225115");
  EXPECT_EQ(ParamText("FontName"), "ＭＳ Ｐゴシック");
  EXPECT_EQ(ParamInt("GraphPattern"), 1);
  EXPECT_FALSE(ParamFlag("FtpSavePassword"));

  ASSERT_TRUE(SaveParamsToFile());
  EXPECT_EQ(ReadFile(dir.File("vorel.ini")),
            "[vorel]\r\n\r\nMainWidth=8400\r\nMainHeight=5865\r\nLogFile=" + dir.path() +
                "/access.log\r\nPage=index\r\nStartDate=" + TodayText(true) + "\r\nEndDate=" + TodayText() +
                "\r\nFtpLocalFolder=" + dir.path() + "\r\n");
}

TEST_F(SettingsFileTest, TheExampleFileIsWrittenByteForByte) {
  // A program in a folder with a Japanese name, so the code page shows too.
  const std::string folder = dir.File("ツール");
  std::filesystem::create_directory(folder);
  platform::SetProgramFolder(folder);
  LoadParamsFromFile();
  SetParam("Smallize", true);
  SetParam("AutoTile", true);
  SetParam("StartDate", "2001/12/1");
  SetParam("EndDate", "2001/12/5");
  ASSERT_TRUE(SaveParamsToFile());
  EXPECT_EQ(ReadFile(folder + "/vorel.ini"),
            "[vorel]\r\n"
            "\r\n"
            "MainWidth=8400\r\n"
            "MainHeight=5865\r\n"
            "LogFile=" + dir.path() + "/\x83\x63\x81\x5B\x83\x8B/access.log\r\n"
            "Page=index\r\n"
            "StartDate=2001/12/1\r\n"
            "EndDate=2001/12/5\r\n"
            "Smallize=True\r\n"
            "AutoTile=True\r\n"
            "FtpLocalFolder=" + dir.path() + "/\x83\x63\x81\x5B\x83\x8B\r\n");
}

TEST_F(SettingsFileTest, EveryParameterChangedIsWrittenInOrderAndReadBack) {
  LoadParamsFromFile();
  const std::vector<std::pair<std::string, std::string>> changes = {
      {"MainWidth", "9000"}, {"MainHeight", "7000"}, {"VisibleWindow", "5"}, {"MainToolbar", "False"},
      {"SpecifyDate", "False"}, {"StartDate", "2020/2/29"}, {"EndDate", "2021/1/31"}, {"SpecifyPage", "False"},
      {"MaxDisp", "50"}, {"IgnoreIP", "True"}, {"SpecifyClass", "False"}, {"CheckLine", "500"},
      {"CodeChange", "False"}, {"Smallize", "True"}, {"IgnoreIndex", "False"}, {"IgnoreQuestion", "False"},
      {"IgnoreSharp", "False"}, {"IgnorePortNo", "False"}, {"SpecifyHost", "True"}, {"IgnoreHost", "True"},
      {"IgnorePage", "False"}, {"SearchLike", "True"}, {"TimeZone", "Asia/Tokyo"}, {"RobotMode", "2"}, {"LogFormat", "%h %l %u %t \"%r\" %>s %b"}, {"AutoFtp", "True"}, {"AutoAnalize", "True"},
      {"AutoMaxSize", "True"}, {"AutoTile", "True"}, {"FtpServerName", "ftp.example.jp"},
      {"FtpUserName", "taro"}, {"FtpPassword", "Abc!123~xyz ?#$%"}, {"FtpSavePassword", "True"},
      {"FtpLogOverwrite", "False"}, {"FtpMessage", "False"}, {"FtpHostDir", "~/www"},
      {"FtpLocalFolder", "/home/taro/ログ"}, {"FtpFileName", "vorel.log"}, {"GraphFore", "001002003"},
      {"GraphBack", "004005006"}, {"GraphMonth", "007008009"}, {"GraphWeek", "010011012"},
      {"GraphDWeek", "013014015"}, {"GraphDate", "016017018"}, {"GraphTime", "019020021"},
      {"GraphOS", "022023024"}, {"GraphBrws", "025026027"}, {"GraphHost", "028029030"},
      {"GraphRef", "031032033"}, {"GraphPage", "034035036"}, {"GraphAgent", "037038039"},
      {"FontName", "ＭＳ ゴシック"}, {"FontSize", "12"}, {"GraphPattern", "7"}, {"PrintWindow", "3"},
      {"PaperType", "2"}};
  for (const auto& [key, text] : changes) ASSERT_EQ(SetParam(key, ParamInput{text}), SetParamResult::Ok) << key;
  for (const char* log : {"/logs/a.log", "/logs/b.log", "/logs/c.log"}) SetParam("LogFile", log);
  for (const char* page : {"p1", "p2"}) SetParam("Page", page);
  ASSERT_TRUE(SaveParamsToFile());

  std::string passwordLine;
  EXPECT_EQ(SavedWithoutPassword(&passwordLine),
            "[vorel]\r\n\r\n"
            "MainWidth=9000\r\nMainHeight=7000\r\nVisibleWindow=5\r\nMainToolbar=False\r\n"
            "LogFile=/logs/c.log\r\nLogFile=/logs/b.log\r\nLogFile=/logs/a.log\r\nLogFile=" + dir.path() +
                "/access.log\r\n"
            "Page=p2\r\nPage=p1\r\nPage=index\r\n"
            "SpecifyDate=False\r\nStartDate=2020/2/29\r\nEndDate=2021/1/31\r\nSpecifyPage=False\r\n"
            "MaxDisp=50\r\nIgnoreIP=True\r\nSpecifyClass=False\r\nCheckLine=500\r\nCodeChange=False\r\n"
            "Smallize=True\r\nIgnoreIndex=False\r\nIgnoreQuestion=False\r\nIgnoreSharp=False\r\n"
            "IgnorePortNo=False\r\nSpecifyHost=True\r\nIgnoreHost=True\r\nIgnorePage=False\r\n"
            "SearchLike=True\r\nTimeZone=Asia/Tokyo\r\nRobotMode=2\r\nLogFormat=%h %l %u %t \"%r\" %>s %b\r\nAutoFtp=True\r\nAutoAnalize=True\r\nAutoMaxSize=True\r\nAutoTile=True\r\n"
            "FtpServerName=ftp.example.jp\r\nFtpUserName=taro\r\n"
            "FtpLogOverwrite=False\r\nFtpMessage=False\r\nFtpHostDir=~/www\r\n"
            "FtpLocalFolder=/home/taro/ログ\r\nFtpFileName=vorel.log\r\n"
            "GraphFore=001002003\r\nGraphBack=004005006\r\nGraphMonth=007008009\r\nGraphWeek=010011012\r\n"
            "GraphDWeek=013014015\r\nGraphDate=016017018\r\nGraphTime=019020021\r\nGraphOS=022023024\r\n"
            "GraphBrws=025026027\r\nGraphHost=028029030\r\nGraphRef=031032033\r\nGraphPage=034035036\r\n"
            "GraphAgent=037038039\r\n"
            "FontName=ＭＳ ゴシック\r\nFontSize=12\r\nGraphPattern=7\r\nPrintWindow=3\r\nPaperType=2\r\n");
  // The password line sits right after FtpUserName.
  EXPECT_NE(vorel::testing::FromSjis(ReadFile(dir.File("vorel.ini"))).find("FtpUserName=taro\r\n" + passwordLine),
            std::string::npos);
  EXPECT_EQ(passwordLine.size(), std::string("FtpPassword=").size() + 60 + 2);

  ClearParams();
  ASSERT_TRUE(LoadParamsFromFile());
  for (const auto& [key, text] : changes) EXPECT_EQ(GetParam(key).ToText(), text) << key;
  EXPECT_EQ(ParamText("LogFile", 1), "/logs/c.log");
  EXPECT_EQ(ParamText("LogFile", 4), dir.path() + "/access.log");
  EXPECT_EQ(ParamText("LogFile", 5), "");
  EXPECT_EQ(ParamText("Page", 2), "p1");
  EXPECT_EQ(ParamText("Page", 3), "index");
  EXPECT_EQ(ParamText("Page", 4), "");
}

TEST_F(SettingsFileTest, KeysIgnoreCaseAndSpacesAndValuesMayHoldEquals) {
  ASSERT_TRUE(LoadLines("[vorel]\r\n\r\n  maxdisp =30\r\nPage=a=b\r\n FTPHOSTDIR =  ~/www  \r\n"
                        "StartDate= 2001/12/01 \r\nFontName=  ＭＳ 明朝 \r\n"));
  EXPECT_EQ(ParamInt("MaxDisp"), 30);
  EXPECT_EQ(ParamText("Page", 1), "a=b");
  EXPECT_EQ(ParamText("FtpHostDir"), "~/www");
  EXPECT_EQ(GetParam("StartDate").ToText(), "2001/12/1");
  EXPECT_EQ(ParamText("FontName"), "ＭＳ 明朝");
}

TEST_F(SettingsFileTest, NumbersOutOfRangeOrUnreadableTakeTheirDefaults) {
  for (const char* line : {"MaxDisp=0", "MaxDisp=1000", "MaxDisp=abc", "MaxDisp=99999"}) {
    ClearParams();
    LoadLines(std::string(line) + "\r\n");
    EXPECT_EQ(ParamInt("MaxDisp"), 25) << line;
  }
  struct Case {
    const char* line;
    const char* key;
    int expected;
  };
  for (const Case& c : {Case{"FontSize=0", "FontSize", 9}, Case{"FontSize=100", "FontSize", 9},
                        Case{"FontSize=99", "FontSize", 99}, Case{"GraphPattern=8", "GraphPattern", 1},
                        Case{"GraphPattern=0", "GraphPattern", 0}, Case{"PrintWindow=-1", "PrintWindow", 4095},
                        Case{"PaperType=3", "PaperType", 0}, Case{"PaperType=2", "PaperType", 2},
                        Case{"VisibleWindow=8192", "VisibleWindow", 8191},
                        Case{"VisibleWindow=4095", "VisibleWindow", 4095}, Case{"RobotMode=3", "RobotMode", 1},
                        Case{"RobotMode=-1", "RobotMode", 1}, Case{"RobotMode=2", "RobotMode", 2}, Case{"VisibleWindow=0", "VisibleWindow", 0},
                        Case{"CheckLine=199", "CheckLine", 200}, Case{"CheckLine=500", "CheckLine", 500},
                        Case{"MainWidth=-9000", "MainWidth", 9000}, Case{"MainHeight=x", "MainHeight", 5865}}) {
    ClearParams();
    LoadLines(std::string(c.line) + "\r\n");
    EXPECT_EQ(ParamInt(c.key), c.expected) << c.line;
  }
}

TEST_F(SettingsFileTest, ALaterLineOverridesAndAnUnreadableOneKeepsTheEarlierValue) {
  LoadLines("MaxDisp=30\r\nMaxDisp=abc\r\nSmallize=True\r\nSmallize=maybe\r\nEndDate=2001/12/5\r\n"
            "EndDate=2001/2/30\r\nIgnoreIP=True\r\nIgnoreIP=False\r\n");
  EXPECT_EQ(ParamInt("MaxDisp"), 30);
  EXPECT_TRUE(ParamFlag("Smallize"));
  EXPECT_EQ(GetParam("EndDate").ToText(), "2001/12/5");
  EXPECT_FALSE(ParamFlag("IgnoreIP"));
}

TEST_F(SettingsFileTest, AColourMustBeNineCharactersLong) {
  LoadLines("GraphBack=255 255 255\r\nGraphFore= 001002003 \r\nGraphMonth=12345678\r\n");
  EXPECT_EQ(ParamText("GraphBack"), "255255255");
  EXPECT_EQ(ParamText("GraphFore"), "001002003");
  EXPECT_EQ(ParamText("GraphMonth"), "255000000");
}

TEST_F(SettingsFileTest, ListKeysFillTheirEntriesInLineOrder) {
  LoadLines("LogFile=one\r\nLogFile=two\r\nPage=p\r\nLogFile=three\r\nLogFile=four\r\nLogFile=five\r\n"
            "LogFile=six\r\nLogFile=seven\r\n");
  const char* expected[] = {"one", "two", "three", "four", "five"};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(ParamText("LogFile", i), expected[i - 1]);
  EXPECT_EQ(ParamText("Page", 1), "p");
  EXPECT_EQ(ParamText("Page", 2), "");

  ClearParams();
  LoadLines("LogFile=only\r\n");
  EXPECT_EQ(ParamText("LogFile", 1), "only");
  EXPECT_EQ(ParamText("Page", 1), "index");  // no line: the default stays
}

TEST_F(SettingsFileTest, GarbageLinesAreSkippedAndTheGoodOnesStillCount) {
  std::string bytes = Sjis("[vorel]\r\nno equals sign here\r\n=no key\r\nUnknownKey=1\r\nLogFile1=x\r\n"
                           "FtpSavePassword=True\r\nDllVersion=9.99\r\n");
  bytes += std::string("\x81\xFF\x00\x82=\x80\r\n", 8);
  bytes += "MaxDisp=" + std::string(1 << 20, '7') + "\r\n";
  bytes += std::string("Smallize=True\nAutoTile=True\rAutoFtp=True\r\n");
  bytes += "CodeChange=False";  // no line end at all
  dir.Write("vorel.ini", bytes);
  SetParamFromText("DllVersion", "1.00");
  ASSERT_TRUE(LoadParamsFromFile());
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
  EXPECT_EQ(ParamText("LogFile", 1), dir.path() + "/access.log");
  EXPECT_FALSE(ParamFlag("FtpSavePassword"));
  EXPECT_EQ(ParamText("DllVersion"), "1.00");  // asked for at start-up, never stored
  EXPECT_TRUE(ParamFlag("Smallize"));
  EXPECT_TRUE(ParamFlag("AutoTile"));
  EXPECT_TRUE(ParamFlag("AutoFtp"));
  EXPECT_FALSE(ParamFlag("CodeChange"));

  // Random bytes never crash the loader.
  uint32_t state = 12345;
  for (int round = 0; round < 100; ++round) {
    std::string noise;
    for (int i = 0; i < 400; ++i) {
      state = state * 1103515245u + 12345u;
      noise.push_back("=\r\n aM\x81\x40xD\xE0isp0"[(state >> 16) % 14]);
    }
    dir.Write("vorel.ini", noise);
    LoadParamsFromFile();
  }
}

TEST_F(SettingsFileTest, ThePasswordIsKeptOnlyWhenAskedAndOnlyWhenItFits) {
  LoadParamsFromFile();
  SetParam("FtpPassword", "Abc!123~xyz ?#$%");
  SetParam("FtpSavePassword", true);
  ASSERT_TRUE(SaveParamsToFile());
  ClearParams();
  LoadParamsFromFile();
  EXPECT_EQ(ParamText("FtpPassword"), "Abc!123~xyz ?#$%");
  EXPECT_TRUE(ParamFlag("FtpSavePassword"));

  for (const char* password : {"Abc!123~xyz ?#$%-", "パスワード", ""}) {
    SetParam("FtpPassword", password);
    SetParam("FtpSavePassword", true);
    ASSERT_TRUE(SaveParamsToFile());
    ClearParams();
    LoadParamsFromFile();
    EXPECT_EQ(ParamText("FtpPassword"), "") << password;
    EXPECT_FALSE(ParamFlag("FtpSavePassword")) << password;
  }

  SetParam("FtpPassword", "secret");
  SetParam("FtpSavePassword", false);
  ASSERT_TRUE(SaveParamsToFile());
  EXPECT_EQ(ReadFile(dir.File("vorel.ini")).find("FtpPassword"), std::string::npos);
}

TEST_F(SettingsFileTest, OneChangedDigitOfTheStoredPasswordLoadsAsEmpty) {
  LoadParamsFromFile();
  SetParam("FtpPassword", "secret");
  SetParam("FtpSavePassword", true);
  ASSERT_TRUE(SaveParamsToFile());
  std::string text = ReadFile(dir.File("vorel.ini"));
  const size_t slot = text.find("FtpPassword=") + 12 + 20;
  text[slot] = text[slot] == '0' ? '1' : '0';
  dir.Write("vorel.ini", text);
  ClearParams();
  LoadParamsFromFile();
  EXPECT_EQ(ParamText("FtpPassword"), "");
  EXPECT_FALSE(ParamFlag("FtpSavePassword"));
}

TEST_F(SettingsFileTest, AFailedSaveAsksRetryOrCancelAndCancelKeepsTheOldFile) {
  LoadParamsFromFile();
  ASSERT_TRUE(SaveParamsToFile());
  const std::string old = ReadFile(dir.File("vorel.ini"));
  SetParam("MaxDisp", 40);
  platform::SetWriteFaultForTesting([](int step) { return step == 1; });
  prompter.answers = {platform::MessageAnswer::Cancel};
  EXPECT_FALSE(SaveParamsToFile());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "設定ファイルの書き込みに失敗しました。\r\n" + dir.path() + "/vorel.ini");
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_EQ(ReadFile(dir.File("vorel.ini")), old);
}

TEST_F(SettingsFileTest, RetryAfterTheCauseIsRemovedWritesTheFile) {
  dir.Write("blocked", "a file where a folder should be");
  const std::string path = dir.File("blocked/vorel.ini");
  LoadParamsFromFile();
  prompter.answers = {platform::MessageAnswer::Cancel};
  EXPECT_FALSE(SaveParamsToFileAt(path));
  EXPECT_EQ(prompter.messages.at(0).text, "設定ファイルの書き込みに失敗しました。\r\n" + path);

  prompter.messages.clear();
  prompter.answers = {platform::MessageAnswer::Retry};
  prompter.onMessage = [&](const platform::MessageRequest&) {
    std::filesystem::remove(dir.File("blocked"));
    std::filesystem::create_directory(dir.File("blocked"));
  };
  EXPECT_TRUE(SaveParamsToFileAt(path));
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(ReadFile(path).substr(0, 9), "[vorel]\r\n");
}

TEST_F(SettingsFileTest, CheckLineSetByHandIsWrittenBack) {
  LoadLines("CheckLine=500\r\n");
  ASSERT_TRUE(SaveParamsToFile());
  EXPECT_NE(ReadFile(dir.File("vorel.ini")).find("\r\nCheckLine=500\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AValueCp932CannotCarryMakesTheFileUtf8WithAByteOrderMark) {
  LoadParamsFromFile();
  SetParam("LogFile", "~/logs/日記/access.log");
  ASSERT_TRUE(SaveParamsToFile());
  // Every value fits: the file stays CP932 for every other copy of the program.
  const std::string cp932 = ReadFile(dir.File("vorel.ini"));
  EXPECT_EQ(cp932.substr(0, 9), "[vorel]\r\n");
  EXPECT_NE(cp932.find(Sjis("LogFile=~/logs/日記/access.log\r\n")), std::string::npos);

  SetParam("LogFile", "~/logs/café/access.log");
  SetParam("FtpLocalFolder", "/home/taro/€uro");
  ASSERT_TRUE(SaveParamsToFile());
  const std::string utf8 = ReadFile(dir.File("vorel.ini"));
  EXPECT_EQ(utf8.substr(0, 12), "\xEF\xBB\xBF[vorel]\r\n");
  EXPECT_NE(utf8.find("LogFile=~/logs/café/access.log\r\nLogFile=~/logs/日記/access.log\r\n"), std::string::npos);

  ClearParams();
  ASSERT_TRUE(LoadParamsFromFile());
  EXPECT_EQ(ParamText("LogFile", 1), "~/logs/café/access.log");
  EXPECT_EQ(ParamText("LogFile", 2), "~/logs/日記/access.log");
  EXPECT_EQ(ParamText("FtpLocalFolder"), "/home/taro/€uro");
  EXPECT_EQ(ParamInt("MainWidth"), 8400);  // the first line after the mark is read like any other
}

TEST_F(SettingsFileTest, OnlyARegularFileOfAtMostSixteenMebibytesIsRead) {
  // A file of the limit is read; one byte more and it is left alone with every default.
  const std::string path = dir.Write("vorel.ini", "[vorel]\r\nMaxDisp=30\r\n");
  std::filesystem::resize_file(path, platform::kSmallFileLimit);
  EXPECT_TRUE(LoadParamsFromFile());
  EXPECT_EQ(ParamInt("MaxDisp"), 30);
  std::filesystem::resize_file(path, platform::kSmallFileLimit + 1);
  EXPECT_FALSE(LoadParamsFromFile());
  EXPECT_EQ(ParamInt("MaxDisp"), 25);

  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/zero", path);
  EXPECT_FALSE(LoadParamsFromFile());
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace vorel::settings
