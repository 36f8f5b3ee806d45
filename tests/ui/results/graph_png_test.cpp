// Analyses the bundled sample log and writes a picture of every graph
// window into the build folder (graph-png/), for a look by eye.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <memory>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "graph_test_support.h"
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
    EXPECT_GT(CountPixels(image, ToQColor(window->colors().fore)), 50) << GraphObjectName(kind);
  }
  // The host graph in the other patterns.
  for (int pattern = 1; pattern <= 7; ++pattern) {
    SetParam("GraphPattern", pattern);
    std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Os));
    window->resize(480, 320);
    ASSERT_TRUE(window->grab().save(folder + QStringLiteral("/frmOs-pattern%1.png").arg(pattern)));
  }
}

}  // namespace
}  // namespace vorel::ui::testing
