#include "ui/results/painter_surface.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "ui/results/color_text.h"

namespace vorel::ui {
namespace {

// Japanese Windows fonts are rarely installed elsewhere; fall back to a
// Japanese face rather than whatever covers the kana first.
const QStringList& JapaneseFallbacks() {
  static const QStringList families{"Noto Sans CJK JP", "IPAPGothic", "IPAGothic", "VL PGothic", "TakaoPGothic"};
  return families;
}

// Hatching is drawn in device pixels (eight to a repeat). On a printer or
// PDF page of many dots per inch it would shrink to a grey; there it is
// enlarged to the spacing it has on a 96-dot screen.
QBrush FillBrush(int style, const QColor& colour, int dotsPerInch) {
  const Qt::BrushStyle pattern = BrushStyleForFill(style);
  const int enlarge = dotsPerInch / 96;
  if (pattern == Qt::NoBrush || pattern == Qt::SolidPattern || enlarge <= 1) return QBrush(colour, pattern);
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  QPainter tilePainter(&tile);
  tilePainter.fillRect(tile.rect(), QBrush(colour, pattern));
  tilePainter.end();
  return QBrush(tile.scaled(8 * enlarge, 8 * enlarge, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

double ScaleOrOne(double scale) { return std::abs(scale) > 1e-12 ? std::abs(scale) : 1.0; }

}  // namespace

QColor ToQColor(uint32_t colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

Qt::BrushStyle BrushStyleForFill(int style) {
  switch (style) {
    case kFillSolid: return Qt::SolidPattern;
    case kFillHorizontal: return Qt::HorPattern;
    case kFillVertical: return Qt::VerPattern;
    case kFillDownDiagonal: return Qt::FDiagPattern;
    case kFillUpDiagonal: return Qt::BDiagPattern;
    case kFillCross: return Qt::CrossPattern;
    case kFillDiagonalCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
  }
}

PainterSurface::PainterSurface(QPainter& painter) : PainterSurface(painter, painter.combinedTransform()) {}

PainterSurface::PainterSurface(QPainter& painter, const QTransform& unitsToDevice)
    : painter_(painter), toDevice_(unitsToDevice) {
  painter_.save();
  // Everything below is drawn in device coordinates, so that neither the
  // point size of the text nor the outline width follow the unit scaling.
  painter_.resetTransform();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackgroundMode(Qt::TransparentMode);
  font_.setStyleStrategy(QFont::PreferDefault);
}

PainterSurface::~PainterSurface() { painter_.restore(); }

void PainterSurface::SetFontSize(double points) {
  if (points > 0) font_.setPointSizeF(points);
}

void PainterSurface::SetFontName(const std::string& name) {
  QStringList families{QString::fromStdString(name)};
  families += JapaneseFallbacks();
  font_.setFamilies(families);
}

double PainterSurface::TextWidth(const std::string& text) {
  const QFontMetricsF metrics(font_, painter_.device());
  return metrics.horizontalAdvance(QString::fromStdString(text)) / ScaleOrOne(toDevice_.m11());
}

double PainterSurface::TextHeight(const std::string&) {
  const QFontMetricsF metrics(font_, painter_.device());
  return metrics.height() / ScaleOrOne(toDevice_.m22());
}

void PainterSurface::PrintText(double x, double y, const std::string& text) {
  const QPointF at = toDevice_.map(QPointF(x, y));
  const QFontMetricsF metrics(font_, painter_.device());
  painter_.setFont(font_);
  painter_.setPen(drawColor_);
  painter_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), QString::fromStdString(text));
}

void PainterSurface::SetLineWidth(int pixels) { lineWidth_ = pixels; }
void PainterSurface::SetDrawColor(uint32_t colour) { drawColor_ = ToQColor(colour); }
void PainterSurface::SetFillColor(uint32_t colour) { fillColor_ = ToQColor(colour); }
void PainterSurface::SetFillStyle(int style) { fillStyle_ = style; }

void PainterSurface::DrawBox(int x1, int y1, int x2, int y2) {
  // Corner pixels inclusive, as a box outline covers both ends.
  const QPointF a = toDevice_.map(QPointF(x1, y1));
  const QPointF b = toDevice_.map(QPointF(x2, y2));
  const QRectF pixels = QRectF(QPointF(std::round(a.x()), std::round(a.y())), QPointF(std::round(b.x()), std::round(b.y())))
                            .normalized();

  painter_.setBrush(FillBrush(fillStyle_, fillColor_, painter_.device()->logicalDpiX()));
  painter_.setPen(QPen(drawColor_, std::max(lineWidth_, 1), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter_.drawRect(pixels);
}

}  // namespace vorel::ui
