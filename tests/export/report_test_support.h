// Shared set-up for the report tests: a known parameter store, a result filled
// by hand as a finished analysis leaves it, and a scripted prompter.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <string>
#include <utility>

#include "analysis/result.h"
#include "export/html_report.h"
#include "platform/codepage.h"
#include "platform/prompter.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::reports {

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::ClearParams();
    settings::ApplyDefaults();
    settings::SetParam("SpecifyDate", false);
    settings::SetParam("SpecifyPage", false);
    analysis::Result() = analysis::AnalysisResult{};
    SetReportClockForTesting([] {
      std::tm t{};
      t.tm_year = 2001 - 1900;
      t.tm_mon = 11;
      t.tm_mday = 5;
      t.tm_hour = 9;
      t.tm_min = 3;
      t.tm_sec = 7;
      t.tm_isdst = -1;
      return std::mktime(&t);  // 2001-12-5 9:3:7 local time
    });
  }
  void TearDown() override {
    SetReportClockForTesting(nullptr);
    platform::SetWriteFaultForTesting(nullptr);
    analysis::Result() = analysis::AnalysisResult{};
    settings::ClearParams();
  }

  // Entries in table order (ascending counts, as a finished pass leaves them).
  static void Fill(analysis::CategoryTable& table, std::initializer_list<std::pair<const char*, int>> entries) {
    table.Clear();
    for (const auto& [name, count] : entries) table.Append(name, count);
  }

  // The small result of the hand-written expected reports: December 2001,
  // page "index", names that need quoting or escaping.
  static void FillSampleResult() {
    settings::SetParam("SpecifyDate", true);
    settings::SetParam("StartDate", "2001/12/1");
    settings::SetParam("EndDate", "2001/12/31");
    settings::SetParam("SpecifyPage", true);
    settings::SetParam("Page", "index");

    analysis::AnalysisResult& r = analysis::Result();
    r.Total = 20;
    r.Month[11] = 4;
    r.Month[12] = 16;
    r.WWeek[49] = 10;
    r.WWeek[50] = 5;
    r.WWeek[51] = 5;
    r.DWeek[1] = 10;
    r.DWeek[4] = 5;
    r.DWeek[7] = 5;
    r.Date[2] = 10;
    r.Date[5] = 5;
    r.Date[31] = 5;
    r.Time[0] = 5;
    r.Time[9] = 10;
    r.Time[24] = 5;
    Fill(r.OS, {{"Windows 98", 0}, {"Linux", 4}, {"Windows XP", 16}});
    Fill(r.Brws, {{"Opera", 0}, {"Firefox", 4}, {"Internet Explorer", 16}});
    Fill(r.Agent, {{"Evil <b>\"bot\"</b> & co", 0},
                   {"Mozilla/5.0 (X11; Linux) Firefox/1.0", 4},
                   {"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)", 16}});
    Fill(r.Host, {{"host-a.example.jp", 1}, {"host-b.example.jp", 2}, {"proxy.example.ne.jp", 19}});
    Fill(r.Ref, {{"http://search.example.com/?q=\"vorel\",log", 5}, {"http://www.example.jp/", 10}});
    Fill(r.Url, {{"http://www.example.jp/index.html", 10}});  // never reported
    Fill(r.Page, {{"old<page>", 0}, {"index", 20}});
  }

  // An expected report kept in tests/export/expected as UTF-8 with LF, in the
  // bytes a report has: CP932 with CR LF.
  static std::string Expected(const std::string& name) {
    std::string text = testing::ReadFile(std::string(VOREL_SOURCE_DIR) + "/tests/export/expected/" + name);
    return ReportBytes(text);
  }

  // UTF-8 lines joined by LF, as CP932 with CR LF.
  static std::string ReportBytes(const std::string& text) {
    std::string crlf;
    for (char c : text) {
      if (c == '\n') crlf.push_back('\r');
      crlf.push_back(c);
    }
    return platform::Utf8ToCp932(crlf);
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scoped{prompter};
};

}  // namespace vorel::reports
