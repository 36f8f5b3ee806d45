// A drawing surface for the graphs: the window's picture area, a printer or
// PDF page, or a recorder in tests. Coordinates and text metrics are in the
// surface's own units (twips on the screen). Plain C++, text in UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace vorel::ui {

// Fill styles of a box, in the order of the GraphPattern setting.
enum FillStyle : int {
  kFillSolid = 0,
  kFillTransparent = 1,    // outline only
  kFillHorizontal = 2,
  kFillVertical = 3,
  kFillDownDiagonal = 4,   // lines from top left to bottom right
  kFillUpDiagonal = 5,     // lines from bottom left to top right
  kFillCross = 6,
  kFillDiagonalCross = 7,
};

class GraphSurface {
 public:
  virtual ~GraphSurface() = default;

  virtual void SetFontSize(double points) = 0;
  virtual void SetFontName(const std::string& name) = 0;
  virtual double TextWidth(const std::string& text) = 0;
  virtual double TextHeight(const std::string& text) = 0;
  // Prints a text with its top left corner at (x, y), in the drawing colour.
  virtual void PrintText(double x, double y, const std::string& text) = 0;

  virtual void SetLineWidth(int pixels) = 0;
  // Colours are red + 256 × green + 65536 × blue. The drawing colour serves
  // outlines and text.
  virtual void SetDrawColor(uint32_t colour) = 0;
  virtual void SetFillColor(uint32_t colour) = 0;
  virtual void SetFillStyle(int style) = 0;
  // A box between two corners, outlined in the drawing colour and filled
  // with the fill style in the fill colour.
  virtual void DrawBox(int x1, int y1, int x2, int y2) = 0;
};

}  // namespace vorel::ui
