// The windows: names, the picture area and its resize rule, the ready and
// open flags, colours, and life inside a multiple-document area.
#include "ui/results/graph_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QMdiArea>
#include <QScrollBar>
#include <QToolTip>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QVariant>
#include <memory>

#include "graph_test_support.h"
#include "recording_surface.h"
#include "ui/results/color_text.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_windows.h"
#include "ui/results/painter_surface.h"

namespace vorel::ui::testing {
namespace {

using analysis::Result;
using settings::SetParam;

// A month window before loading, as the main window never sees one.
class UnloadedMonth : public frmMonth {
 public:
  UnloadedMonth() : frmMonth(nullptr) {}
  using GraphWindow::Load;
};

class GraphWindowTest : public GraphTest {};

TEST_F(GraphWindowTest, EveryWindowCarriesItsNamesAndCaption) {
  struct Expected {
    GraphKind kind;
    const char* name;
    const char* caption;
    const char* picture;
    const char* showMe;
    int visibleBit, printBit;
  };
  const Expected expected[] = {
      {GraphKind::Month, "frmMonth", "月別解析", "picMonthRpt", "aamShowMe", 2, 1},
      {GraphKind::WWeek, "frmWWeek", "週別解析", "picWWeekRpt", "aaeShowMe", 8, 4},
      {GraphKind::DWeek, "frmDWeek", "曜日別解析", "picDWeekRpt", "aawShowMe", 16, 8},
      {GraphKind::Date, "frmDate", "日付別解析", "picDateRpt", "aadShowMe", 4, 2},
      {GraphKind::Time, "frmTime", "時間別解析", "picTimeRpt", "aatShowMe", 32, 16},
      {GraphKind::Os, "frmOs", "ＯＳ別解析", "picOsRpt", "aaoShowMe", 64, 32},
      {GraphKind::Brws, "frmBrws", "ブラウザ別解析", "picBrwsRpt", "aasShowMe", 128, 64},
      {GraphKind::Agent, "frmAgent", "エージェント別解析", "picAgentRpt", "aaoShowMe", 2048, 1024},
      {GraphKind::Host, "frmHost", "ホスト名別解析", "picHostRpt", "aahShowMe", 256, 128},
      {GraphKind::Ref, "frmRef", "前画面別解析", "picRefRpt", "aarShowMe", 512, 256},
      {GraphKind::Page, "frmPage", "ページ別解析", "picPageRpt", "aapShowMe", 1024, 512},
  };
  QWidget holder;
  for (const Expected& e : expected) GraphWindow::Create(e.kind, &holder);
  for (const Expected& e : expected) {
    auto* window = holder.findChild<GraphWindow*>(e.name);
    ASSERT_NE(window, nullptr) << e.name;
    EXPECT_EQ(window->kind(), e.kind);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(e.caption));
    EXPECT_STREQ(GraphObjectName(e.kind), e.name);
    EXPECT_EQ(GraphVisibleBit(e.kind), e.visibleBit);
    EXPECT_EQ(GraphPrintBit(e.kind), e.printBit);
    auto* picture = window->findChild<GraphPicture*>(e.picture);
    ASSERT_NE(picture, nullptr) << e.picture;
    EXPECT_EQ(picture->pos(), QPoint(0, 8)) << "left 0, top 120 twips";
    EXPECT_EQ(window->property(e.showMe), QVariant(true)) << e.name;
  }
}

TEST_F(GraphWindowTest, MembersGoByTheirWindowsNames) {
  Result().Month[1] = 1;
  Result().Agent.Append("Mozilla", 3);
  std::unique_ptr<GraphWindow> month(GraphWindow::Create(GraphKind::Month));
  std::unique_ptr<GraphWindow> agent(GraphWindow::Create(GraphKind::Agent));
  auto* m = qobject_cast<frmMonth*>(month.get());
  auto* a = qobject_cast<frmAgent*>(agent.get());
  ASSERT_TRUE(m && a);
  EXPECT_EQ(qobject_cast<frmOs*>(agent.get()), nullptr);
  m->aamSetColor(0x000001, 0x00FF00, 0x0000FF);
  EXPECT_EQ(m->colors().back, 0x00FF00u);
  m->aamSetMonthValues();
  EXPECT_TRUE(SameRgb(m->picture()->image().toImage(), 1, 1, QColor(0, 255, 0)));
  a->aaoSetAgentValues();
  EXPECT_TRUE(a->aaoShowMe());
  EXPECT_TRUE(QMetaObject::invokeMethod(m, "aamSetMonthValues"));
  QImage page(200, 200, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  painter.scale(200 / 3000.0, 200 / 3000.0);
  a->aaoGraphPrint(painter, 0, 0, 3000, 3000);
  painter.end();
  EXPECT_GT(CountPixels(page, ToQColor(a->colors().bar)), 0);
}

TEST_F(GraphWindowTest, LoadingTakesTheColoursFromTheSettings) {
  SetParam("GraphFore", "001002003");
  SetParam("GraphBack", "004005006");
  SetParam("GraphAgent", "007008009");
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Agent));
  EXPECT_EQ(window->colors().fore, RgbColor(1, 2, 3));
  EXPECT_EQ(window->colors().back, RgbColor(4, 5, 6));
  EXPECT_EQ(window->colors().bar, RgbColor(7, 8, 9));
  EXPECT_TRUE(window->ShowMe());
  EXPECT_TRUE(window->ready());
}

TEST_F(GraphWindowTest, ScreenDrawingIsRefusedUntilLoadedPrintingIsNot) {
  Result().Month[2] = 7;
  UnloadedMonth window;
  EXPECT_FALSE(window.ready());
  EXPECT_FALSE(window.ShowMe());
  RecordingSurface screen;
  window.DrawGraph(screen, 0, 0, 3000, 3000, true);
  EXPECT_TRUE(screen.boxes.empty());
  EXPECT_TRUE(screen.fontCalls.empty());
  RecordingSurface printer;
  window.DrawGraph(printer, 0, 0, 3000, 3000, false);
  EXPECT_EQ(printer.boxes.size(), 1u);
  EXPECT_FALSE(window.ready()) << "printing must not finish the loading";

  window.Load();
  EXPECT_TRUE(window.ShowMe());
  RecordingSurface later;
  window.DrawGraph(later, 0, 0, 3000, 3000, true);
  EXPECT_EQ(later.boxes.size(), 1u);
}

TEST_F(GraphWindowTest, ScreenRedrawDuringADrawingIsLostPrintingStillDraws) {
  Result().Month[2] = 7;
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Month));
  RecordingSurface outer, nestedScreen, nestedPrint;
  bool readyInside = true;
  outer.onBox = [&] {
    readyInside = window->ready();
    window->DrawGraph(nestedScreen, 0, 0, 3000, 3000, true);
    window->DrawGraph(nestedPrint, 0, 0, 3000, 3000, false);
  };
  window->DrawGraph(outer, 0, 0, 3000, 3000, true);
  EXPECT_FALSE(readyInside);
  EXPECT_TRUE(nestedScreen.boxes.empty());
  EXPECT_TRUE(nestedScreen.fontCalls.empty());
  EXPECT_EQ(nestedPrint.boxes.size(), 1u);
  EXPECT_EQ(outer.boxes.size(), 1u);
  EXPECT_TRUE(window->ready());
}

TEST_F(GraphWindowTest, BeforeAnyAnalysisThePictureIsBackgroundOnly) {
  SetParam("GraphBack", "200210220");
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Host));
  window->show();
  const QImage image = window->picture()->grab().toImage();
  EXPECT_EQ(CountPixels(image, QColor(200, 210, 220)), image.width() * image.height());
}

TEST_F(GraphWindowTest, ResizeFitsThePictureAndKeepsItsHeightWhenLow) {
  Result().Month[5] = 3;
  QWidget holder;
  holder.resize(900, 700);
  GraphWindow* window = GraphWindow::Create(GraphKind::Month, &holder);
  holder.show();
  window->resize(400, 300);
  // Width 6000 - 20 twips, height 4500 - 120 twips, in whole pixels.
  EXPECT_EQ(window->picture()->geometry(), QRect(0, 8, 399, 292));
  EXPECT_EQ(window->picture()->image().size(), QSize(399, 292));

  // 60 pixels = 900 twips: only the width follows, and the graph is redrawn.
  window->resize(300, 60);
  EXPECT_EQ(window->picture()->geometry(), QRect(0, 8, 299, 292));
  EXPECT_EQ(window->picture()->image().size(), QSize(299, 292));

  window->resize(300, 67);  // 1005 twips
  EXPECT_EQ(window->picture()->geometry(), QRect(0, 8, 299, 59));
}

TEST_F(GraphWindowTest, RowsThinnerThanTheirTextScrollAndEachEntryKeepsItsWholeName) {
  const std::string longName = "http://www.example.jp/a/very/long/path/to/a/page/that/refers/to/this/one/index.html";
  for (int i = 1; i <= 25; ++i) Result().Ref.Append(i == 25 ? longName : "http://r" + std::to_string(i) + ".jp/", i);
  QMdiArea area;
  area.resize(900, 700);
  GraphWindow* window = GraphWindow::Create(GraphKind::Ref);
  area.addSubWindow(window)->show();
  area.show();
  QApplication::processEvents();
  GraphPicture* picture = window->picture();
  const int lineHeight = QFontMetrics(QFont(QString::fromStdString(settings::ParamText("FontName")),
                                            settings::ParamInt("FontSize"))).height();

  // At the size a window opens with, the rows would be thinner than the text.
  ASSERT_EQ(picture->entries().size(), 25u);
  EXPECT_TRUE(picture->scrollBar()->isVisible());
  EXPECT_GT(picture->image().deviceIndependentSize().height(), picture->height());
  for (const GraphPicture::Entry& entry : picture->entries())
    EXPECT_GE(entry.box.height() + 1, lineHeight - 1) << entry.text.toStdString();
  // The whole name is the entry's text: read aloud and shown when pointed at.
  const QString whole = QString::fromStdString(longName + " ( 25 )");
  EXPECT_EQ(picture->entries()[0].text, whole);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(picture)->child(0)->text(QAccessible::Name), whole);
  const QPoint onRow = picture->VisibleBox(0).center();
  QHelpEvent help(QEvent::ToolTip, onRow, picture->mapToGlobal(onRow));
  QApplication::sendEvent(picture, &help);
  EXPECT_EQ(QToolTip::text(), whole);
  // The keyboard scrolls to the entry it steps on.
  picture->setFocus();
  picture->SetCurrentEntry(24);
  EXPECT_GT(picture->scrollBar()->value(), 0);
  EXPECT_TRUE(picture->rect().contains(picture->VisibleBox(24)));

  // Tall enough, the graph fits and nothing scrolls.
  window->parentWidget()->resize(600, 25 * lineHeight + 200);
  QApplication::processEvents();
  EXPECT_FALSE(picture->scrollBar()->isVisible());
  EXPECT_EQ(picture->image().deviceIndependentSize().toSize(), picture->size());
}

TEST_F(GraphWindowTest, MinimizedWindowKeepsItsPicture) {
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Date));
  window->show();
  const QRect before = window->picture()->geometry();
  window->setWindowState(Qt::WindowMinimized);
  window->resize(200, 150);
  EXPECT_EQ(window->picture()->geometry(), before);
}

TEST_F(GraphWindowTest, GraphSurvivesBeingCoveredAndUncovered) {
  Result().Date[10] = 4;
  SetParam("GraphPattern", 0);
  QWidget holder;
  holder.resize(500, 400);
  GraphWindow* window = GraphWindow::Create(GraphKind::Date, &holder);
  QWidget cover(&holder);
  cover.setAutoFillBackground(true);
  cover.setGeometry(0, 0, 500, 400);
  holder.show();
  cover.raise();
  cover.hide();
  const QImage image = holder.grab().toImage();
  EXPECT_GT(CountPixels(image, ToQColor(window->colors().bar)), 10000);
}

TEST_F(GraphWindowTest, NewColoursWaitForTheNextRedraw) {
  Result().Month[1] = 9;
  SetParam("GraphPattern", 0);
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Month));
  window->show();
  window->SetValues();
  const QColor oldBar = ToQColor(window->colors().bar);
  const QPoint inside(window->picture()->width() / 2, window->picture()->height() / 2);
  ASSERT_TRUE(SameRgb(window->picture()->image().toImage(), inside.x(), inside.y(), oldBar));

  window->SetColor(0, 0xFFFFFF, RgbColor(0, 0, 255));
  EXPECT_TRUE(SameRgb(window->picture()->grab().toImage(), inside.x(), inside.y(), oldBar));
  window->SetValues();
  EXPECT_TRUE(SameRgb(window->picture()->grab().toImage(), inside.x(), inside.y(), QColor(0, 0, 255)));
}

TEST_F(GraphWindowTest, ClosingTheSubWindowUnloadsTheWindow) {
  QMdiArea area;
  area.resize(900, 700);
  area.show();
  QPointer<GraphWindow> window = GraphWindow::Create(GraphKind::Host);
  QMdiSubWindow* sub = area.addSubWindow(window);
  sub->show();
  EXPECT_TRUE(window->ShowMe());

  // Inside the sub-window the outer height is the sub-window's.
  sub->resize(420, 300);
  EXPECT_EQ(window->picture()->height(), window->height() - 8);
  const int keptHeight = window->picture()->height();
  sub->resize(420, 60);
  ASSERT_EQ(sub->height(), 60);
  EXPECT_EQ(window->picture()->height(), keptHeight) << "outer height 900 twips";

  sub->close();
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(window->ShowMe());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull()) << "the sub-window deletes itself and the window with it";
  EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(GraphWindowTest, ClosingTheWindowInsideASubWindowClosesBoth) {
  QMdiArea area;
  area.show();
  QPointer<GraphWindow> window = GraphWindow::Create(GraphKind::Ref);
  QPointer<QMdiSubWindow> sub = area.addSubWindow(window);
  sub->show();
  window->close();
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(window->ShowMe());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(sub.isNull());
  EXPECT_TRUE(window.isNull());
}

TEST_F(GraphWindowTest, ClosingATopLevelWindowClearsTheOpenFlagUntilShownAgain) {
  std::unique_ptr<GraphWindow> window(GraphWindow::Create(GraphKind::Page));
  window->show();
  EXPECT_TRUE(window->ShowMe());
  window->hide();
  EXPECT_TRUE(window->ShowMe()) << "hiding is not unloading";
  window->show();
  window->SetColor(0, 0, RgbColor(1, 1, 1));
  window->close();
  EXPECT_FALSE(window->ShowMe());

  // Opened again: loaded anew, colours from the settings.
  SetParam("GraphPage", "009009009");
  window->show();
  EXPECT_TRUE(window->ShowMe());
  EXPECT_EQ(window->colors().bar, RgbColor(9, 9, 9));
}

}  // namespace
}  // namespace vorel::ui::testing
