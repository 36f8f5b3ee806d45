#include "settings/param_store.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/paths.h"
#include "support/test_files.h"

namespace vorel::settings {
namespace {

class ParamStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(programFolder.path());  // a writable folder of a portable copy
    ClearParams();
    ApplyDefaults();
  }
  void TearDown() override { platform::SetProgramFolder(""); }
  testing::TempDir programFolder;

  std::vector<std::string> List(std::string_view key, int size) {
    std::vector<std::string> entries;
    for (int i = 1; i <= size; ++i) entries.push_back(ParamText(key, i));
    return entries;
  }
};

TEST_F(ParamStoreTest, DefaultsAreInPlaceWithTheirTypes) {
  EXPECT_EQ(GetParam("MainWidth").type, ParamType::Long);
  EXPECT_EQ(ParamInt("MainWidth"), 8400);
  EXPECT_EQ(GetParam("VisibleWindow").type, ParamType::Short);
  EXPECT_EQ(ParamInt("VisibleWindow"), 8191);
  EXPECT_TRUE(ParamFlag("SpecifyDate"));
  EXPECT_EQ(ParamText("LogFile", 1), programFolder.File("access.log"));
  EXPECT_EQ(ParamText("Page", 1), "index");
  EXPECT_EQ(ParamText("Page", 2), "");
  EXPECT_EQ(ParamText("FtpLocalFolder"), programFolder.path());
  EXPECT_EQ(ParamText("FontName"), "ＭＳ Ｐゴシック");
  EXPECT_EQ(ParamText("GraphDate"), "235225115");
  const Date today = Today();
  EXPECT_EQ(ParamDate("StartDate"), (Date{today.year, today.month, 1}));
  EXPECT_EQ(ParamDate("EndDate"), today);
}

TEST_F(ParamStoreTest, KeysAreCaseSensitiveAndIndexesApplyOnlyToLists) {
  EXPECT_TRUE(GetParam("logfile", 1).IsEmpty());
  EXPECT_EQ(GetParam("LogFile", 0).text, "");
  EXPECT_EQ(GetParam("MaxDisp", 7).number, 25);
  EXPECT_THROW(GetParam("LogFile", 6), std::out_of_range);
  EXPECT_THROW(GetParam("Page", 11), std::out_of_range);
  EXPECT_NO_THROW(GetParam("Page", 10));
  EXPECT_EQ(SetParam("NoSuchKey", 5), SetParamResult::Ok);  // ignored
}

TEST_F(ParamStoreTest, ListsTakeNewValuesAtTheirHead) {
  SetParam("Page", "c");
  SetParam("Page", "b");
  SetParam("Page", "a");
  SetParam("Page", "b");
  EXPECT_EQ(List("Page", 4), (std::vector<std::string>{"b", "a", "c", "index"}));
  SetParam("Page", "b");  // already first: unchanged
  EXPECT_EQ(List("Page", 4), (std::vector<std::string>{"b", "a", "c", "index"}));

  for (const char* name : {"l1", "l2", "l3", "l4", "l5"}) SetParam("LogFile", name);
  SetParam("LogFile", "l6");
  EXPECT_EQ(List("LogFile", 5), (std::vector<std::string>{"l6", "l5", "l4", "l3", "l2"}));
}

TEST_F(ParamStoreTest, AnEmptyValueStillGoesFirst) {
  ClearParams();
  SetParam("LogFile", "b");
  SetParam("LogFile", "a");
  SetParam("LogFile", "");
  EXPECT_EQ(List("LogFile", 5), (std::vector<std::string>{"", "a", "b", "", ""}));
}

TEST_F(ParamStoreTest, ConversionsAndTheirErrorsKeepTheOldValue) {
  EXPECT_EQ(SetParam("MaxDisp", "abc"), SetParamResult::ConversionError);
  EXPECT_EQ(ParamInt("MaxDisp"), 25);
  EXPECT_EQ(SetParam("MaxDisp", 40000), SetParamResult::ConversionError);  // past a 16-bit slot
  EXPECT_EQ(SetParam("MaxDisp", " 30 "), SetParamResult::Ok);
  EXPECT_EQ(ParamInt("MaxDisp"), 30);
  EXPECT_EQ(SetParam("CheckLine", 40000), SetParamResult::Ok);
  EXPECT_EQ(SetParam("SpecifyDate", "False"), SetParamResult::Ok);
  EXPECT_FALSE(ParamFlag("SpecifyDate"));
  EXPECT_EQ(SetParam("SpecifyDate", 1), SetParamResult::Ok);
  EXPECT_TRUE(ParamFlag("SpecifyDate"));
  EXPECT_EQ(SetParam("SpecifyDate", "maybe"), SetParamResult::ConversionError);
  EXPECT_EQ(SetParam("StartDate", "2001/2/30"), SetParamResult::ConversionError);
  EXPECT_EQ(SetParam("StartDate", "2001/12/05"), SetParamResult::Ok);
  EXPECT_EQ(GetParam("StartDate").ToText(), "2001/12/5");
  EXPECT_EQ(SetParam("FtpHostDir", 12), SetParamResult::Ok);
  EXPECT_EQ(ParamText("FtpHostDir"), "12");
}

TEST(DateText, ParsesAndFormatsYearMonthDay) {
  EXPECT_EQ(ParseDate("2000/2/29"), (Date{2000, 2, 29}));
  EXPECT_FALSE(ParseDate("1900/2/29"));
  EXPECT_FALSE(ParseDate("2001/13/1"));
  EXPECT_FALSE(ParseDate("2001-1-1"));
  EXPECT_FALSE(ParseDate("2001/1/"));
  EXPECT_EQ(FormatDate(Date{2001, 12, 5}), "2001/12/5");
  EXPECT_EQ(FormatDate(Date{987, 1, 1}), "0987/1/1");
}

}  // namespace
}  // namespace vorel::settings
