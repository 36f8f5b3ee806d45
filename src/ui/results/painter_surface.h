// The graph surface on a QPainter: a window's picture, a printer or a PDF
// page. The caller's units are mapped to the device by a transform; text
// keeps its point size and boxes their one-pixel outline whatever that
// transform stretches, so a printed graph reads like the screen one.
#pragma once

#include <QColor>
#include <QFont>
#include <QTransform>

#include "ui/results/graph_surface.h"

class QPainter;

namespace vorel::ui {

inline constexpr int kTwipsPerPixel = 15;

QColor ToQColor(uint32_t colour);
// The brush of a GraphPattern fill style (anything unknown is outline only).
Qt::BrushStyle BrushStyleForFill(int style);

class PainterSurface : public GraphSurface {
 public:
  // Units as the painter's current transform (world and window/viewport) defines them.
  explicit PainterSurface(QPainter& painter);
  // Units mapped to the painter's device by `unitsToDevice` (the screen: 1/15 pixel per twip).
  PainterSurface(QPainter& painter, const QTransform& unitsToDevice);
  ~PainterSurface() override;
  PainterSurface(const PainterSurface&) = delete;
  PainterSurface& operator=(const PainterSurface&) = delete;

  void SetFontSize(double points) override;
  void SetFontName(const std::string& name) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  void PrintText(double x, double y, const std::string& text) override;
  void SetLineWidth(int pixels) override;
  void SetDrawColor(uint32_t colour) override;
  void SetFillColor(uint32_t colour) override;
  void SetFillStyle(int style) override;
  void DrawBox(int x1, int y1, int x2, int y2) override;

  const QFont& font() const { return font_; }

 private:
  QPainter& painter_;
  QTransform toDevice_;
  QFont font_;
  QColor drawColor_{Qt::black};
  QColor fillColor_{Qt::black};
  int fillStyle_ = kFillTransparent;
  int lineWidth_ = 1;
};

}  // namespace vorel::ui
