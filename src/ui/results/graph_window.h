// The eleven graph windows: one family on one pattern. Each window shows one
// breakdown of the analysis result as columns (periods) or bars (categories),
// and offers the members the rest of the program uses: its open flag, redraw,
// print and colour members.
//
// Opening: GraphWindow::Create(kind) loads a window (colours from the
// settings). As a child of the main window's QMdiArea:
//     QPointer<GraphWindow> w = GraphWindow::Create(kind);
//     area->addSubWindow(w)->show();
// addSubWindow wraps it in a QMdiSubWindow that deletes itself, and the
// window with it, when closed. Closing (the sub-window's close box, or
// close() on the window itself, which closes its sub-window too) unloads: the window's close event clears the
// open flag, so ShowMe() is false from then until it is gone. Hiding
// (minimising) does not unload. Keep a QPointer: a null pointer means "not
// open" as well, and opening again calls Create anew, which reads the colours
// from the settings again. (A closed top-level window that is shown again
// loads anew the same way.)
#pragma once

#include <QWidget>
#include <cstdint>

#include "ui/results/graph_drawing.h"
#include "ui/results/graph_kinds.h"

class QPainter;

namespace vorel::ui {

class GraphPicture;

// The window's object name ("frmMonth" …) and its bit in VisibleWindow / PrintWindow.
const char* GraphObjectName(GraphKind kind);
int GraphVisibleBit(GraphKind kind);
int GraphPrintBit(GraphKind kind);

class GraphWindow : public QWidget {
  Q_OBJECT
 public:
  // A new window of the given kind (loaded: colours read from the settings).
  static GraphWindow* Create(GraphKind kind, QWidget* parent = nullptr);

  // Draws a kind's graph on a printer page for a window that is not open,
  // with the colours from the settings as loading would take them.
  static void PrintWithoutWindow(GraphKind kind, QPainter& target, int left, int top, int width, int height);

  GraphKind kind() const;
  // The open flag (aamShowMe and its like).
  bool ShowMe() const;
  // Reloads from the result and redraws (aamSetMonthValues and its like).
  void SetValues();
  // Draws the graph on another surface, in that surface's units (aamGraphPrint …).
  // The units are those of the painter's current transform (world and
  // window/viewport); text keeps its point size.
  void GraphPrint(QPainter& target, int left, int top, int width, int height);
  // Stores the colours (0xBBGGRR) for the next drawing (aamSetColor …).
  void SetColor(uint32_t fore, uint32_t back, uint32_t bar);

  // The drawing routine, in the target's units. A screen drawing is refused
  // (and lost) while the window is loading or already drawing; printing
  // always draws.
  void DrawGraph(GraphSurface& target, int left, int top, int width, int height, bool screen);

  const GraphColors& colors() const { return colors_; }
  // Screen drawing allowed: loaded and not drawing.
  bool ready() const { return ready_; }
  // The picture area (picMonthRpt …) holding the drawing.
  GraphPicture* picture() const { return picture_; }

  QSize sizeHint() const override;
  // The size a window opens with.
  static QSize InitialSize();

 protected:
  // Constructs without loading; Create loads.
  GraphWindow(GraphKind kind, QWidget* parent);
  // Reads the colours, applies the size rule, and marks the window ready and open.
  void Load();

  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Fits the picture area to the client area (left 0, top 120 twips) and redraws.
  void ApplyResizeRule();
  QWidget* Frame() const;

  GraphKind kind_;
  GraphColors colors_;
  bool ready_ = false;
  bool shown_ = false;
  GraphPicture* picture_;
};

}  // namespace vorel::ui
