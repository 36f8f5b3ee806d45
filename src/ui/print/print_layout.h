// Where the printed graphs go: the page's coordinate system, the graph size
// for the number of graphs per sheet, the printing order and the advance
// from one place to the next. Plain C++; the sheets themselves are behind
// PrintSheets, a printer or PDF page in the program and a recorder in tests.
#pragma once

#include <vector>

#include "ui/results/graph_kinds.h"

namespace vorel::ui {

// PaperType: graphs per sheet, as the index of the print dialog's option buttons.
enum PaperKind : int { kPaperOne = 0, kPaperTwo = 1, kPaperFour = 2 };

// The page is W × H units (the screen's size in twips) with its origin a tenth
// in from the left and top edges; graphs fill the area (0, 0)–(0.8 W, 0.8 H).
struct PrintLayout {
  int pageWidth = 0;     // W
  int pageHeight = 0;    // H
  int graphWidth = 0;
  int graphHeight = 0;
  int secondColumn = 0;  // x of the right-hand graph
  int secondRow = 0;     // y of the lower graph
};

PrintLayout LayoutForPaper(int screenWidth, int screenHeight, int paperType);

// The graphs whose PrintWindow bit is set, in printing order: month, week,
// weekday, date, hour, OS, browser, agent, host, previous page, page.
std::vector<GraphKind> GraphsToPrint(int printWindow);

// One print run: N graphs, how many are printed, and the next graph's place.
struct PrintState {
  int total = 0;
  int printed = 0;
  int x = 0;
  int y = 0;
};

// Counts the graph just printed and moves to the next place; true when a new
// sheet must be started there (never after the last graph).
bool NextPrintSlot(PrintState& state, int paperType, const PrintLayout& layout);

class PrintSheets {
 public:
  virtual ~PrintSheets() = default;
  // Draws one graph into a rectangle of the current sheet, in page units.
  virtual void PrintGraph(GraphKind kind, int left, int top, int width, int height) = 0;
  // Starts the next sheet; false when the device refuses.
  virtual bool NewSheet() = 0;
  // Numbers the current sheet "n / m" once its graphs are on it.
  virtual void NumberSheet(int sheet, int sheets) { (void)sheet, (void)sheets; }
};

// How many sheets a run of `graphs` takes at `paperType`.
int SheetCount(int graphs, int paperType);

// Prints the graphs of `printWindow`, `paperType` to a sheet; false when a
// new sheet could not be started (the run stops there).
bool PrintGraphs(PrintSheets& sheets, int printWindow, int paperType, const PrintLayout& layout);

}  // namespace vorel::ui
