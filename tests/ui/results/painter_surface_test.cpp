// Drawing on a QPainter: fill patterns, the Japanese font fallback, units
// given by the painter's transform, and printing a window that is not open.
#include "ui/results/painter_surface.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <vector>

#include "graph_test_support.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_window.h"

namespace vorel::ui::testing {
namespace {

using analysis::Result;
using settings::SetParam;

constexpr uint32_t kRed = RgbColor(255, 0, 0);

// A 60 x 60 pixel box at (10, 10) with the given fill style, on white.
QImage BoxWithStyle(int style) {
  QImage image(80, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterSurface surface(painter);
  surface.SetLineWidth(1);
  surface.SetDrawColor(kRed);
  surface.SetFillColor(kRed);
  surface.SetFillStyle(style);
  surface.DrawBox(10, 10, 70, 70);
  return image;
}

bool Red(const QImage& image, int x, int y) { return SameRgb(image, x, y, Qt::red); }

// Counts interior pixels whose neighbour at (dx, dy) is also red.
int Continued(const QImage& image, int dx, int dy) {
  int n = 0;
  for (int y = 20; y < 60; ++y)
    for (int x = 20; x < 60; ++x)
      if (Red(image, x, y) && Red(image, x + dx, y + dy)) ++n;
  return n;
}

int RedInside(const QImage& image) {
  int n = 0;
  for (int y = 12; y < 69; ++y)
    for (int x = 12; x < 69; ++x) n += Red(image, x, y);
  return n;
}

TEST(PainterSurfaceTest, BoxOutlineCoversBothCorners) {
  const QImage image = BoxWithStyle(kFillTransparent);
  EXPECT_TRUE(Red(image, 10, 10));
  EXPECT_TRUE(Red(image, 70, 70));
  EXPECT_TRUE(Red(image, 70, 40));
  EXPECT_FALSE(Red(image, 71, 40));
  EXPECT_FALSE(Red(image, 9, 40));
  EXPECT_EQ(RedInside(image), 0) << "transparent: outline only";
}

TEST(PainterSurfaceTest, EightFillPatternsInTheFillColour) {
  const int inside = 57 * 57;
  EXPECT_EQ(RedInside(BoxWithStyle(kFillSolid)), inside);

  const QImage horizontal = BoxWithStyle(kFillHorizontal);
  EXPECT_GT(Continued(horizontal, 1, 0), 0);
  EXPECT_EQ(Continued(horizontal, 0, 1), 0);
  const QImage vertical = BoxWithStyle(kFillVertical);
  EXPECT_GT(Continued(vertical, 0, 1), 0);
  EXPECT_EQ(Continued(vertical, 1, 0), 0);

  // Top left to bottom right: the line goes on one pixel right and one down.
  const QImage down = BoxWithStyle(kFillDownDiagonal);
  EXPECT_GT(Continued(down, 1, 1), 0);
  EXPECT_EQ(Continued(down, 1, -1), 0);
  const QImage up = BoxWithStyle(kFillUpDiagonal);
  EXPECT_GT(Continued(up, 1, -1), 0);
  EXPECT_EQ(Continued(up, 1, 1), 0);

  const QImage cross = BoxWithStyle(kFillCross);
  EXPECT_GT(Continued(cross, 1, 0), 0);
  EXPECT_GT(Continued(cross, 0, 1), 0);
  EXPECT_LT(RedInside(cross), inside);
  const QImage diagonalCross = BoxWithStyle(kFillDiagonalCross);
  EXPECT_GT(Continued(diagonalCross, 1, 1), 0);
  EXPECT_GT(Continued(diagonalCross, 1, -1), 0);
  EXPECT_LT(RedInside(diagonalCross), inside);
}

// Runs of red down the column x, inside a box from 10 to 170.
std::vector<int> RedRuns(const QImage& image, int x) {
  std::vector<int> runs;
  int length = 0;
  for (int y = 12; y < 169; ++y) {
    if (Red(image, x, y)) {
      ++length;
    } else if (length > 0) {
      runs.push_back(length);
      length = 0;
    }
  }
  return runs;
}

TEST(PainterSurfaceTest, HatchingOnAFineDeviceKeepsTheScreensSpacing) {
  auto draw = [](int dotsPerMeter) {
    QImage image(180, 180, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface surface(painter);
    surface.SetDrawColor(kRed);
    surface.SetFillColor(kRed);
    surface.SetFillStyle(kFillHorizontal);
    surface.DrawBox(10, 10, 170, 170);
    return image;
  };
  const std::vector<int> screen = RedRuns(draw(3780), 90);  // 96 dots per inch
  const std::vector<int> printer = RedRuns(draw(15118), 90);  // 384 dots per inch
  ASSERT_GE(screen.size(), 18u);
  EXPECT_EQ(screen[1], 1);
  // Four times the dots: a quarter of the lines, each four dots thick.
  ASSERT_GE(printer.size(), 4u);
  ASSERT_LE(printer.size(), 6u);
  EXPECT_EQ(printer[1], 4);
}

TEST(PainterSurfaceTest, MissingWindowsFontFallsBackToAJapaneseFace) {
  if (QFontDatabase::hasFamily(QStringLiteral("ＭＳ Ｐゴシック"))) GTEST_SKIP() << "the named font is installed";
  if (!QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK JP"))) GTEST_SKIP() << "no Japanese font installed";
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  PainterSurface surface(painter);
  surface.SetFontName("ＭＳ Ｐゴシック");
  surface.SetFontSize(9);
  EXPECT_EQ(QFontInfo(surface.font()).family(), QStringLiteral("Noto Sans CJK JP"));
}

TEST(PainterSurfaceTest, TextKeepsItsPointSizeWhateverTheUnits) {
  QImage image(100, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  double plainWidth, plainHeight;
  {
    PainterSurface plain(painter);
    plain.SetFontSize(12);
    plainWidth = plain.TextWidth("月別");
    plainHeight = plain.TextHeight("月別");
  }
  painter.scale(0.1, 0.05);  // 10 units a pixel across, 20 down
  PainterSurface scaled(painter);
  scaled.SetFontSize(12);
  EXPECT_NEAR(scaled.TextWidth("月別"), plainWidth * 10, 1e-6);
  EXPECT_NEAR(scaled.TextHeight("月別"), plainHeight * 20, 1e-6);
  EXPECT_GT(plainHeight, 12) << "12 points are 16 pixels at 96 dots per inch";
}

class GraphPrintTest : public GraphTest {
 protected:
  // A 1000 x 800 pixel page whose units are tenths of a pixel.
  static QImage Print(const std::function<void(QPainter&)>& draw) {
    QImage page(1000, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.scale(0.1, 0.1);
    draw(painter);
    return page;
  }
};

TEST_F(GraphPrintTest, PrintMemberDrawsInThePagesUnitsWithoutBackground) {
  Result().Month[3] = 45;
  Result().Month[7] = 90;
  SetParam("GraphPattern", 0);
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Month));
  window->SetColor(0, RgbColor(0, 255, 0), RgbColor(0, 0, 200));
  const QImage page = Print([&](QPainter& p) { window->GraphPrint(p, 0, 0, 10000, 8000); });
  // July fills 500..975 pixels up to 15; March 25..500 from 400 down.
  const QColor bar(0, 0, 200);
  EXPECT_TRUE(SameRgb(page, 750, 100, bar));
  EXPECT_TRUE(SameRgb(page, 250, 600, bar));
  EXPECT_TRUE(SameRgb(page, 250, 200, Qt::white));
  EXPECT_TRUE(SameRgb(page, 10, 10, Qt::white)) << "printing leaves the background alone";
  EXPECT_EQ(CountPixels(page, QColor(0, 255, 0)), 0);
}

TEST_F(GraphPrintTest, ClosedWindowPrintsWithTheColoursOfTheSettings) {
  Result().Brws.Append("Firefox", 4);
  SetParam("GraphPattern", 0);
  SetParam("GraphBrws", "000000255");
  SetParam("GraphFore", "255000000");
  const QImage page = Print([](QPainter& p) { GraphWindow::PrintWithoutWindow(GraphKind::Brws, p, 0, 0, 10000, 8000); });
  EXPECT_TRUE(SameRgb(page, 500, 400, QColor(0, 0, 255)));
  EXPECT_GT(CountPixels(page, QColor(255, 0, 0)), 20) << "the text in the fore colour";
}

TEST_F(GraphPrintTest, NothingToDrawLeavesThePlaceBlank) {
  const QImage page = Print([](QPainter& p) { GraphWindow::PrintWithoutWindow(GraphKind::Host, p, 0, 0, 10000, 8000); });
  EXPECT_EQ(CountPixels(page, Qt::white), 1000 * 800);
}

}  // namespace
}  // namespace vorel::ui::testing
