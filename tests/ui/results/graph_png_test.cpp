// Analyses the bundled sample log and writes a picture of every graph
// window into the build folder (graph-png/), for a look by eye.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <memory>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "graph_test_support.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_window.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui::testing {
namespace {

using settings::SetParam;

class GraphPngTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    analysis::LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
    SetParam("SpecifyDate", false);
    SetParam("SpecifyPage", false);
    SetParam("RobotMode", 2);  // the sample's crawlers set apart, so that the robot graph has bars too
    SetParam("LogFile", VOREL_SOURCE_DIR "/data/sample-access.log");
    ASSERT_TRUE(analysis::AnalyzeLog(0));
  }
  void TearDown() override {
    analysis::ClearClassLists();
    GraphTest::TearDown();
  }
};

TEST_F(GraphPngTest, EveryWindowDrawsTheSampleInItsBarColour) {
  const QString folder = QStringLiteral(VOREL_BINARY_DIR "/graph-png");
  QDir().mkpath(folder);
  SetParam("GraphPattern", 0);
  for (GraphKind kind : kAllGraphKinds) {
    std::unique_ptr<GraphWindow> window(GraphWindow::Create(kind));
    window->resize(640, 420);
    const QImage image = window->grab().toImage();
    ASSERT_TRUE(image.save(folder + "/" + GraphObjectName(kind) + ".png"));
    // The picture area is the window less the strip above it.
    EXPECT_EQ(window->picture()->geometry(), QRect(0, 8, 639, 412));
    EXPECT_GT(CountPixels(image, ToQColor(window->colors().bar)), 2000) << GraphObjectName(kind);
    // The text of one bar at least (the robot graph of the sample has a single one).
    EXPECT_GT(CountPixels(image, ToQColor(window->colors().fore)), 30) << GraphObjectName(kind);
  }
  // The host graph in the other patterns.
  for (int pattern = 1; pattern <= 7; ++pattern) {
    SetParam("GraphPattern", pattern);
    std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Os));
    window->resize(480, 320);
    ASSERT_TRUE(window->grab().save(folder + QStringLiteral("/frmOs-pattern%1.png").arg(pattern)));
  }
}

// Four graphs on a 300 dots-per-inch A4 sheet, laid out as printing lays
// them out: a page of screen proportions with a tenth of margin each side.
TEST_F(GraphPngTest, FourGraphsOnAPrintedSheet) {
  SetParam("GraphPattern", 5);
  QImage sheet(2480, 3508, QImage::Format_RGB32);
  sheet.setDotsPerMeterX(11811);
  sheet.setDotsPerMeterY(11811);
  sheet.fill(Qt::white);
  const int w = 1280 * 15, h = 1024 * 15;
  QPainter painter(&sheet);
  painter.setWindow(-w / 10, -h / 10, w, h);
  const int gw = RoundHalfEven(0.8 * w / 2), gh = RoundHalfEven(0.8 * h / 2);
  const int w2 = RoundHalfEven(w / 2.0 - w / 10.0), h2 = RoundHalfEven(h / 2.0 - h / 10.0);
  GraphWindow::PrintWithoutWindow(GraphKind::Month, painter, 0, 0, gw, gh);
  GraphWindow::PrintWithoutWindow(GraphKind::Time, painter, w2, 0, gw, gh);
  GraphWindow::PrintWithoutWindow(GraphKind::Os, painter, 0, h2, gw, gh);
  GraphWindow::PrintWithoutWindow(GraphKind::Page, painter, w2, h2, gw, gh);
  painter.end();
  ASSERT_TRUE(sheet.save(QStringLiteral(VOREL_BINARY_DIR "/graph-png/printed-sheet.png")));
  sheet.scaled(620, 877, Qt::KeepAspectRatio, Qt::SmoothTransformation)
      .save(QStringLiteral(VOREL_BINARY_DIR "/graph-png/printed-sheet-small.png"));
  sheet.copy(150, 1700, 1000, 700).save(QStringLiteral(VOREL_BINARY_DIR "/graph-png/printed-sheet-detail.png"));
  EXPECT_GT(CountPixels(sheet, ToQColor(ColorFromParam("GraphTime"))), 10000);
}

}  // namespace
}  // namespace vorel::ui::testing
