#include "ui/print/print_layout.h"

#include "ui/results/graph_drawing.h"

namespace vorel::ui {

PrintLayout LayoutForPaper(int screenWidth, int screenHeight, int paperType) {
  PrintLayout layout;
  layout.pageWidth = screenWidth;
  layout.pageHeight = screenHeight;
  const double area = 4.0 / 5.0;
  const double w = screenWidth, h = screenHeight;
  switch (paperType) {
    case kPaperOne:
      layout.graphWidth = RoundHalfEven(area * w);
      layout.graphHeight = RoundHalfEven(area * h);
      break;
    case kPaperTwo:
      layout.graphWidth = RoundHalfEven(area * w / 2);
      layout.graphHeight = RoundHalfEven(area * h);
      break;
    default:
      layout.graphWidth = RoundHalfEven(area * w / 2);
      layout.graphHeight = RoundHalfEven(area * h / 2);
      break;
  }
  layout.secondColumn = RoundHalfEven(w / 2 - w / 10);
  layout.secondRow = RoundHalfEven(h / 2 - h / 10);
  return layout;
}

std::vector<GraphKind> GraphsToPrint(int printWindow) {
  std::vector<GraphKind> kinds;
  for (GraphKind kind : kAllGraphKinds)
    if (printWindow & TraitsOf(kind).printBit) kinds.push_back(kind);
  return kinds;
}

bool NextPrintSlot(PrintState& state, int paperType, const PrintLayout& layout) {
  ++state.printed;
  const bool more = state.printed < state.total;
  if (paperType == kPaperOne) return more;
  if (state.x == 0) {
    state.x = layout.secondColumn;
    return false;
  }
  state.x = 0;
  if (paperType == kPaperTwo) return more;
  if (state.y == 0) {
    state.y = layout.secondRow;
    return false;
  }
  state.y = 0;
  return more;
}

int SheetCount(int graphs, int paperType) {
  const int perSheet = paperType == kPaperOne ? 1 : paperType == kPaperTwo ? 2 : 4;
  return (graphs + perSheet - 1) / perSheet;
}

bool PrintGraphs(PrintSheets& sheets, int printWindow, int paperType, const PrintLayout& layout) {
  const std::vector<GraphKind> kinds = GraphsToPrint(printWindow);
  PrintState state;
  state.total = static_cast<int>(kinds.size());
  const int sheetCount = SheetCount(state.total, paperType);
  int sheet = 1;
  for (GraphKind kind : kinds) {
    sheets.PrintGraph(kind, state.x, state.y, layout.graphWidth, layout.graphHeight);
    if (NextPrintSlot(state, paperType, layout)) {
      sheets.NumberSheet(sheet++, sheetCount);
      if (!sheets.NewSheet()) return false;
    }
  }
  if (state.total > 0) sheets.NumberSheet(sheet, sheetCount);
  return true;
}

}  // namespace vorel::ui
