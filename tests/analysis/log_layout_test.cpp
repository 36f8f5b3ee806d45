#include "analysis/log_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorel::analysis {
namespace {

using F = LayoutField;

std::vector<LayoutField> Fields(const LogLayout& layout) {
  std::vector<LayoutField> fields;
  for (const LayoutStep& step : layout.steps) fields.push_back(step.field);
  return fields;
}

// The fields the analysis uses, in their order.
std::vector<LayoutField> UsedFields(const LogLayout& layout) {
  std::vector<LayoutField> fields;
  for (const LayoutStep& step : layout.steps)
    if (step.field != F::Skip) fields.push_back(step.field);
  return fields;
}

const std::vector<LayoutField> kCombinedFields = {F::Host, F::Time, F::Request, F::Status, F::Referrer, F::Agent};

TEST(LogLayoutTest, ApacheAndNginxFormatsAsPastedCompileToTheSameFields) {
  const char* pasted[] = {
      // The bare string, as it stands inside the configuration's quotes.
      "%h %l %u %t \\\"%r\\\" %>s %b \\\"%{Referer}i\\\" \\\"%{User-Agent}i\\\"",
      // The whole configuration line, nickname and all.
      "LogFormat \"%h %l %u %t \\\"%r\\\" %>s %b \\\"%{Referer}i\\\" \\\"%{User-agent}i\\\"\" combined",
      // Quotes already unescaped.
      "  %a %l %u %t \"%r\" %s %O \"%{referer}i\" \"%{User-Agent}i\"  ",
      // nginx, in pieces over two lines, with a parameter.
      "log_format main escape=default '$remote_addr - $remote_user [$time_local] \"$request\" '\n"
      "                '$status $body_bytes_sent \"$http_referer\" \"$http_user_agent\"';",
      // nginx's format without its line.
      "'$remote_addr - $remote_user [$time_local] \"$request\" $status $body_bytes_sent \"$http_referer\" "
      "\"${http_user_agent}\"'",
  };
  for (const char* format : pasted) {
    LogLayout layout;
    std::string error;
    ASSERT_TRUE(CompileLogLayout(format, layout, error)) << format << "\n" << error;
    EXPECT_EQ(UsedFields(layout), kCombinedFields) << format;
    // The request, the referrer and the agent stand between quotes, nothing else.
    for (const LayoutStep& step : layout.steps)
      EXPECT_EQ(step.quoted, step.field == F::Request || step.field == F::Referrer || step.field == F::Agent)
          << format << " " << static_cast<int>(step.field);
    EXPECT_EQ(layout.tail, "\"");
  }
}

TEST(LogLayoutTest, TheTextsBetweenFieldsAreKept) {
  LogLayout layout;
  std::string error;
  ASSERT_TRUE(CompileLogLayout("%v:%p %h %t \"%r\" 100%% %>s", layout, error)) << error;
  ASSERT_EQ(layout.steps.size(), 6u);
  EXPECT_EQ(layout.steps[0].literal, "");
  EXPECT_EQ(layout.steps[1].literal, ":");
  EXPECT_TRUE(layout.steps[3].bracketed);
  EXPECT_EQ(layout.steps[4].literal, " \"");
  EXPECT_EQ(layout.steps[5].literal, "\" 100% ");
  EXPECT_EQ(Fields(layout), (std::vector<LayoutField>{F::Skip, F::Skip, F::Host, F::Time, F::Request, F::Status}));
  // The query string after the path goes with it.
  ASSERT_TRUE(CompileLogLayout("%t %m %U%q %H %>s", layout, error)) << error;
  EXPECT_EQ(Fields(layout), (std::vector<LayoutField>{F::Time, F::Method, F::Target, F::Skip, F::Status}));
}

TEST(LogLayoutTest, AFormatThatCannotDescribeALineSaysWhy) {
  const struct {
    const char* format;
    const char* said;
  } rows[] = {
      {"%h %l %u \"%r\" %>s", "時刻"},
      {"$remote_addr [$time_local] $status", "ページ"},
      {"%h%l %t \"%r\"", "%h と %l"},
      {"%h %t \"%r\" %{Referer", "「{」"},
      {"$remote_addr ${time_local [$time_local] \"$request\"", "「{」"},
      {"%h %t \"%r\" %", "「%」"},
      {"%h %t \"%r\" %>", "「%>」"},
      {"%h %{%d/%b/%Y}t \"%r\"", "%t"},
      {"LogFormat \"%h %t \\\"%r\\\"", "引用符"},
      {"log_format main '$remote_addr [$time_local] \"$request\"", "引用符"},
      {"", "時刻"},
  };
  for (const auto& row : rows) {
    LogLayout layout;
    std::string error;
    EXPECT_FALSE(CompileLogLayout(row.format, layout, error)) << row.format;
    EXPECT_NE(error.find(row.said), std::string::npos) << row.format << "\n" << error;
    EXPECT_TRUE(layout.steps.empty());
  }
}

}  // namespace
}  // namespace vorel::analysis
