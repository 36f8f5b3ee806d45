#include "ui/results/graph_drawing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/result.h"
#include "settings/param_store.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_entries.h"

namespace vorel::ui {
namespace {

// Setting the size on both sides of the name makes every surface pick up the
// new face even when the size did not change.
void SetGraphFont(GraphSurface& target) {
  const int size = settings::ParamInt("FontSize");
  target.SetFontSize(size - 1);
  target.SetFontName(settings::ParamText("FontName"));
  target.SetFontSize(size);
}

int FillPattern() {
  const int pattern = settings::ParamInt("GraphPattern");
  return pattern >= kFillSolid && pattern <= kFillDiagonalCross ? pattern : kFillTransparent;
}

void PrepareBars(GraphSurface& target, const GraphColors& colors) {
  target.SetLineWidth(1);
  target.SetDrawColor(colors.bar);
  target.SetFillColor(colors.bar);
  target.SetFillStyle(FillPattern());
}

// Narrow columns cannot all carry their texts (label and count, centred on
// the column): only every n-th column does, with the smallest n that leaves
// a gap between neighbouring texts. `widths` holds each column's wider text.
size_t LabelStride(const std::vector<double>& widths, double columnWidth, double gap) {
  for (size_t stride = 1; stride < widths.size(); ++stride) {
    bool fits = true;
    for (size_t k = 0; fits && k + stride < widths.size(); k += stride)
      fits = stride * columnWidth >= (widths[k] + widths[k + stride]) / 2 + gap;
    if (fits) return stride;
  }
  return std::max<size_t>(widths.size(), 1);
}

// Period slots with accesses as touching columns, label above count at the foot.
void DrawColumns(const GraphEntries& graph, const GraphColors& colors, GraphSurface& target, int left, int top,
                 int width, int height) {
  const std::vector<GraphEntry>& columns = graph.entries;
  const int32_t largest = graph.largest;
  if (columns.empty()) return;
  PrepareBars(target, colors);

  const double columnWidth = (width - 500.0) / static_cast<double>(columns.size());
  const double verticalScale = (height - 300.0) / largest;
  const double x0 = left + 250.0;
  const double base = static_cast<double>(top) + height - 150.0;
  std::vector<double> widths;
  for (const auto& column : columns)
    widths.push_back(std::max(target.TextWidth(column.caption), target.TextWidth(std::to_string(column.count))));
  // A space's width between neighbouring texts.
  const size_t stride = LabelStride(widths, columnWidth, std::max(target.TextWidth(" "), 1.0));
  for (size_t k = 0; k < columns.size(); ++k) {
    const GraphEntry& column = columns[k];
    const double i = static_cast<double>(k + 1);
    const int x1 = RoundHalfEven((i - 1) * columnWidth + x0);
    const int x2 = RoundHalfEven(i * columnWidth + x0);
    const int yTop = RoundHalfEven((largest - column.count) * verticalScale + top + 150.0);
    target.DrawBox(x1, RoundHalfEven(base), x2, yTop);
    if (k % stride != 0) continue;

    target.SetDrawColor(colors.fore);
    const std::string count = std::to_string(column.count);
    target.PrintText(x0 + ((2 * i - 1) * columnWidth - target.TextWidth(column.caption)) / 2,
                     base - 2 * target.TextHeight(column.caption), column.caption);
    target.PrintText(x0 + ((2 * i - 1) * columnWidth - target.TextWidth(count)) / 2, base - target.TextHeight(count),
                     count);
    target.SetDrawColor(colors.bar);
  }
}

// Rows from the top, largest first, each bar with "name ( count )" over it.
void DrawRows(const GraphKind kind, const GraphEntries& graph, const GraphColors& colors, GraphSurface& target,
              int left, int top, int width, int height) {
  const std::vector<GraphEntry>& rows = graph.entries;
  if (rows.empty()) return;
  PrepareBars(target, colors);
  const int32_t largest = graph.largest;
  const double horizontalScale = (width - 500.0) / largest;
  const double rowHeight = (height - 500.0) / static_cast<double>(rows.size());
  const double x0 = left + 250.0;
  const double y0 = top + 250.0;
  for (size_t k = 0; k < rows.size(); ++k) {
    const GraphEntry& row = rows[k];
    const double kk = static_cast<double>(k);
    const int y1 = RoundHalfEven(y0 + rowHeight * kk);
    const int y2 = RoundHalfEven((kk + 1) * rowHeight + y0);
    const int x2 = RoundHalfEven(horizontalScale * row.count + x0);
    target.DrawBox(RoundHalfEven(x0), y1, x2, y2);

    target.SetDrawColor(colors.fore);
    const std::string text = EntryText(kind, row);
    target.PrintText(left + 350.0, y0 + ((2 * kk + 1) * rowHeight - target.TextHeight(text)) / 2, text);
    target.SetDrawColor(colors.bar);
  }
}

}  // namespace

GraphColors ColorsFromSettings(GraphKind kind) {
  return {ColorFromParam("GraphFore"), ColorFromParam("GraphBack"), ColorFromParam(TraitsOf(kind).colourKey)};
}

void PaintGraph(GraphKind kind, const GraphColors& colors, GraphSurface& target, int left, int top, int width,
                int height) {
  const GraphEntries graph = CollectGraphEntries(kind);
  SetGraphFont(target);
  if (TraitsOf(kind).style == GraphStyle::Columns) DrawColumns(graph, colors, target, left, top, width, height);
  else DrawRows(kind, graph, colors, target, left, top, width, height);
}

int RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(rounded);
}

}  // namespace vorel::ui
