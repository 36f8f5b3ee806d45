#include "export/bar_image.h"

#include <unistd.h>

#include <filesystem>

#include "export/html_report.h"
#include "export/report_test_support.h"

namespace vorel::reports {
namespace {

using testing::ReadFile;

using BarImageTest = ReportTest;

// The image, byte for byte, sixteen to a row.
const unsigned char kExpectedGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x0C, 0x00, 0xB3, 0xFF, 0x00, 0xFF, 0xFF, 0xFF,
    0xF6, 0xF6, 0xFF, 0xEB, 0xEC, 0xFF, 0xDD, 0xDE, 0xFF, 0xCE, 0xD0, 0xFF, 0xBF, 0xC2, 0xFF, 0xB1,
    0xB4, 0xFF, 0xA4, 0xA7, 0xFF, 0x95, 0x98, 0xFF, 0x86, 0x89, 0xFF, 0x78, 0x7D, 0xFF, 0x6C, 0x71,
    0xFF, 0x64, 0x69, 0xFF, 0x00, 0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
    0x01, 0x00, 0x00, 0x0E, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x0C, 0x00, 0x40, 0x04,
    0x09, 0x90, 0x11, 0xA4, 0x8C, 0x58, 0xE9, 0x94, 0x11, 0x22, 0x00, 0x3B,
};
const std::string kGif(reinterpret_cast<const char*>(kExpectedGif), sizeof(kExpectedGif));

TEST_F(BarImageTest, WritesTheNinetyTwoBytesOnlyWhenAbsent) {
  ASSERT_TRUE(WriteBarImage(dir.path() + "/"));
  EXPECT_EQ(ReadFile(dir.File("bar.gif")), kGif);

  // Two reports into one folder: the second leaves the image alone.
  dir.Write("bar.gif", "mine");
  Fill(analysis::Result().Page, {{"index", 1}});
  ASSERT_TRUE(WriteHtmlReport(dir.File("one.html")));
  ASSERT_TRUE(WriteHtmlReport(dir.File("two.htm")));
  EXPECT_EQ(ReadFile(dir.File("bar.gif")), "mine");
  EXPECT_NE(ReadFile(dir.File("two.htm")).find("<img src=\"bar.gif\""), std::string::npos);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(BarImageTest, FolderlessPathUsesTheCurrentFolder) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Fill(analysis::Result().Page, {{"index", 1}});
  const bool written = WriteHtmlReport("plain.html");
  std::filesystem::current_path(previous);
  ASSERT_TRUE(written);
  EXPECT_EQ(ReadFile(dir.File("bar.gif")), kGif);
  EXPECT_NE(ReadFile(dir.File("plain.html")).find("index(1)"), std::string::npos);
}

TEST_F(BarImageTest, CancelledImageStillLetsThePageBeWritten) {
  // A folder named bar.gif cannot be replaced by the image.
  std::filesystem::create_directory(dir.File("bar.gif"));
  prompter.answers = {platform::MessageAnswer::Cancel};
  ASSERT_TRUE(WriteHtmlReport(dir.File("page.html")));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "画像ファイルの書き込みに失敗しました。\r\n" + dir.File("bar.gif"));
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_FALSE(ReadFile(dir.File("page.html")).empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("bar.gif")));
}

TEST_F(BarImageTest, RetryAfterTheFolderAppearsWritesTheImage) {
  const std::string folder = dir.File("site") + "/";
  prompter.answers = {platform::MessageAnswer::Retry};
  prompter.onMessage = [&](const platform::MessageRequest&) { std::filesystem::create_directory(dir.File("site")); };
  ASSERT_TRUE(WriteBarImage(folder));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "画像ファイルの書き込みに失敗しました。\r\n" + folder + "bar.gif");
  EXPECT_EQ(ReadFile(folder + "bar.gif"), kGif);
}

}  // namespace
}  // namespace vorel::reports
