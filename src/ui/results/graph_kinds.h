// What distinguishes the twelve graph windows (the eleven breakdowns of the
// people's accesses and the robots set apart from them): names, caption, colour key,
// the result kinds they read and how they draw them. Plain C++, shared by the
// windows and the drawing routine.
#pragma once

#include <string>

namespace vorel::ui {

enum class GraphKind { Month, WWeek, DWeek, Date, Time, Os, Brws, Agent, Host, Ref, Page, Robot };

inline constexpr GraphKind kAllGraphKinds[] = {GraphKind::Month, GraphKind::WWeek, GraphKind::DWeek,
                                               GraphKind::Date,  GraphKind::Time,  GraphKind::Os,
                                               GraphKind::Brws,  GraphKind::Agent, GraphKind::Host,
                                               GraphKind::Ref,   GraphKind::Page,  GraphKind::Robot};

enum class GraphStyle {
  Columns,  // one column per period slot with accesses
  AllBars,  // one bar per table entry with a count (OS, browser, robots)
  TopBars,  // one bar per entry, the MaxDisp largest, zero counts included
};

struct GraphTraits {
  GraphKind kind;
  const char* objectName;   // "frmMonth"
  const char* caption;      // "月別解析"
  const char* pictureName;  // "picMonthRpt"
  const char* colourKey;    // "GraphMonth"
  GraphStyle style;
  // Columns: the period kind and its slot range. Bars: the table's three kinds.
  int kind1;  // period kind, or the table's entry-count kind
  int kind2;  // first slot, or the entry-count kind of one entry
  int kind3;  // last slot, or the entry-name kind
  int visibleBit;  // bit value in VisibleWindow
  int printBit;    // bit value in PrintWindow
};

const GraphTraits& TraitsOf(GraphKind kind);

// The label of a period column: "3月", "第5週", "日", "31日", "24時".
std::string ColumnLabel(GraphKind kind, int slot);

}  // namespace vorel::ui
