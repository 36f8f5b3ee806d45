// The drawing routine the eleven graph windows share: reads the result,
// lays out columns or bars in the given rectangle and draws them on any
// surface. Plain C++ so that the layout can be checked without a screen.
#pragma once

#include <cstdint>

#include "ui/results/graph_kinds.h"
#include "ui/results/graph_surface.h"

namespace vorel::ui {

struct GraphColors {
  uint32_t fore = 0;         // text
  uint32_t back = 0xFFFFFF;  // background of the picture area
  uint32_t bar = 0;          // columns and bars
};

// The colours a window takes when it loads: GraphFore, GraphBack and its own key.
GraphColors ColorsFromSettings(GraphKind kind);

// Collects the data, sets FontName at FontSize and draws the columns or bars
// of `kind` in the rectangle, with the fill style GraphPattern. Draws nothing
// but the font when there is nothing to show. Does not paint the background.
void PaintGraph(GraphKind kind, const GraphColors& colors, GraphSurface& target, int left, int top, int width,
                int height);

// The height a bar graph needs so that no row is thinner than its text, in
// the surface's units (with FontName at FontSize); 0 for a column graph or
// one with nothing to draw. A window shorter than this scrolls.
int GraphHeightNeeded(GraphKind kind, GraphSurface& measure);

// A row's text fitted into `available` width: the whole text when it fits,
// otherwise the name shortened in its middle ("…") so that the count stays
// whole. `suffix` is the count part (" ( 12 )"), never shortened.
std::string FitRowText(GraphSurface& target, const std::string& name, const std::string& suffix, double available);

// Nearest integer, halves to the even one; clamped to the int range.
int RoundHalfEven(double value);

}  // namespace vorel::ui
