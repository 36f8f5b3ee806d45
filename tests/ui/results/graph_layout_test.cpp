// The layout of columns and bars, checked on the recording surface against
// positions worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph_test_support.h"
#include "recording_surface.h"
#include "ui/results/graph_drawing.h"
#include "ui/results/graph_kinds.h"

namespace vorel::ui::testing {
namespace {

using analysis::Result;
using settings::SetParam;

constexpr GraphColors kColors{0x111111, 0xFFFFFF, 0x0000FF};

struct Box {
  int x1, y1, x2, y2;
  bool operator==(const Box&) const = default;
};

std::vector<Box> Boxes(const RecordingSurface& s) {
  std::vector<Box> out;
  for (const auto& b : s.boxes) out.push_back({b.x1, b.y1, b.x2, b.y2});
  return out;
}

std::vector<std::string> Texts(const RecordingSurface& s) {
  std::vector<std::string> out;
  for (const auto& t : s.texts) out.push_back(t.text);
  return out;
}

class GraphLayoutTest : public GraphTest {
 protected:
  RecordingSurface Draw(GraphKind kind, int left, int top, int width, int height) {
    RecordingSurface surface;
    PaintGraph(kind, kColors, surface, left, top, width, height);
    return surface;
  }
};

TEST_F(GraphLayoutTest, MarchAndJulyGiveTwoTouchingColumnsWithLabelAboveCount) {
  Result().Month[3] = 45;
  Result().Month[7] = 90;
  RecordingSurface s = Draw(GraphKind::Month, 100, 200, 4500, 3300);

  // Half of width - 500 each; July reaches top + 150, March ends half-way; base at top + height - 150.
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{350, 3350, 2350, 1850}, {2350, 3350, 4350, 350}}));
  ASSERT_EQ(s.texts.size(), 4u);
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"3月", "45", "7月", "90"}));
  // Centred on the column (two characters of 90), label two text heights above the base, count one.
  EXPECT_DOUBLE_EQ(s.texts[0].x, 350 + (2000 - 180) / 2.0);
  EXPECT_DOUBLE_EQ(s.texts[0].y, 3350 - 360);
  EXPECT_DOUBLE_EQ(s.texts[1].x, 350 + (2000 - 180) / 2.0);
  EXPECT_DOUBLE_EQ(s.texts[1].y, 3350 - 180);
  EXPECT_DOUBLE_EQ(s.texts[2].x, 350 + (6000 - 180) / 2.0);
  EXPECT_DOUBLE_EQ(s.texts[3].y, 3350 - 180);
}

TEST_F(GraphLayoutTest, BarsInBarColourWithThePatternAndTextsInFore) {
  Result().Month[1] = 5;
  SetParam("GraphPattern", 6);
  RecordingSurface s = Draw(GraphKind::Month, 0, 0, 2000, 2000);
  ASSERT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.boxes[0].drawColor, kColors.bar);
  EXPECT_EQ(s.boxes[0].fillColor, kColors.bar);
  EXPECT_EQ(s.boxes[0].fillStyle, 6);
  EXPECT_EQ(s.boxes[0].lineWidth, 1);
  for (const auto& t : s.texts) EXPECT_EQ(t.color, kColors.fore) << t.text;
  // The font: one size below, the name, then the size.
  EXPECT_EQ(s.fontCalls, (std::vector<std::string>{"size 8", "name ＭＳ Ｐゴシック", "size 9"}));
}

TEST_F(GraphLayoutTest, PatternOutsideTheListDrawsOutlineOnly) {
  Result().Time[3] = 1;
  ASSERT_EQ(SetParam("GraphPattern", 12), settings::SetParamResult::Ok);
  RecordingSurface s = Draw(GraphKind::Time, 0, 0, 2000, 2000);
  ASSERT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.boxes[0].fillStyle, kFillTransparent);
}

TEST_F(GraphLayoutTest, ColumnEdgesRoundHalvesToEven) {
  for (int m = 1; m <= 4; ++m) Result().Month[m] = 1;
  // Columns of 0.5: edges at 250, 250.5, 251, 251.5, 252.
  RecordingSurface s = Draw(GraphKind::Month, 0, 0, 502, 1000);
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{250, 850, 250, 150}, {250, 850, 251, 150}, {251, 850, 252, 150},
                                        {252, 850, 252, 150}}));
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(1e300), INT_MAX);
}

TEST_F(GraphLayoutTest, HourTwentyFourAndHourZeroAreColumns) {
  Result().Time[0] = 2;
  Result().Time[24] = 5;
  RecordingSurface s = Draw(GraphKind::Time, 0, 0, 2500, 1300);
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{250, 1150, 1250, 750}, {1250, 1150, 2250, 150}}));
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"0時", "2", "24時", "5"}));
  EXPECT_DOUBLE_EQ(s.texts[2].x, 250 + (3000 - 270) / 2.0);
}

TEST_F(GraphLayoutTest, PeriodLabels) {
  Result().WWeek[5] = 1;
  Result().WWeek[54] = 1;
  EXPECT_EQ(Texts(Draw(GraphKind::WWeek, 0, 0, 3000, 3000)), (std::vector<std::string>{"第5週", "1", "第54週", "1"}));
  for (int d = 1; d <= 7; ++d) Result().DWeek[d] = d;
  EXPECT_EQ(Texts(Draw(GraphKind::DWeek, 0, 0, 3000, 3000)),
            (std::vector<std::string>{"日", "1", "月", "2", "火", "3", "水", "4", "木", "5", "金", "6", "土", "7"}));
  Result().Date[31] = 12;
  EXPECT_EQ(Texts(Draw(GraphKind::Date, 0, 0, 3000, 3000)), (std::vector<std::string>{"31日", "12"}));
}

TEST_F(GraphLayoutTest, CrowdedPeriodLabelsAreThinnedToEveryNthColumnAndEveryColumnStays) {
  for (int w = 1; w <= 54; ++w) Result().WWeek[w] = 100 + w;
  // 54 columns of (9000 - 500) / 54 = 157.4: labels of up to 4 characters (360)
  // and a space (90) need 450, so every third column carries its texts.
  RecordingSurface s = Draw(GraphKind::WWeek, 0, 0, 9000, 3000);
  EXPECT_EQ(s.boxes.size(), 54u);
  std::vector<std::string> expected;
  for (int w = 1; w <= 54; w += 3) {
    expected.push_back("第" + std::to_string(w) + "週");
    expected.push_back(std::to_string(100 + w));
  }
  EXPECT_EQ(Texts(s), expected);
  // A space between neighbouring labels, and between neighbouring counts.
  for (size_t t = 2; t < s.texts.size(); ++t) {
    const RecordedText& before = s.texts[t - 2];
    EXPECT_GE(s.texts[t].x - (before.x + kCharWidth * RecordingSurface::Characters(before.text)), kCharWidth)
        << s.texts[t].text;
  }

  analysis::Result() = analysis::AnalysisResult{};
  for (int d = 1; d <= 31; ++d) Result().Date[d] = d;
  // 31 columns of 96.8: "31日" (270) and a space need 360, four columns (387).
  EXPECT_EQ(Texts(Draw(GraphKind::Date, 0, 0, 3500, 2000)),
            (std::vector<std::string>{"1日", "1", "5日", "5", "9日", "9", "13日", "13", "17日", "17", "21日", "21",
                                      "25日", "25", "29日", "29"}));
  // Wide enough, every column keeps its label.
  EXPECT_EQ(Texts(Draw(GraphKind::Date, 0, 0, 31 * 400 + 500, 2000)).size(), 62u);
}

TEST_F(GraphLayoutTest, FortyHostsShowTheTwentyFiveLargestLargestOnTop) {
  for (int i = 1; i <= 40; ++i) Result().Host.Append("host" + std::to_string(i), i);
  RecordingSurface s = Draw(GraphKind::Host, 0, 0, 5500, 3000);
  // Rows of (3000 - 500) / 25 = 100; 125 units per access.
  ASSERT_EQ(s.boxes.size(), 25u);
  for (int k = 0; k < 25; ++k) {
    const int count = 40 - k;
    EXPECT_EQ(Boxes(s)[k], (Box{250, 250 + 100 * k, 250 + 125 * count, 350 + 100 * k})) << k;
    EXPECT_EQ(s.texts[k].text, "host" + std::to_string(count) + " ( " + std::to_string(count) + " )");
    EXPECT_DOUBLE_EQ(s.texts[k].x, 350);
    EXPECT_DOUBLE_EQ(s.texts[k].y, 250 + ((2 * k + 1) * 100 - 180) / 2.0);
  }
}

// A row's text in the room it has (the recording surface: 90 a character):
// the name gives way in its middle, the count never.
struct FitRow {
  const char* name;
  const char* suffix;
  int room;  // in characters
  const char* shown;
};

TEST_F(GraphLayoutTest, ALongNameIsShortenedInTheMiddleAndTheCountStaysWhole) {
  const FitRow rows[] = {
      {"abcdefghij", " ( 5 )", 16, "abcdefghij ( 5 )"},
      {"abcdefghij", " ( 5 )", 15, "abcd…ghij ( 5 )"},
      {"abcdefghij", " ( 5 )", 12, "abc…ij ( 5 )"},
      {"abcdefghij", " ( 5 )", 7, "… ( 5 )"},
      {"abcdefghij", " ( 5 )", 3, "… ( 5 )"},
      {"日本語のページの名前", " ( 12 )", 12, "日本…名前 ( 12 )"},
  };
  for (const FitRow& row : rows) {
    RecordingSurface surface;
    EXPECT_EQ(FitRowText(surface, row.name, row.suffix, row.room * kCharWidth), row.shown) << row.name << " " << row.room;
  }
}

TEST_F(GraphLayoutTest, EveryRowOfANarrowGraphShowsItsWholeCountInsideTheGraph) {
  const std::string agent = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120";
  Fill(Result().Agent, {{"short", 7}, {agent, 1234}});
  const int width = 4000;
  RecordingSurface s = Draw(GraphKind::Agent, 100, 0, width, 2000);
  ASSERT_EQ(s.texts.size(), 2u);
  EXPECT_EQ(s.texts[0].text.rfind("Mozilla/", 0), 0u);
  EXPECT_NE(s.texts[0].text.find("…"), std::string::npos);
  EXPECT_TRUE(s.texts[0].text.ends_with("Chrome/120 ( 1234 )")) << s.texts[0].text;
  EXPECT_EQ(s.texts[1].text, "short ( 7 )");
  for (const RecordedText& text : s.texts)
    EXPECT_LE(text.x + RecordingSurface::Characters(text.text) * kCharWidth, 100 + width - 250) << text.text;
}

TEST_F(GraphLayoutTest, RowsThinnerThanTheirTextNeedATallerGraphOrASmallerFont) {
  for (int i = 1; i <= 40; ++i) Result().Host.Append("host" + std::to_string(i), i);
  // 25 rows of text 180 high, and the margins.
  RecordingSurface measure;
  EXPECT_EQ(GraphHeightNeeded(GraphKind::Host, measure), 25 * static_cast<int>(kTextHeight) + 500);
  EXPECT_EQ(GraphHeightNeeded(GraphKind::Month, measure), 0);
  // On paper there is no scrolling: the font shrinks to the row.
  RecordingSurface thin = Draw(GraphKind::Host, 0, 0, 5500, 3000);
  ASSERT_EQ(thin.fontCalls.size(), 4u);
  EXPECT_LT(std::stoi(thin.fontCalls.back().substr(5)), settings::ParamInt("FontSize"));
  RecordingSurface tall = Draw(GraphKind::Host, 0, 0, 5500, GraphHeightNeeded(GraphKind::Host, measure));
  EXPECT_EQ(tall.fontCalls.size(), 3u);
}

TEST_F(GraphLayoutTest, TenHostsShowAllTen) {
  for (int i = 1; i <= 10; ++i) Result().Host.Append("h" + std::to_string(i), i);
  RecordingSurface s = Draw(GraphKind::Host, 30, 40, 5500, 3000);
  ASSERT_EQ(s.boxes.size(), 10u);
  // Rows of 250, 500 units per access, shifted by left 30 and top 40.
  EXPECT_EQ(Boxes(s)[0], (Box{280, 290, 5280, 540}));
  EXPECT_EQ(Boxes(s)[9], (Box{280, 2540, 780, 2790}));
  EXPECT_EQ(s.texts[9].text, "h1 ( 1 )");
  EXPECT_DOUBLE_EQ(s.texts[9].x, 380);
}

TEST_F(GraphLayoutTest, ZeroCountPageIsARowWithTextAndNoBar) {
  Fill(Result().Page, {{"gb", 0}, {"diary", 4}, {"index", 8}});
  RecordingSurface s = Draw(GraphKind::Page, 0, 0, 4500, 2000);
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{250, 250, 4250, 750}, {250, 750, 2250, 1250}, {250, 1250, 250, 1750}}));
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"index ( 8 )", "diary ( 4 )", "gb ( 0 )"}));
  EXPECT_DOUBLE_EQ(s.texts[2].y, 250 + (5 * 500 - 180) / 2.0);
}

TEST_F(GraphLayoutTest, MaxDispCutsTheSmallestEntries) {
  Fill(Result().Ref, {{"c", 1}, {"b", 2}, {"a", 3}});
  SetParam("MaxDisp", 2);
  RecordingSurface s = Draw(GraphKind::Ref, 0, 0, 3500, 2000);
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"a ( 3 )", "b ( 2 )"}));
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{250, 250, 3250, 1000}, {250, 1000, 2250, 1750}}));
}

TEST_F(GraphLayoutTest, OsEntriesWithoutCountAreNotRows) {
  Fill(Result().OS, {{"BeOS", 0}, {"Mac", 0}, {"Windows", 3}, {"Linux", 9}});
  RecordingSurface s = Draw(GraphKind::Os, 0, 0, 4500, 2500);
  // Two rows of 1000; 4000 / 9 units per access.
  EXPECT_EQ(Boxes(s), (std::vector<Box>{{250, 250, 4250, 1250}, {250, 1250, 1583, 2250}}));
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"Linux ( 9 )", "Windows ( 3 )"}));
  EXPECT_DOUBLE_EQ(s.texts[0].x, 350);

  Fill(Result().Brws, {{"Opera", 0}, {"Firefox", 2}});
  EXPECT_EQ(Texts(Draw(GraphKind::Brws, 0, 0, 4500, 2500)), (std::vector<std::string>{"Firefox ( 2 )"}));
}

TEST_F(GraphLayoutTest, NothingIsDrawnBeforeAnyAnalysis) {
  // As after start-up: OS and browser entries with zero counts, the rest empty.
  Fill(Result().OS, {{"Windows", 0}, {"Linux", 0}});
  Fill(Result().Brws, {{"Firefox", 0}});
  for (GraphKind kind : kAllGraphKinds) {
    RecordingSurface s = Draw(kind, 0, 0, 4000, 3000);
    EXPECT_TRUE(s.boxes.empty()) << TraitsOf(kind).objectName;
    EXPECT_TRUE(s.texts.empty()) << TraitsOf(kind).objectName;
    EXPECT_EQ(s.fontCalls.size(), 3u) << "the font is set even with nothing to draw";
  }
}

TEST_F(GraphLayoutTest, TopBarsNeedALargestCountAboveZero) {
  Fill(Result().Agent, {{"a", 0}, {"b", 0}});
  EXPECT_TRUE(Draw(GraphKind::Agent, 0, 0, 4000, 3000).boxes.empty());
}

}  // namespace
}  // namespace vorel::ui::testing
