// A drawing surface that records what the graph routine does, with fixed
// text metrics (90 units per character, 180 high) so that positions can be
// worked out by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/results/graph_surface.h"

namespace vorel::ui::testing {

inline constexpr double kCharWidth = 90;
inline constexpr double kTextHeight = 180;

struct RecordedBox {
  int x1, y1, x2, y2;
  uint32_t drawColor, fillColor;
  int fillStyle, lineWidth;
};

struct RecordedText {
  double x, y;
  std::string text;
  uint32_t color;
};

class RecordingSurface : public GraphSurface {
 public:
  void SetFontSize(double points) override { fontCalls.push_back("size " + std::to_string(static_cast<int>(points))); }
  void SetFontName(const std::string& name) override { fontCalls.push_back("name " + name); }
  double TextWidth(const std::string& text) override { return kCharWidth * Characters(text); }
  double TextHeight(const std::string&) override { return kTextHeight; }
  void PrintText(double x, double y, const std::string& text) override { texts.push_back({x, y, text, drawColor_}); }
  void SetLineWidth(int pixels) override { lineWidth_ = pixels; }
  void SetDrawColor(uint32_t colour) override { drawColor_ = colour; }
  void SetFillColor(uint32_t colour) override { fillColor_ = colour; }
  void SetFillStyle(int style) override { fillStyle_ = style; }
  void DrawBox(int x1, int y1, int x2, int y2) override {
    boxes.push_back({x1, y1, x2, y2, drawColor_, fillColor_, fillStyle_, lineWidth_});
    if (onBox) onBox();
  }

  static double Characters(const std::string& utf8) {
    double n = 0;
    for (unsigned char c : utf8)
      if ((c & 0xC0) != 0x80) ++n;
    return n;
  }

  std::vector<std::string> fontCalls;
  std::vector<RecordedBox> boxes;
  std::vector<RecordedText> texts;
  std::function<void()> onBox;

 private:
  uint32_t drawColor_ = 0xDEAD;
  uint32_t fillColor_ = 0xDEAD;
  int fillStyle_ = -1;
  int lineWidth_ = -1;
};

}  // namespace vorel::ui::testing
