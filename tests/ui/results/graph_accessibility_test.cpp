// Graphs read by assistive technology and stepped through by keyboard: one
// list item per drawn column or bar, named as the graph writes it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <memory>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "graph_test_support.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_window.h"

namespace vorel::ui::testing {
namespace {

using analysis::Result;
using settings::SetParam;

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

QStringList ItemNames(QWidget* picture) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picture);
  QStringList names;
  if (!list) return names;
  for (int i = 0; i < list->childCount(); ++i) names << list->child(i)->text(QAccessible::Name);
  return names;
}

class GraphAccessibilityTest : public GraphTest {
 protected:
  std::unique_ptr<GraphWindow> Open(GraphKind kind) {
    std::unique_ptr<GraphWindow> window(GraphWindow::Create(kind));
    window->show();
    QApplication::processEvents();
    window->SetValues();
    return window;
  }
};

TEST_F(GraphAccessibilityTest, TheMonthGraphOfALogReadsAsTwelveItemsWithTheirCounts) {
  // Month m gets m accesses, so every count differs.
  std::string log;
  for (int month = 1; month <= 12; ++month)
    for (int i = 0; i < month; ++i)
      log += "1#(index)2026/" + std::to_string(month) + "/3 10:00\r\n2#UA\r\n3#\r\n4#(192.0.2.1)\r\n";
  SetParam("LogFile", dir.Write("access.log", log));
  SetParam("SpecifyDate", false);
  SetParam("SpecifyPage", false);
  analysis::LoadClassListsFrom(dir.Write("vorel.dat", "OS=Win,Windows\r\n"));
  ASSERT_TRUE(analysis::AnalyzeLog(0));

  auto window = Open(GraphKind::Month);
  QWidget* picture = window->findChild<QWidget*>("picMonthRpt");
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picture);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  EXPECT_EQ(list->text(QAccessible::Name), QString::fromUtf8("月別解析"));
  const QStringList names = ItemNames(picture);
  ASSERT_EQ(names.size(), 12);
  EXPECT_EQ(names[0], QString::fromUtf8("1月 1"));
  EXPECT_EQ(names[2], QString::fromUtf8("3月 3"));
  EXPECT_EQ(names[11], QString::fromUtf8("12月 12"));
  EXPECT_EQ(list->child(2)->role(), QAccessible::ListItem);
  // Each item lies where its column is drawn, inside the picture.
  const QRect column = list->child(11)->rect();
  EXPECT_TRUE(QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size()).contains(column.center()));
  EXPECT_EQ(list->childAt(column.center().x(), column.center().y()), list->child(11));
  // The window itself is still read by its caption.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window.get())->text(QAccessible::Name),
            QString::fromUtf8("月別解析"));
}

TEST_F(GraphAccessibilityTest, BarsReadLargestFirstAndOnlyWhatIsDrawn) {
  Fill(Result().Agent, {{"e", 1}, {"d", 2}, {"c", 3}, {"b", 4}, {"a", 5}});
  SetParam("MaxDisp", 3);
  auto window = Open(GraphKind::Agent);
  QWidget* picture = window->findChild<GraphPicture*>();
  EXPECT_EQ(ItemNames(picture), (QStringList{"a ( 5 )", "b ( 4 )", "c ( 3 )"}));

  // A redraw after another analysis reads the new counts.
  Result().Agent.Clear();
  Fill(Result().Agent, {{"x", 7}});
  window->SetValues();
  EXPECT_EQ(ItemNames(picture), (QStringList{"x ( 7 )"}));

  // An empty result shows and reads nothing.
  Result().Agent.Clear();
  window->SetValues();
  EXPECT_TRUE(ItemNames(picture).isEmpty());
}

TEST_F(GraphAccessibilityTest, TheKeyboardStepsThroughTheEntriesAndTheFocusFollows) {
  for (int hour = 0; hour < 5; ++hour) Result().Time[static_cast<size_t>(hour + 1)] = 10 + hour;
  auto window = Open(GraphKind::Time);
  auto* picture = window->findChild<GraphPicture*>();
  ASSERT_EQ(picture->entries().size(), 5u);
  window->activateWindow();
  window->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(picture->hasFocus());
  EXPECT_EQ(picture->currentEntry(), 0);

  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picture);
  EXPECT_EQ(list->focusChild(), list->child(0));
  EXPECT_TRUE(list->child(0)->state().focused);

  PressKey(picture, Qt::Key_Right);
  PressKey(picture, Qt::Key_Down);
  EXPECT_EQ(picture->currentEntry(), 2);
  EXPECT_EQ(list->focusChild(), list->child(2));
  EXPECT_TRUE(list->child(2)->text(QAccessible::Name).endsWith(QStringLiteral(" 12")));
  EXPECT_TRUE(list->child(2)->state().selected);
  EXPECT_FALSE(list->child(0)->state().selected);
  PressKey(picture, Qt::Key_End);
  EXPECT_EQ(picture->currentEntry(), 4);
  PressKey(picture, Qt::Key_Right);  // stays on the last
  EXPECT_EQ(picture->currentEntry(), 4);
  PressKey(picture, Qt::Key_Home);
  PressKey(picture, Qt::Key_Up);  // stays on the first
  EXPECT_EQ(picture->currentEntry(), 0);

  // The current entry survives a redraw that keeps it, and is pulled back
  // onto the last one when the graph shrinks.
  PressKey(picture, Qt::Key_End);
  Result().Time.fill(0);
  Result().Time[1] = 3;
  window->SetValues();
  EXPECT_EQ(picture->currentEntry(), 0);
  EXPECT_EQ(ItemNames(picture).size(), 1);
}

}  // namespace
}  // namespace vorel::ui::testing
