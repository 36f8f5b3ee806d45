#include "ui/results/graph_kinds.h"

namespace vorel::ui {
namespace {

using enum GraphStyle;

// In the order of GraphKind.
constexpr GraphTraits kTraits[] = {
    {GraphKind::Month, "frmMonth", "月別解析", "picMonthRpt", "GraphMonth", Columns, 1, 1, 12, 2, 1},
    {GraphKind::WWeek, "frmWWeek", "週別解析", "picWWeekRpt", "GraphWeek", Columns, 2, 1, 54, 8, 4},
    {GraphKind::DWeek, "frmDWeek", "曜日別解析", "picDWeekRpt", "GraphDWeek", Columns, 3, 1, 7, 16, 8},
    {GraphKind::Date, "frmDate", "日付別解析", "picDateRpt", "GraphDate", Columns, 4, 1, 31, 4, 2},
    {GraphKind::Time, "frmTime", "時間別解析", "picTimeRpt", "GraphTime", Columns, 5, 0, 24, 32, 16},
    {GraphKind::Os, "frmOs", "ＯＳ別解析", "picOsRpt", "GraphOS", AllBars, 6, 7, 9, 64, 32},
    {GraphKind::Brws, "frmBrws", "ブラウザ別解析", "picBrwsRpt", "GraphBrws", AllBars, 10, 11, 13, 128, 64},
    {GraphKind::Agent, "frmAgent", "エージェント別解析", "picAgentRpt", "GraphAgent", TopBars, 14, 15, 16, 2048,
     1024},
    {GraphKind::Host, "frmHost", "ホスト名別解析", "picHostRpt", "GraphHost", TopBars, 17, 18, 19, 256, 128},
    {GraphKind::Ref, "frmRef", "前画面別解析", "picRefRpt", "GraphRef", TopBars, 20, 21, 22, 512, 256},
    {GraphKind::Page, "frmPage", "ページ別解析", "picPageRpt", "GraphPage", TopBars, 26, 27, 28, 1024, 512},
    // Robots wear the agent graph's colour: they are agents too.
    {GraphKind::Robot, "frmRobot", "ロボット別解析", "picRobotRpt", "GraphAgent", AllBars, 32, 33, 34, 4096, 2048},
};

constexpr const char* kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace

const GraphTraits& TraitsOf(GraphKind kind) { return kTraits[static_cast<int>(kind)]; }

std::string ColumnLabel(GraphKind kind, int slot) {
  const std::string n = std::to_string(slot);
  switch (kind) {
    case GraphKind::Month: return n + "月";
    case GraphKind::WWeek: return "第" + n + "週";
    case GraphKind::DWeek: return slot >= 1 && slot <= 7 ? kWeekdays[slot - 1] : n;
    case GraphKind::Date: return n + "日";
    case GraphKind::Time: return n + "時";
    default: return n;
  }
}

}  // namespace vorel::ui
