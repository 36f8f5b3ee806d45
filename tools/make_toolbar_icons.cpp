// Draws the main toolbar's images (one PNG per button key) into a folder.
// Not part of the build; the PNGs it made are kept in src/ui/main/icons.
//   g++ -std=c++20 -fPIC tools/make_toolbar_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_icons
//   QT_QPA_PLATFORM=offscreen /tmp/make_icons src/ui/main/icons
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr int kSize = 24;  // pixels; drawn on a 16-unit grid
const QColor kOutline(60, 60, 60);

void Box(QPainter& p, QRectF r, QColor fill, QColor line = kOutline) {
  p.setPen(QPen(line, 0.8));
  p.setBrush(fill);
  p.drawRect(r);
}

void Document(QPainter& p, QRectF r, QColor fill = Qt::white) {
  QPainterPath path;
  const qreal fold = r.width() * 0.3;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kOutline, 0.8));
  p.setBrush(fill);
  p.drawPath(path);
}

void Lines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal step, QColor color) {
  p.setPen(QPen(color, 0.9));
  for (int i = 0; i < count; ++i) p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor color) {
  p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal len = std::hypot(d.x(), d.y());
  const QPointF u = d / len, n(-u.y(), u.x());
  QPolygonF head{to + u * 1.2, to - u * 2.6 + n * 2.4, to - u * 2.6 - n * 2.4};
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(head);
}

void Columns(QPainter& p, const std::vector<qreal>& heights, QColor color, QRectF area) {
  const qreal w = area.width() / heights.size();
  for (size_t i = 0; i < heights.size(); ++i)
    Box(p, QRectF(area.left() + i * w, area.bottom() - heights[i], w, heights[i]), color);
}

void Window(QPainter& p, QColor title) {
  Box(p, QRectF(1.5, 2.5, 13, 11), Qt::white);
  Box(p, QRectF(1.5, 2.5, 13, 2.5), title);
}

const std::map<QString, std::function<void(QPainter&)>>& Drawings() {
  static const std::map<QString, std::function<void(QPainter&)>> drawings = {
      {"LogFileOpen",
       [](QPainter& p) {
         Document(p, QRectF(6, 1.5, 7.5, 9));
         Lines(p, 7.5, 11.5, 4.5, 3, 2, QColor(90, 90, 90));
         QPainterPath folder;
         folder.moveTo(1, 6);
         folder.lineTo(5, 6);
         folder.lineTo(6, 7.5);
         folder.lineTo(14.5, 7.5);
         folder.lineTo(14.5, 14.5);
         folder.lineTo(1, 14.5);
         folder.closeSubpath();
         p.setPen(QPen(QColor(150, 110, 0), 0.8));
         p.setBrush(QColor(250, 205, 70));
         p.drawPath(folder);
       }},
      {"ResultsSave",
       [](QPainter& p) {
         Box(p, QRectF(1.5, 1.5, 13, 13), QColor(40, 90, 190));
         Box(p, QRectF(4, 1.5, 8, 5), QColor(235, 235, 235));
         Box(p, QRectF(9.5, 2.3, 1.6, 3.2), QColor(40, 90, 190), QColor(40, 90, 190));
         Box(p, QRectF(3.5, 9, 9, 5.5), Qt::white);
         Lines(p, 4.5, 11.5, 10.8, 2, 1.8, QColor(120, 120, 120));
       }},
      {"RegSave",
       [](QPainter& p) {
         for (int i = 0; i < 3; ++i)
           Box(p, QRectF(1.5 + i * 2, 1.5 + i * 3, 5, 3), QColor(90 + i * 40, 130 + i * 30, 220));
         Document(p, QRectF(8, 5.5, 6.5, 9));
         Lines(p, 9.2, 12.8, 8.5, 3, 1.8, QColor(90, 90, 90));
         Arrow(p, QPointF(4, 11), QPointF(7.5, 11), QColor(30, 150, 60));
       }},
      {"Printer",
       [](QPainter& p) {
         Box(p, QRectF(4, 1.5, 8, 5), Qt::white);
         Box(p, QRectF(1.5, 6, 13, 6), QColor(170, 170, 170));
         Box(p, QRectF(4, 10, 8, 4.5), Qt::white);
         Lines(p, 5, 11, 12, 2, 1.5, QColor(110, 110, 110));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(40, 200, 60));
         p.drawEllipse(QPointF(12.5, 7.8), 0.8, 0.8);
       }},
      {"Exit",
       [](QPainter& p) {
         Box(p, QRectF(2, 1.5, 7, 13), QColor(170, 120, 70));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(250, 220, 90));
         p.drawEllipse(QPointF(7.3, 8.5), 0.7, 0.7);
         Arrow(p, QPointF(8, 8), QPointF(14, 8), QColor(200, 30, 30));
       }},
      {"AaAnalize",
       [](QPainter& p) {
         Columns(p, {4, 8, 6, 11}, QColor(90, 160, 230), QRectF(1, 3, 10, 11.5));
         p.setPen(QPen(QColor(50, 50, 50), 1.6));
         p.setBrush(QColor(255, 255, 255, 150));
         p.drawEllipse(QPointF(9.5, 6.5), 3.5, 3.5);
         p.setPen(QPen(QColor(50, 50, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(12, 9), QPointF(14.8, 11.8));
       }},
      {"FtpGet",
       [](QPainter& p) {
         p.setPen(QPen(QColor(20, 90, 160), 0.9));
         p.setBrush(QColor(120, 190, 250));
         p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(6.5, 6.5), 2.2, 5);
         p.drawLine(QPointF(1.5, 6.5), QPointF(11.5, 6.5));
         Arrow(p, QPointF(12, 6.5), QPointF(12, 14), QColor(30, 150, 60));
       }},
      {"UrlList",
       [](QPainter& p) {
         Document(p, QRectF(2, 1.5, 11, 13));
         p.setPen(QPen(QColor(30, 60, 220), 1.1));
         for (int i = 0; i < 5; ++i) p.drawLine(QPointF(3.5, 4.5 + i * 2.2), QPointF(i % 2 ? 9 : 11, 4.5 + i * 2.2));
       }},
      {"BaseWindow",
       [](QPainter& p) {
         Window(p, QColor(40, 90, 190));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(40, 90, 190));
         p.drawEllipse(QPointF(8, 7), 0.9, 0.9);
         p.drawRect(QRectF(7.2, 8.5, 1.6, 4));
       }},
      {"MonthWindow",
       [](QPainter& p) {
         Box(p, QRectF(2, 2.5, 12, 12), Qt::white);
         Box(p, QRectF(2, 2.5, 12, 3), QColor(255, 0, 0));
         Columns(p, {3, 6, 4}, QColor(255, 0, 0), QRectF(4, 7, 8, 6.5));
       }},
      {"WWeekWindow",
       [](QPainter& p) { Columns(p, {5, 8, 6, 10, 7, 12, 9, 6}, QColor(255, 128, 128), QRectF(1, 1.5, 14, 13)); }},
      {"DWeekWindow",
       [](QPainter& p) { Columns(p, {6, 9, 8, 10, 11, 7, 4}, QColor(255, 128, 64), QRectF(1.5, 1.5, 13, 13)); }},
      {"DateWindow",
       [](QPainter& p) {
         Box(p, QRectF(1.5, 2, 13, 12.5), Qt::white);
         Box(p, QRectF(1.5, 2, 13, 2.8), QColor(200, 185, 60));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(235, 225, 115));
         for (int r = 0; r < 3; ++r)
           for (int c = 0; c < 4; ++c) p.drawRect(QRectF(2.8 + c * 3, 6 + r * 2.8, 2.2, 2));
       }},
      {"TimeWindow",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 140, 40), 1.2));
         p.setBrush(QColor(200, 255, 215));
         p.drawEllipse(QPointF(8, 8), 6.3, 6.3);
         p.setPen(QPen(QColor(40, 40, 40), 1.3, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(8, 8), QPointF(8, 3.8));
         p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
       }},
      {"OSWindow",
       [](QPainter& p) {
         Box(p, QRectF(1.5, 2, 13, 9), QColor(0, 255, 255));
         Box(p, QRectF(3, 3.5, 10, 6), QColor(0, 120, 140));
         Box(p, QRectF(6, 11, 4, 2), QColor(170, 170, 170));
         Box(p, QRectF(3.5, 13, 9, 1.5), QColor(170, 170, 170));
       }},
      {"BrwsWindow",
       [](QPainter& p) {
         Window(p, QColor(0, 128, 255));
         p.setPen(QPen(QColor(0, 128, 255), 0.9));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(8, 9.3), 3.2, 3.2);
         p.drawEllipse(QPointF(8, 9.3), 1.3, 3.2);
         p.drawLine(QPointF(4.8, 9.3), QPointF(11.2, 9.3));
       }},
      {"AgentWindow",
       [](QPainter& p) {
         p.setPen(QPen(QColor(150, 20, 70), 0.8));
         p.setBrush(QColor(255, 64, 128));
         p.drawEllipse(QPointF(8, 4.8), 3, 3);
         QPainterPath body;
         body.moveTo(2.5, 14.5);
         body.cubicTo(2.5, 8.5, 13.5, 8.5, 13.5, 14.5);
         body.closeSubpath();
         p.drawPath(body);
       }},
      {"HostWindow",
       [](QPainter& p) {
         Box(p, QRectF(4, 1.5, 8, 13), QColor(0, 32, 128));
         for (int i = 0; i < 3; ++i) Box(p, QRectF(5.5, 3 + i * 3, 5, 1.6), QColor(120, 150, 220), QColor(120, 150, 220));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(60, 230, 90));
         p.drawEllipse(QPointF(10, 12.5), 0.8, 0.8);
       }},
      {"RefWindow",
       [](QPainter& p) {
         Document(p, QRectF(1.5, 1.5, 8, 10), QColor(235, 210, 240));
         Document(p, QRectF(6.5, 4.5, 8, 10));
         Arrow(p, QPointF(4.5, 13), QPointF(4.5, 9.5), QColor(128, 0, 128));
       }},
      {"PageWindow",
       [](QPainter& p) {
         Document(p, QRectF(3, 1.5, 10, 13), QColor(255, 225, 255));
         p.setPen(QPen(QColor(200, 60, 200), 1.1));
         for (int i = 0; i < 4; ++i) p.drawLine(QPointF(4.5, 6 + i * 2.2), QPointF(11.5, 6 + i * 2.2));
         Box(p, QRectF(4.5, 3, 4, 1.6), QColor(255, 128, 255), QColor(255, 128, 255));
       }},
      {"Options",
       [](QPainter& p) {
         p.setPen(QPen(QColor(80, 80, 80), 2.4, Qt::SolidLine, Qt::FlatCap));
         for (int i = 0; i < 8; ++i) {
           const qreal a = i * M_PI / 4;
           p.drawLine(QPointF(8 + 4.3 * std::cos(a), 8 + 4.3 * std::sin(a)),
                      QPointF(8 + 6.8 * std::cos(a), 8 + 6.8 * std::sin(a)));
         }
         p.setPen(QPen(QColor(60, 60, 60), 0.8));
         p.setBrush(QColor(160, 160, 160));
         p.drawEllipse(QPointF(8, 8), 5, 5);
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(8, 8), 2, 2);
       }},
      {"AboutVorel",
       [](QPainter& p) {
         p.setPen(QPen(QColor(20, 70, 170), 0.8));
         p.setBrush(QColor(60, 120, 220));
         p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
         QFont font(QStringLiteral("DejaVu Sans"));
         font.setPixelSize(10);
         font.setBold(true);
         p.setFont(font);
         p.setPen(Qt::white);
         p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
       }},
  };
  return drawings;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  for (const auto& [key, draw] : Drawings()) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kSize / 16.0, kSize / 16.0);
    draw(painter);
    painter.end();
    image.save(folder + QLatin1Char('/') + key + QStringLiteral(".png"));
  }
  return 0;
}
