#include <filesystem>

#include "settings/registry_settings.h"
#include "settings_test_support.h"

namespace vorel::settings {
namespace {

using vorel::testing::ReadFile;
using vorel::testing::Sjis;

class RegistryExportTest : public SettingsTest {};

TEST(EscapeRegText, DoublesBackslashesAndEscapesQuotes) {
  EXPECT_EQ(EscapeRegText("C:\\logs\\access.log"), "C:\\\\logs\\\\access.log");
  EXPECT_EQ(EscapeRegText("say \"hi\""), "say \\\"hi\\\"");
  EXPECT_EQ(EscapeRegText("ＭＳ Ｐゴシック ~/public_html"), "ＭＳ Ｐゴシック ~/public_html");
  EXPECT_EQ(EscapeRegText(""), "");
}

TEST_F(RegistryExportTest, AStoreWrittenByTheSaveIsExportedInItsOrder) {
  LoadParamsFromRegistry();
  SetParam("LogFile", "C:\\logs\\access.log");
  SetParam("Page", "a \"quoted\" page");
  SetParam("StartDate", "2001/12/1");
  SetParam("EndDate", "2001/12/5");
  SetParam("Smallize", true);
  ASSERT_TRUE(SaveParamsToRegistry());
  const std::string path = dir.File("settings.reg");
  ASSERT_TRUE(ExportRegFile(path));

  const std::string d = dir.path();
  EXPECT_EQ(ReadFile(path),
            Sjis("REGEDIT4\r\n"
                 "\r\n"
                 "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Palvern Company\\vorel]\r\n"
                 "\"MainWidth\"=\"8400\"\r\n"
                 "\"MainHeight\"=\"5865\"\r\n"
                 "\"VisibleWindow\"=\"8191\"\r\n"
                 "\"MainToolbar\"=\"True\"\r\n"
                 "\"LogFile1\"=\"C:\\\\logs\\\\access.log\"\r\n"
                 "\"LogFile2\"=\"" + d + "/access.log\"\r\n"
                 "\"LogFile3\"=\"\"\r\n"
                 "\"LogFile4\"=\"\"\r\n"
                 "\"LogFile5\"=\"\"\r\n"
                 "\"Page1\"=\"a \\\"quoted\\\" page\"\r\n"
                 "\"Page2\"=\"index\"\r\n"
                 "\"Page3\"=\"\"\r\n"
                 "\"Page4\"=\"\"\r\n"
                 "\"Page5\"=\"\"\r\n"
                 "\"Page6\"=\"\"\r\n"
                 "\"Page7\"=\"\"\r\n"
                 "\"Page8\"=\"\"\r\n"
                 "\"Page9\"=\"\"\r\n"
                 "\"Page10\"=\"\"\r\n"
                 "\"SpecifyDate\"=\"True\"\r\n"
                 "\"StartDate\"=\"2001/12/1\"\r\n"
                 "\"EndDate\"=\"2001/12/5\"\r\n"
                 "\"SpecifyPage\"=\"True\"\r\n"
                 "\"MaxDisp\"=\"25\"\r\n"
                 "\"IgnoreIP\"=\"False\"\r\n"
                 "\"SpecifyClass\"=\"True\"\r\n"
                 "\"CodeChange\"=\"True\"\r\n"
                 "\"Smallize\"=\"True\"\r\n"
                 "\"IgnoreIndex\"=\"True\"\r\n"
                 "\"IgnoreQuestion\"=\"True\"\r\n"
                 "\"IgnoreSharp\"=\"True\"\r\n"
                 "\"IgnorePortNo\"=\"True\"\r\n"
                 "\"SpecifyHost\"=\"False\"\r\n"
                 "\"IgnoreHost\"=\"False\"\r\n"
                 "\"IgnorePage\"=\"True\"\r\n"
                 "\"SearchLike\"=\"False\"\r\n"
                 "\"TimeZone\"=\"\"\r\n"
                 "\"RobotMode\"=\"1\"\r\n"
                 "\"LogFormat\"=\"\"\r\n"
                 "\"AutoFtp\"=\"False\"\r\n"
                 "\"AutoAnalize\"=\"False\"\r\n"
                 "\"AutoMaxSize\"=\"False\"\r\n"
                 "\"AutoTile\"=\"False\"\r\n"
                 "\"FtpServerName\"=\"\"\r\n"
                 "\"FtpUserName\"=\"\"\r\n"
                 "\"FtpLogOverwrite\"=\"True\"\r\n"
                 "\"FtpMessage\"=\"True\"\r\n"
                 "\"FtpHostDir\"=\"~/public_html\"\r\n"
                 "\"FtpLocalFolder\"=\"" + d + "\"\r\n"
                 "\"FtpFileName\"=\"access.log\"\r\n"
                 "\"GraphFore\"=\"000000000\"\r\n"
                 "\"GraphBack\"=\"255255255\"\r\n"
                 "\"GraphMonth\"=\"255000000\"\r\n"
                 "\"GraphWeek\"=\"255128128\"\r\n"
                 "\"GraphDWeek\"=\"255128064\"\r\n"
                 "\"GraphDate\"=\"235225115\"\r\n"
                 "\"GraphTime\"=\"000255064\"\r\n"
                 "\"GraphOS\"=\"000255255\"\r\n"
                 "\"GraphBrws\"=\"000128255\"\r\n"
                 "\"GraphHost\"=\"000032128\"\r\n"
                 "\"GraphRef\"=\"128000128\"\r\n"
                 "\"GraphPage\"=\"255128255\"\r\n"
                 "\"GraphAgent\"=\"255064128\"\r\n"
                 "\"FontName\"=\"ＭＳ Ｐゴシック\"\r\n"
                 "\"FontSize\"=\"9\"\r\n"
                 "\"GraphPattern\"=\"1\"\r\n"
                 "\"PrintWindow\"=\"4095\"\r\n"
                 "\"PaperType\"=\"0\"\r\n"
                 "\r\n"));
}

TEST_F(RegistryExportTest, ThePasswordAndValuesAddedByHandAreExportedToo) {
  LoadParamsFromRegistry();
  SetParam("FtpUserName", "taro");
  SetParam("FtpPassword", "secret");
  SetParam("FtpSavePassword", true);
  ASSERT_TRUE(SaveParamsToRegistry());
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "CheckLine", "500"));
  const std::string path = dir.File("settings.reg");
  ASSERT_TRUE(ExportRegFile(path));
  const std::string text = ReadFile(path);

  const size_t user = text.find("\"FtpUserName\"=\"taro\"\r\n\"FtpPassword\"=\"");
  ASSERT_NE(user, std::string::npos);
  const size_t digits = text.find("\"FtpPassword\"=\"", user) + 15;
  EXPECT_EQ(text.find_first_not_of("0123456789", digits), digits + 60);
  EXPECT_EQ(text.compare(digits + 60, 3, "\"\r\n"), 0);
  // The value made by hand comes after the ones the save wrote.
  const std::string ending = "\"PaperType\"=\"0\"\r\n\"CheckLine\"=\"500\"\r\n\r\n";
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

TEST_F(RegistryExportTest, AnEmptySectionAsksRetryOrCancelAndCancelWritesNothing) {
  const std::string path = dir.File("settings.reg");
  prompter.answers = {platform::MessageAnswer::Cancel};
  EXPECT_FALSE(ExportRegFile(path));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "レジストリの書き込みに失敗しました。\r\n" + path);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_FALSE(std::filesystem::exists(path));

  // Retry reads the section again.
  prompter.messages.clear();
  prompter.answers = {platform::MessageAnswer::Retry};
  prompter.onMessage = [](const platform::MessageRequest&) {
    platform::RegistryWriteValue(kRegistrySection, "MainWidth", "8400");
  };
  EXPECT_TRUE(ExportRegFile(path));
  EXPECT_EQ(ReadFile(path), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Palvern "
                            "Company\\vorel]\r\n\"MainWidth\"=\"8400\"\r\n\r\n");
}

TEST_F(RegistryExportTest, AFileThatCannotBeWrittenAsksRetryOrCancel) {
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "MainWidth", "8400"));
  dir.Write("blocked", "a file where a folder should be");
  const std::string path = dir.File("blocked/settings.reg");
  prompter.answers = {platform::MessageAnswer::Cancel};
  EXPECT_FALSE(ExportRegFile(path));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "レジストリの書き込みに失敗しました。\r\n" + path);
}

// The bytes of a "hex(1):" value, its continuation lines joined.
std::string HexValueBytes(const std::string& text, const std::string& name) {
  const std::string head = "\"" + name + "\"=hex(1):";
  size_t at = text.find(head);
  if (at == std::string::npos) return "(missing)";
  std::string bytes;
  at += head.size();
  while (true) {
    bytes.push_back(static_cast<char>(std::stoi(text.substr(at, 2), nullptr, 16)));
    at += 2;
    if (text.compare(at, 2, "\r\n") == 0) return bytes;
    if (text[at++] != ',') return "(broken)";
    if (text.compare(at, 5, "\\\r\n  ") == 0) at += 5;
  }
}

TEST_F(RegistryExportTest, ValuesWithLineBreaksAreWrittenInHexForm) {
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "MainWidth", "8400"));
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "Page1", "a\r\nb"));
  const std::string longer = "ログ\n" + std::string(60, 'x') + "\rC:\\logs";
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "FtpHostDir", longer));
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "Page2", "plain"));
  const std::string path = dir.File("settings.reg");
  ASSERT_TRUE(ExportRegFile(path));
  const std::string text = ReadFile(path);

  EXPECT_NE(text.find("\"MainWidth\"=\"8400\"\r\n\"Page1\"=hex(1):61,0d,0a,62,00\r\n\"FtpHostDir\"=hex(1):"),
            std::string::npos)
      << text;
  EXPECT_EQ(HexValueBytes(text, "FtpHostDir"), Sjis(longer) + std::string(1, '\0'));
  EXPECT_NE(text.find("\"Page2\"=\"plain\"\r\n\r\n"), std::string::npos);
  // Every line ends in CR LF and stays short, as the registry editor writes them.
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; start = lf + 1, lf = text.find('\n', start)) {
    EXPECT_EQ(text[lf - 1], '\r');
    EXPECT_LE(lf - start, 80u) << text.substr(start, lf - start);
  }
}

TEST_F(RegistryExportTest, AnExistingFileIsReplaced) {
  ASSERT_TRUE(platform::RegistryWriteValue(kRegistrySection, "MaxDisp", "30"));
  const std::string path = dir.Write("settings.reg", std::string(5000, 'x'));
  ASSERT_TRUE(ExportRegFile(path));
  EXPECT_EQ(ReadFile(path), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Palvern "
                            "Company\\vorel]\r\n\"MaxDisp\"=\"30\"\r\n\r\n");
}

}  // namespace
}  // namespace vorel::settings
