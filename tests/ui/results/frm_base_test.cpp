// The summary window: loading from the settings, the date boxes, the page
// list, dropped files and the store at unload.
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "analysis/result.h"
#include "ui/results/frm_base.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class FrmBaseTest : public UiTest {
 protected:
  static QString Text(const QLineEdit* box) { return box->text(); }

  static void Drop(QObject* target, const QList<QUrl>& urls, const QString& text = QString()) {
    QMimeData data;
    if (!urls.isEmpty()) data.setUrls(urls);
    if (!text.isEmpty()) data.setText(text);
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }
};

TEST_F(FrmBaseTest, LoadsTheStoredChoicesWithDateBoxesDisabledButFilled) {
  settings::SetParam("LogFile", "/logs/old.log");
  settings::SetParam("LogFile", "/logs/new.log");
  settings::SetParam("SpecifyDate", settings::ParamInput{false});
  settings::SetParam("StartDate", "2001/2/3");
  settings::SetParam("EndDate", "2001/12/31");
  settings::SetParam("SpecifyPage", settings::ParamInput{true});
  settings::SetParam("Page", "diary");

  frmBase base;
  EXPECT_TRUE(base.aabShowMe());
  EXPECT_EQ(base.windowTitle(), QStringLiteral("解析情報"));
  EXPECT_EQ(base.cmbFileName->currentText(), QStringLiteral("/logs/new.log"));
  // The default log entry is the program folder's access.log, pushed down to entry 3.
  ASSERT_EQ(base.cmbFileName->count(), 3);
  EXPECT_EQ(base.cmbFileName->itemText(0), QStringLiteral("/logs/new.log"));
  EXPECT_EQ(base.cmbFileName->itemText(1), QStringLiteral("/logs/old.log"));
  EXPECT_EQ(base.cmbFileName->itemText(2), QString::fromStdString(dir.File("access.log")));

  EXPECT_TRUE(base.chkSpecifyDate->isChecked());
  EXPECT_EQ(Text(base.txtStartDate[0]), QStringLiteral("2001"));
  EXPECT_EQ(Text(base.txtStartDate[1]), QStringLiteral("2"));
  EXPECT_EQ(Text(base.txtStartDate[2]), QStringLiteral("3"));
  EXPECT_EQ(Text(base.txtEndDate[1]), QStringLiteral("12"));
  EXPECT_EQ(Text(base.txtEndDate[2]), QStringLiteral("31"));
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(base.txtStartDate[i]->isEnabled());
    EXPECT_FALSE(base.txtEndDate[i]->isEnabled());
  }
  EXPECT_FALSE(base.chkSpecifyPage->isChecked());
  EXPECT_TRUE(base.cmbPage->isEnabled());
  EXPECT_EQ(base.cmbPage->currentText(), QStringLiteral("diary"));
  EXPECT_EQ(base.cmbPage->count(), 2);  // diary, index
  EXPECT_EQ(base.lblTotalAccess->text(), QStringLiteral("0"));
  EXPECT_EQ(base.lblUniqueHost->text(), QStringLiteral("0"));

  // Unticking enables the six boxes; ticking the page box disables the page list.
  base.chkSpecifyDate->setChecked(false);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(base.txtStartDate[i]->isEnabled() && base.txtEndDate[i]->isEnabled());
  base.chkSpecifyPage->setChecked(true);
  EXPECT_FALSE(base.cmbPage->isEnabled());
}

TEST_F(FrmBaseTest, ControlsCarryTheirNames) {
  frmBase base;
  for (const char* name : {"lblFileName", "lblStartYear", "lblStartMonth", "lblStartDay", "lblKara", "lblEndYear",
                           "lblEndMonth", "lblEndDay", "lblPage", "lblTotalAccessTitle", "lblTotalAccess",
                           "lblUniqeHostTitle", "lblUniqueHost"})
    EXPECT_NE(base.findChild<QLabel*>(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_EQ(base.findChild<QComboBox*>(QStringLiteral("cmbFileName")), base.cmbFileName);
  EXPECT_EQ(base.findChild<QComboBox*>(QStringLiteral("cmbPage")), base.cmbPage);
  EXPECT_EQ(base.findChild<QCheckBox*>(QStringLiteral("chkSpecifyDate"))->text(), QStringLiteral("解析日付を指定しない。"));
  EXPECT_EQ(base.findChild<QCheckBox*>(QStringLiteral("chkSpecifyPage"))->text(), QStringLiteral("解析ページを指定しない。"));
  for (const char* name : {"txtStartDate", "txtEndDate"}) {
    const QList<QLineEdit*> boxes = base.findChildren<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_EQ(boxes.size(), 3) << name;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(boxes[i]->property("Index").toInt(), i);
  }
  EXPECT_EQ(base.findChild<QLabel*>(QStringLiteral("lblUniqeHostTitle"))->text(), QStringLiteral("ユニークホスト数"));
}

TEST_F(FrmBaseTest, DateBoxesTakeOnlyDigitsAndBackspace) {
  frmBase base;
  QLineEdit* month = base.txtStartDate[1];
  base.chkSpecifyDate->setChecked(false);
  month->clear();
  TypeText(month, QStringLiteral("1a-2 ｘ"));
  EXPECT_EQ(month->text(), QStringLiteral("12"));
  PressKey(month, Qt::Key_Backspace, QStringLiteral("\b"));
  EXPECT_EQ(month->text(), QStringLiteral("1"));
  TypeText(base.txtEndDate[0], QStringLiteral("/"));
  EXPECT_FALSE(base.txtEndDate[0]->text().contains(QLatin1Char('/')));

  int key = 'x';
  base.txtEndDate_KeyPress(2, key);
  EXPECT_EQ(key, 0);
  key = '7';
  base.txtEndDate_KeyPress(2, key);
  EXPECT_EQ(key, '7');
  key = 8;
  base.txtStartDate_KeyPress(0, key);
  EXPECT_EQ(key, 8);
}

TEST_F(FrmBaseTest, TabAndShiftTabLeaveTheDateBoxes) {
  frmBase base;
  base.chkSpecifyDate->setChecked(false);
  base.show();
  base.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&base));
  base.txtStartDate[0]->setFocus(Qt::OtherFocusReason);
  const QString year = base.txtStartDate[0]->text();

  QTest::keyClick(base.txtStartDate[0], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), base.txtStartDate[1]);
  QTest::keyClick(base.txtStartDate[1], Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), base.txtStartDate[0]);
  EXPECT_EQ(base.txtStartDate[0]->text(), year);
  // From the last box on to the page selection.
  base.txtEndDate[2]->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(base.txtEndDate[2], Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), base.txtEndDate[2]);
  EXPECT_EQ(base.txtEndDate[2]->text(), QString::number(settings::ParamDate("EndDate").day));
}

TEST_F(FrmBaseTest, TextCommittedByAnInputMethodKeepsOnlyItsDigits) {
  frmBase base;
  QLineEdit* day = base.txtStartDate[2];
  base.chkSpecifyDate->setChecked(false);
  day->clear();
  const auto commit = [day](const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(day, &event);
  };
  commit(QStringLiteral("２０"));
  commit(QStringLiteral("にじゅう"));
  commit(QStringLiteral("二十"));
  EXPECT_EQ(day->text(), QString());
  commit(QStringLiteral("2"));
  commit(QStringLiteral("１5日"));
  EXPECT_EQ(day->text(), QStringLiteral("25"));
}

TEST_F(FrmBaseTest, FocusSelectsTheWholeDateBox) {
  frmBase base;
  base.txtStartDate_GotFocus(0);
  EXPECT_EQ(base.txtStartDate[0]->selectedText(), base.txtStartDate[0]->text());
  EXPECT_FALSE(base.txtStartDate[0]->selectedText().isEmpty());
}

TEST_F(FrmBaseTest, PageListShowsAllTenEntriesWithoutScrolling) {
  for (int i = 10; i >= 1; --i) settings::SetParam("Page", "page" + std::to_string(i));
  frmBase base;
  base.show();
  ASSERT_EQ(base.cmbPage->count(), 10);
  EXPECT_EQ(base.cmbPage->itemText(0), QStringLiteral("page1"));
  EXPECT_GE(base.cmbPage->maxVisibleItems(), 10);
  base.cmbPage->showPopup();
  QApplication::processEvents();
  EXPECT_FALSE(base.cmbPage->view()->verticalScrollBar()->isVisible());
  base.cmbPage->hidePopup();
}

TEST_F(FrmBaseTest, DroppedFilesPutTheFirstPathIntoTheFileName) {
  frmBase base;
  Drop(base.lblFileName, {QUrl::fromLocalFile(QStringLiteral("/logs/first.log")),
                          QUrl::fromLocalFile(QStringLiteral("/logs/second.log"))});
  EXPECT_EQ(base.cmbFileName->currentText(), QStringLiteral("/logs/first.log"));

  Drop(base.cmbFileName->lineEdit(), {QUrl::fromLocalFile(QStringLiteral("/logs/other.log"))});
  EXPECT_EQ(base.cmbFileName->currentText(), QStringLiteral("/logs/other.log"));

  // Data that is no list of files changes nothing; nothing is analysed either.
  Drop(base.lblFileName, {}, QStringLiteral("just text"));
  EXPECT_EQ(base.cmbFileName->currentText(), QStringLiteral("/logs/other.log"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FrmBaseTest, ClosingStoresTheFieldsAndKeepsADateThatIsNoDate) {
  settings::SetParam("StartDate", "2001/2/3");
  settings::SetParam("EndDate", "2001/3/4");
  frmBase base;
  base.show();
  base.cmbFileName->setEditText(QStringLiteral("/logs/typed.log"));
  base.chkSpecifyDate->setChecked(true);
  base.txtStartDate[1]->clear();
  base.txtEndDate[0]->setText(QStringLiteral("2002"));
  base.chkSpecifyPage->setChecked(true);
  base.cmbPage->setEditText(QStringLiteral("bbs"));

  base.close();
  EXPECT_FALSE(base.aabShowMe());
  EXPECT_EQ(settings::ParamText("LogFile", 1), "/logs/typed.log");
  EXPECT_FALSE(settings::ParamFlag("SpecifyDate"));
  EXPECT_EQ(settings::FormatDate(settings::ParamDate("StartDate")), "2001/2/3");
  // Dates and page are stored even with their restriction switched off.
  EXPECT_EQ(settings::FormatDate(settings::ParamDate("EndDate")), "2002/3/4");
  EXPECT_FALSE(settings::ParamFlag("SpecifyPage"));
  EXPECT_EQ(settings::ParamText("Page", 1), "bbs");
  EXPECT_EQ(settings::ParamText("Page", 2), "index");
}

}  // namespace
}  // namespace vorel::ui
