// The eleven graph windows: one family on one pattern. Each window shows one
// breakdown of the analysis result as columns (periods) or bars (categories),
// and offers the members the rest of the program uses: its open flag, redraw,
// print and colour members.
#pragma once

#include <QWidget>
#include <cstdint>

class QPainter;

namespace vorel::ui {

enum class GraphKind { Month, WWeek, DWeek, Date, Time, Os, Brws, Agent, Host, Ref, Page };

inline constexpr GraphKind kAllGraphKinds[] = {GraphKind::Month, GraphKind::WWeek, GraphKind::DWeek,
                                               GraphKind::Date,  GraphKind::Time,  GraphKind::Os,
                                               GraphKind::Brws,  GraphKind::Agent, GraphKind::Host,
                                               GraphKind::Ref,   GraphKind::Page};

// The window's object name ("frmMonth" …) and its bit in VisibleWindow / PrintWindow.
const char* GraphObjectName(GraphKind kind);
int GraphVisibleBit(GraphKind kind);

class GraphWindow : public QWidget {
  Q_OBJECT
 public:
  // A new window of the given kind (loaded: colours read from the settings).
  static GraphWindow* Create(GraphKind kind, QWidget* parent = nullptr);

  GraphKind kind() const;
  // The open flag (aamShowMe and its like).
  bool ShowMe() const;
  // Reloads from the result and redraws (aamSetMonthValues and its like).
  void SetValues();
  // Draws the graph on another surface, in that surface's units (aamGraphPrint …).
  void GraphPrint(QPainter& target, int left, int top, int width, int height);
  // Stores the colours (0xBBGGRR) for the next drawing (aamSetColor …).
  void SetColor(uint32_t fore, uint32_t back, uint32_t bar);

 protected:
  explicit GraphWindow(QWidget* parent);
};

}  // namespace vorel::ui
