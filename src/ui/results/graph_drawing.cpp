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

// The margins of a bar graph: 250 on each side, the text 100 further in.
constexpr double kBarMargin = 250.0;
constexpr double kTextIndent = 100.0;
// Below this size a shrunk font would no longer be read.
constexpr double kSmallestPoints = 4.0;
// Any text: rows are as tall as the font's line, whatever the letters.
constexpr const char* kLineProbe = "Ag";
constexpr const char* kEllipsis = "…";

// The code points of a UTF-8 text, each as its bytes.
std::vector<std::string> CodePoints(const std::string& text) {
  std::vector<std::string> points;
  for (size_t i = 0; i < text.size();) {
    size_t next = i + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    points.push_back(text.substr(i, next - i));
    i = next;
  }
  return points;
}

std::string Joined(const std::vector<std::string>& points, size_t from, size_t to) {
  std::string text;
  for (size_t i = from; i < to; ++i) text += points[i];
  return text;
}

// Rows from the top, largest first, each bar with "name ( count )" over it.
// A row is never thinner than its text: a screen window scrolls instead
// (GraphHeightNeeded), and on paper the font shrinks to the row.
void DrawRows(const GraphKind kind, const GraphEntries& graph, const GraphColors& colors, GraphSurface& target,
              int left, int top, int width, int height) {
  const std::vector<GraphEntry>& rows = graph.entries;
  if (rows.empty()) return;
  PrepareBars(target, colors);
  const int32_t largest = graph.largest;
  const double horizontalScale = (width - 2 * kBarMargin) / largest;
  const double rowHeight = (height - 2 * kBarMargin) / static_cast<double>(rows.size());
  const double textHeight = target.TextHeight(kLineProbe);
  if (rowHeight > 0 && textHeight > rowHeight) {
    const double points = settings::ParamInt("FontSize") * rowHeight / textHeight;
    target.SetFontSize(std::max(points, kSmallestPoints));
  }
  const double x0 = left + kBarMargin;
  const double y0 = top + kBarMargin;
  const double textLeft = left + kBarMargin + kTextIndent;
  const double textRoom = left + width - kBarMargin - textLeft;
  for (size_t k = 0; k < rows.size(); ++k) {
    const GraphEntry& row = rows[k];
    const double kk = static_cast<double>(k);
    const int y1 = RoundHalfEven(y0 + rowHeight * kk);
    const int y2 = RoundHalfEven((kk + 1) * rowHeight + y0);
    const int x2 = RoundHalfEven(horizontalScale * row.count + x0);
    target.DrawBox(RoundHalfEven(x0), y1, x2, y2);

    target.SetDrawColor(colors.fore);
    const std::string whole = EntryText(kind, row);
    const std::string text = FitRowText(target, row.caption, whole.substr(row.caption.size()), textRoom);
    target.PrintText(textLeft, y0 + ((2 * kk + 1) * rowHeight - target.TextHeight(text)) / 2, text);
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

int GraphHeightNeeded(GraphKind kind, GraphSurface& measure) {
  if (TraitsOf(kind).style == GraphStyle::Columns) return 0;
  const GraphEntries graph = CollectGraphEntries(kind);
  if (graph.entries.empty()) return 0;
  SetGraphFont(measure);
  const double rows = static_cast<double>(graph.entries.size());
  return static_cast<int>(std::ceil(rows * measure.TextHeight(kLineProbe) + 2 * kBarMargin));
}

std::string FitRowText(GraphSurface& target, const std::string& name, const std::string& suffix, double available) {
  if (target.TextWidth(name + suffix) <= available) return name + suffix;
  // As many characters from both ends as fit, the middle given up.
  const std::vector<std::string> points = CodePoints(name);
  auto shortened = [&](size_t keep) {
    const size_t head = (keep + 1) / 2;
    return Joined(points, 0, head) + kEllipsis + Joined(points, points.size() - (keep - head), points.size()) + suffix;
  };
  size_t low = 0;
  size_t high = points.size();
  while (low < high) {
    const size_t middle = (low + high + 1) / 2;
    if (target.TextWidth(shortened(middle)) <= available) low = middle;
    else high = middle - 1;
  }
  return shortened(low);
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
