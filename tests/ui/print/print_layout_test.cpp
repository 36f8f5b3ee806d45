// Where the graphs land: sizes by graphs per sheet, the advance from place
// to place, the sheets started, the printing order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/print/print_layout.h"
#include "ui/results/graph_kinds.h"

namespace vorel::ui {
namespace {

struct Placed {
  GraphKind kind;
  int sheet;
  int x;
  int y;
  int width;
  int height;
};

class RecordingSheets : public PrintSheets {
 public:
  void PrintGraph(GraphKind kind, int left, int top, int width, int height) override {
    placed.push_back({kind, sheet, left, top, width, height});
  }
  bool NewSheet() override {
    ++sheet;
    return !refuseNewSheet;
  }
  int sheets() const { return sheet + 1; }

  std::vector<Placed> placed;
  int sheet = 0;
  bool refuseNewSheet = false;
};

// An 800 × 600 screen.
constexpr int kW = 12000;
constexpr int kH = 9000;

// Bits of PrintWindow by graph, as the print dialog's check boxes have them.
constexpr int kMonth = 1, kDate = 2, kWeek = 4, kWeekday = 8, kHour = 16, kBrowser = 64, kHost = 128, kRef = 256,
              kAgent = 1024;

TEST(PrintLayoutTest, GraphSizeFollowsGraphsPerSheetAndRoundsToWholeUnits) {
  const PrintLayout one = LayoutForPaper(kW, kH, kPaperOne);
  EXPECT_EQ(one.graphWidth, 9600);
  EXPECT_EQ(one.graphHeight, 7200);
  const PrintLayout two = LayoutForPaper(kW, kH, kPaperTwo);
  EXPECT_EQ(two.graphWidth, 4800);
  EXPECT_EQ(two.graphHeight, 7200);
  const PrintLayout four = LayoutForPaper(kW, kH, kPaperFour);
  EXPECT_EQ(four.graphWidth, 4800);
  EXPECT_EQ(four.graphHeight, 3600);
  EXPECT_EQ(four.secondColumn, 4800);
  EXPECT_EQ(four.secondRow, 3600);
  // Any other value is two by two.
  const PrintLayout odd = LayoutForPaper(kW, kH, 7);
  EXPECT_EQ(odd.graphWidth, 4800);
  EXPECT_EQ(odd.graphHeight, 3600);

  // 0.8 × 1004 = 803.2, 0.4 × 1004 = 401.6, 0.8 × 1013 = 810.4.
  const PrintLayout rounded = LayoutForPaper(1004, 1013, kPaperOne);
  EXPECT_EQ(rounded.graphWidth, 803);
  EXPECT_EQ(rounded.graphHeight, 810);
  EXPECT_EQ(rounded.secondColumn, 402);
  EXPECT_EQ(rounded.secondRow, 405);
  EXPECT_EQ(LayoutForPaper(1004, 1013, kPaperTwo).graphWidth, 402);
  EXPECT_EQ(LayoutForPaper(1004, 1013, kPaperFour).graphHeight, 405);
}

TEST(PrintLayoutTest, NextPrintSlotWalksEachPaperTypeAndStartsNoSheetAfterTheLast) {
  const PrintLayout layout = LayoutForPaper(kW, kH, kPaperFour);
  struct Step {
    int x, y;
    bool newSheet;
  };
  auto walk = [&](int paperType, int total) {
    PrintState state;
    state.total = total;
    std::vector<Step> steps;
    for (int i = 0; i < total; ++i) {
      const bool newSheet = NextPrintSlot(state, paperType, layout);
      steps.push_back({state.x, state.y, newSheet});
    }
    EXPECT_EQ(state.printed, total);
    return steps;
  };
  auto same = [](const std::vector<Step>& got, const std::vector<Step>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].x, want[i].x) << "step " << i;
      EXPECT_EQ(got[i].y, want[i].y) << "step " << i;
      EXPECT_EQ(got[i].newSheet, want[i].newSheet) << "step " << i;
    }
  };
  same(walk(kPaperOne, 3), {{0, 0, true}, {0, 0, true}, {0, 0, false}});
  same(walk(kPaperTwo, 4), {{4800, 0, false}, {0, 0, true}, {4800, 0, false}, {0, 0, false}});
  same(walk(kPaperFour, 6), {{4800, 0, false},
                             {0, 3600, false},
                             {4800, 3600, false},
                             {0, 0, true},
                             {4800, 0, false},
                             {0, 3600, false}});
  // A full last sheet starts nothing after it.
  same(walk(kPaperFour, 4), {{4800, 0, false}, {0, 3600, false}, {4800, 3600, false}, {0, 0, false}});
  same(walk(-1, 2), {{4800, 0, false}, {0, 3600, false}});
}

TEST(PrintLayoutTest, AllBitsPrintTwelveGraphsInTheFixedOrderWhateverTheBitOrder) {
  RecordingSheets sheets;
  ASSERT_TRUE(PrintGraphs(sheets, 4095, kPaperOne, LayoutForPaper(kW, kH, kPaperOne)));
  const std::vector<GraphKind> order = {GraphKind::Month, GraphKind::WWeek, GraphKind::DWeek, GraphKind::Date,
                                        GraphKind::Time,  GraphKind::Os,    GraphKind::Brws,  GraphKind::Agent,
                                        GraphKind::Host,  GraphKind::Ref,   GraphKind::Page,  GraphKind::Robot};
  ASSERT_EQ(sheets.placed.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(sheets.placed[i].kind, order[i]) << i;
    EXPECT_EQ(sheets.placed[i].sheet, static_cast<int>(i));
  }
  EXPECT_EQ(sheets.sheets(), static_cast<int>(order.size()));

  // The agent's bit is the highest, yet the agent prints before the host.
  EXPECT_EQ(GraphsToPrint(kAgent | kHost | kDate | kHour),
            (std::vector<GraphKind>{GraphKind::Date, GraphKind::Time, GraphKind::Agent, GraphKind::Host}));
  EXPECT_EQ(GraphsToPrint(kBrowser | kRef), (std::vector<GraphKind>{GraphKind::Brws, GraphKind::Ref}));
  // Bit 11 is the robots' (old stored values had it set only in the default 4095, "all");
  // bit 12 and above select nothing.
  EXPECT_EQ(GraphsToPrint(2048), std::vector<GraphKind>{GraphKind::Robot});
  EXPECT_TRUE(GraphsToPrint(4096 | 8192).empty());
}

TEST(PrintLayoutTest, ARefusedSheetStopsTheRun) {
  RecordingSheets sheets;
  sheets.refuseNewSheet = true;
  EXPECT_FALSE(PrintGraphs(sheets, kMonth | kWeek | kWeekday, kPaperOne, LayoutForPaper(kW, kH, kPaperOne)));
  EXPECT_EQ(sheets.placed.size(), 1u);
}

}  // namespace
}  // namespace vorel::ui
