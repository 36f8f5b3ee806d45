// The main window as a screen reader reads it: every control named, the
// date boxes saying which date and which part, the totals with their titles.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <tuple>

#include "ui/accessibility_support.h"
#include "ui/main/frm_main.h"
#include "ui/results/frm_base.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class MainAccessibilityTest : public UiTest {};

QString NameOf(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

TEST_F(MainAccessibilityTest, EveryControlOfTheFrameSummaryAndGraphsHasAName) {
  UseLog(WriteLog("access.log", 40));
  frmMain& frame = OpenFrame();
  frame.mnuEditAnalize_Click(0);
  for (ResultSlot slot : {ResultSlot::Base, ResultSlot::Month, ResultSlot::Host}) frame.ShowResultWindow(slot);
  QApplication::processEvents();
  EXPECT_EQ(UnnamedControls(&frame), QStringList());

  frmBase* base = frame.BaseWindow();
  ASSERT_NE(base, nullptr);
  const char* parts[] = {"年", "月", "日"};
  for (int i = 0; i < 3; ++i) {
    const QString index = QString::number(i);
    QLineEdit* start = nullptr;
    QLineEdit* end = nullptr;
    for (QLineEdit* box : base->findChildren<QLineEdit*>()) {
      if (box->property("Index").toString() != index) continue;
      if (box->objectName() == QLatin1String("txtStartDate")) start = box;
      if (box->objectName() == QLatin1String("txtEndDate")) end = box;
    }
    ASSERT_TRUE(start && end);
    EXPECT_EQ(NameOf(start), QStringLiteral("開始日 ") + QString::fromUtf8(parts[i]));
    EXPECT_EQ(NameOf(end), QStringLiteral("終了日 ") + QString::fromUtf8(parts[i]));
  }
  // A combo box is read by its text with its label beside it, the label
  // being the box's buddy; the edit part carries the name itself.
  for (const auto& [box, label, name] : {std::tuple{"cmbFileName", "lblFileName", "ログファイル名"},
                                         std::tuple{"cmbPage", "lblPage", "解析ページ"}}) {
    auto* combo = base->findChild<QComboBox*>(box);
    EXPECT_EQ(NameOf(combo->lineEdit()), QString::fromUtf8(name));
    const auto labelledBy = QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
    ASSERT_FALSE(labelledBy.isEmpty()) << box;
    EXPECT_EQ(labelledBy.first().first->object(), base->findChild<QLabel*>(label));
  }
  EXPECT_EQ(NameOf(base->findChild<QLabel*>("lblTotalAccess")), QStringLiteral("アクセス合計 40"));
  EXPECT_EQ(NameOf(base->findChild<QLabel*>("lblUniqueHost")), QStringLiteral("ユニークホスト数 3"));
}

}  // namespace
}  // namespace vorel::ui
