// Draws the program's icon for the desktop's hicolor theme: one scalable SVG
// and PNGs at the usual sizes, all from the same shapes on a 64-unit grid.
// Not part of the build; the files it made are kept in packaging/icons.
//   g++ -std=c++20 -fPIC tools/make_app_icon.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_app_icon
//   QT_QPA_PLATFORM=offscreen /tmp/make_app_icon packaging/icons
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace {

constexpr double kGrid = 64;

struct Shape {
  enum Kind { RoundedRect, Ellipse, Line } kind;
  QRectF box;      // for lines: from top-left to bottom-right
  double radius;   // corner radius; for lines the pen width
  QColor fill;     // transparent: not filled
  QColor stroke;   // transparent: no outline
  double strokeWidth;
};

// A sheet with a bar graph on it, and a magnifier over its tallest bar.
std::vector<Shape> Shapes() {
  const QColor none = Qt::transparent;
  const QColor outline(40, 62, 98);
  return {
      {Shape::RoundedRect, {4, 4, 56, 56}, 9, QColor(36, 99, 176), none, 0},
      {Shape::RoundedRect, {11, 10, 42, 44}, 3, QColor(250, 250, 246), outline, 1.5},
      {Shape::Line, {16, 47, 32, 0}, 1.5, none, QColor(120, 120, 120), 1.5},
      {Shape::RoundedRect, {17.5, 37, 6, 10}, 0.8, QColor(0, 160, 80), none, 0},
      {Shape::RoundedRect, {25.5, 29, 6, 18}, 0.8, QColor(230, 160, 0), none, 0},
      {Shape::RoundedRect, {33.5, 21, 6, 26}, 0.8, QColor(220, 50, 50), none, 0},
      {Shape::RoundedRect, {41.5, 33, 6, 14}, 0.8, QColor(60, 120, 220), none, 0},
      {Shape::Line, {43, 30, 10, 12}, 5, none, outline, 5},
      {Shape::Ellipse, {28, 12, 20, 20}, 0, QColor(255, 255, 255, 110), outline, 3},
  };
}

QString Number(double v) { return QString::number(v, 'g', 6); }

QString ColorText(const QColor& c) { return c.name(QColor::HexRgb); }

QString PaintAttributes(const Shape& s) {
  QString text;
  if (s.fill.alpha() == 0) {
    text += QStringLiteral(" fill=\"none\"");
  } else {
    text += QStringLiteral(" fill=\"%1\"").arg(ColorText(s.fill));
    if (s.fill.alpha() != 255) text += QStringLiteral(" fill-opacity=\"%1\"").arg(Number(s.fill.alphaF()));
  }
  if (s.stroke.alpha() != 0)
    text += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(ColorText(s.stroke), Number(s.strokeWidth));
  return text;
}

QString Svg() {
  QString svg = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n");
  for (const Shape& s : Shapes()) {
    const QRectF& b = s.box;
    switch (s.kind) {
      case Shape::RoundedRect:
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                   .arg(Number(b.x()), Number(b.y()), Number(b.width()), Number(b.height()), Number(s.radius),
                        PaintAttributes(s));
        break;
      case Shape::Ellipse:
        svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"%5/>\n")
                   .arg(Number(b.center().x()), Number(b.center().y()), Number(b.width() / 2),
                        Number(b.height() / 2), PaintAttributes(s));
        break;
      case Shape::Line:
        svg += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
                              "stroke-linecap=\"round\"/>\n")
                   .arg(Number(b.left()), Number(b.top()), Number(b.right()), Number(b.bottom()),
                        ColorText(s.stroke), Number(s.strokeWidth));
        break;
    }
  }
  svg += QStringLiteral("</svg>\n");
  return svg;
}

QImage Draw(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);
  for (const Shape& s : Shapes()) {
    QPen pen = s.stroke.alpha() == 0 ? QPen(Qt::NoPen) : QPen(s.stroke, s.strokeWidth);
    if (s.kind == Shape::Line) pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(s.fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(s.fill));
    switch (s.kind) {
      case Shape::RoundedRect: p.drawRoundedRect(s.box, s.radius, s.radius); break;
      case Shape::Ellipse: p.drawEllipse(s.box); break;
      case Shape::Line: p.drawLine(s.box.topLeft(), s.box.bottomRight()); break;
    }
  }
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  QFile svg(folder + QStringLiteral("/vorel.svg"));
  if (!svg.open(QIODevice::WriteOnly)) return 1;
  svg.write(Svg().toUtf8());
  svg.close();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    if (!Draw(size).save(folder + QStringLiteral("/vorel-%1.png").arg(size))) return 1;
  }
  return 0;
}
