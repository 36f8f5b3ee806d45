// The dialogs and small windows as a screen reader and a keyboard user meet
// them: every control named, Tab walking the controls in their order, the
// progress window read with its message and position, message boxes read
// with their text and Japanese buttons.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "analysis/analysis_pass.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_prompter.h"
#include "ui/accessibility_support.h"
#include "ui/ftp/frm_ftp.h"
#include "ui/main/frm_about.h"
#include "ui/main/frm_status.h"
#include "ui/options/frm_ign_list.h"
#include "ui/options/frm_options.h"
#include "ui/print/frm_paper.h"
#include "ui/ui_test_support.h"
#include "ui/urllist/frm_url.h"

namespace vorel::ui {
namespace {

class DialogAccessibilityTest : public UiTest {};

QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// A focus stop as objectName, with the index of a control array.
QString Stop(QWidget* w) {
  while (w && w->objectName().isEmpty()) w = w->parentWidget();
  if (!w) return QStringLiteral("(none)");
  QString name = w->objectName();
  const QVariant index = w->property("Index");
  if (index.isValid()) name += QStringLiteral("(%1)").arg(index.toInt());
  return name;
}

// The controls the focus visits when Tab is pressed `count` times from `first`.
QStringList TabWalk(QWidget* window, QWidget* first, int count) {
  window->show();
  window->activateWindow();
  QApplication::processEvents();
  first->setFocus(Qt::TabFocusReason);
  QStringList stops;
  for (int i = 0; i <= count; ++i) {
    QWidget* current = window->focusWidget();
    stops << Stop(current);
    if (i < count) PressKey(current, Qt::Key_Tab);
  }
  return stops;
}

QStringList Indexed(const char* name, std::initializer_list<int> indexes) {
  QStringList stops;
  for (int i : indexes) stops << QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(i);
  return stops;
}

TEST_F(DialogAccessibilityTest, OptionsDialogIsNamedOnEveryPanelAndTabWalksThePanelsInOrder) {
  settings::SetParam("IgnoreIP", settings::ParamInput{false});
  settings::SetParam("SpecifyClass", settings::ParamInput{false});
  settings::SetParam("SpecifyHost", settings::ParamInput{true});
  settings::SetParam("IgnoreHost", settings::ParamInput{true});
  frmOptions dialog(nullptr);
  dialog.show();
  auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabOptionPanel"));
  for (int tab = 0; tab < 3; ++tab) {
    tabs->setCurrentIndex(tab);
    QApplication::processEvents();
    EXPECT_EQ(UnnamedControls(&dialog), QStringList()) << "tab " << tab;
  }
  // Each colour button says which colour it sets and, beyond its name, the colour itself.
  auto* foreground = dialog.cmdColor[0];
  EXPECT_EQ(Accessible(foreground)->text(QAccessible::Name), QStringLiteral("前景色"));
  EXPECT_EQ(Accessible(dialog.cmdColor[12])->text(QAccessible::Name), QStringLiteral("エージェントのグラフの色"));
  foreground->setFaceColor(0x00FF8040);  // 0x00BBGGRR
  EXPECT_EQ(Accessible(foreground)->text(QAccessible::Description), QStringLiteral("赤 64、緑 128、青 255"));

  // The red notes are spelt out, since a listener meets their legend only after the controls.
  EXPECT_EQ(Accessible(dialog.chkSmallize)->text(QAccessible::Description), QStringLiteral("対象：ホスト名別，前画面別"));
  EXPECT_EQ(Accessible(dialog.chkSearchLike)->text(QAccessible::Description),
            QStringLiteral("対象：ＯＳ別，ブラウザ別。（解析情報ファイルの変更が必要です）"));
  EXPECT_TRUE(Accessible(dialog.txtMaxDisp)->text(QAccessible::Description)
                  .endsWith(QStringLiteral("対象：ホスト名別，前画面別，ページ別，エージェント別")));

  QStringList expected = {QStringLiteral("chkIgnoreIp"), QStringLiteral("optSpecifyClass(1)")};
  expected << QStringList{"chkCodeChange",  "chkSmallize",     "chkIgnoreIndex", "chkIgnoreQuestion",
                          "chkIgnoreSharp", "chkIgnorePortNo", "chkSearchLike",  "chkIgnorePage",
                          "cmbTimeZone",    "optRobotMode(1)", "txtLogFormat", "chkSpecifyHost", "optSpecifyHost(1)", "cmdIgnoreHost"};
  expected << Indexed("chkStartUp", {0, 1, 2, 3}) << Indexed("cmdColor", {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11})
           << QStringList{"txtMaxDisp", "cmdFontName", "cmbGraphPattern", "cmdOk", "cmdCancel", "cmdHelp", "chkIgnoreIp"};
  EXPECT_EQ(TabWalk(&dialog, dialog.chkIgnoreIp, static_cast<int>(expected.size()) - 1), expected);
}

TEST_F(DialogAccessibilityTest, FtpDialogTabGoesDownTheFieldsThenAlongTheButtonsAsTheyStand) {
  frmFtp dialog(nullptr);
  dialog.show();
  EXPECT_EQ(UnnamedControls(&dialog), QStringList());
  const QStringList expected = {"txtServerName", "txtUserName", "txtPassword", "chkSavePassword", "chkComMessage",
                                "chkOverwrite",  "txtHostDir",  "txtLocalDir", "cmdBrows",        "txtLogFileName",
                                "cmdConnect",    "cmdCancel",   "cmdSave",     "cmdHelp",         "txtServerName"};
  EXPECT_EQ(TabWalk(&dialog, dialog.txtServerName, static_cast<int>(expected.size()) - 1), expected);
  // The buttons stand on the screen in that order, left to right.
  EXPECT_LT(dialog.cmdCancel->x(), dialog.cmdSave->x());
  EXPECT_LT(dialog.cmdSave->x(), dialog.cmdHelp->x());
}

TEST_F(DialogAccessibilityTest, ListWindowIsNamedAndTabGoesFromTheListThroughItsButtons) {
  frmIgnList list(nullptr);
  list.show();
  EXPECT_EQ(UnnamedControls(&list), QStringList());
  EXPECT_EQ(TabWalk(&list, list.txtIgnList, 4),
            (QStringList{"txtIgnList", "cmdEdit", "cmdClose", "cmdHelp", "txtIgnList"}));
}

TEST_F(DialogAccessibilityTest, PrintSetupIsNamedAndTabVisitsTheBoxesTheChosenSheetAndTheButtons) {
  settings::SetParam("PaperType", 2);
  frmPaper paper(nullptr);
  paper.show();
  EXPECT_EQ(UnnamedControls(&paper), QStringList());
  // The option buttons are read within their frame's title.
  EXPECT_EQ(Accessible(paper.optPaper[0]->parentWidget())->text(QAccessible::Name), QStringLiteral("一枚あたりの項目数"));
  QStringList expected = Indexed("chkWindow", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  expected << QStringList{"optPaper(2)", "cmdNext", "cmdCancel", "cmdHelp", "chkWindow(0)"};
  EXPECT_EQ(TabWalk(&paper, paper.chkWindow[0], static_cast<int>(expected.size()) - 1), expected);
  // Back from the buttons, too, the sheet sizes are entered at the one chosen.
  paper.cmdNext->setFocus(Qt::TabFocusReason);
  QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QApplication::sendEvent(paper.cmdNext, &backtab);
  EXPECT_EQ(Stop(paper.focusWidget()), QStringLiteral("optPaper(2)"));
}

TEST_F(DialogAccessibilityTest, UrlListReadsEachRowsAddressAndCountAndGivesTheFocusBackToTheFrame) {
  std::string text;
  for (int i = 0; i < 12; ++i)
    text += "1#(index)2024/02/" + std::to_string(10 + i) + " 10:00:00\r\n2#Mozilla/4.0 (compatible; MSIE 6.0; Windows 98)\r\n3#" +
            (i < 10 ? "http://a.example.jp/links.html" : "http://b.example.jp/") + "\r\n4#pc.site" + std::to_string(i % 3) +
            ".ne.jp(10.0.0." + std::to_string(i % 3) + ")\r\n";
  UseLog(dir.Write("access.log", testing::Sjis(text)));
  frmMain& frame = OpenFrame();
  frame.mnuEditAnalize_Click(0);

  frmUrl form(&frame);
  form.show();
  EXPECT_EQ(UnnamedControls(&form), QStringList());
  // Each row reads as its address and its count, without the padding that lines the counts up.
  QAccessibleTableInterface* table = Accessible(form.lsvUrlList)->tableInterface();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 2);
  QStringList rows;
  for (int row = 0; row < 2; ++row)
    rows << table->cellAt(row, 0)->text(QAccessible::Name) + QLatin1Char('|') + table->cellAt(row, 1)->text(QAccessible::Name);
  rows.sort();
  EXPECT_EQ(rows, (QStringList{"http://a.example.jp/links.html|10", "http://b.example.jp/|2"}));
  EXPECT_EQ(TabWalk(&form, form.lsvUrlList, 4), (QStringList{"lsvUrlList", "cmdOpen", "cmdEnd", "cmdHelp", "lsvUrlList"}));
  form.close();

  // Closed from the keyboard, the list hands the keyboard back to the frame.
  QTimer::singleShot(0, [] {
    if (QWidget* open = QApplication::activeModalWidget()) PressKey(open, Qt::Key_Escape);
  });
  frame.mnuEditUrlList_Click();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &frame);
}

TEST_F(DialogAccessibilityTest, ProgressWindowIsReadAsItsMessageAndTheBarsPosition) {
  frmStatus status(nullptr);
  status.show();
  status.aauStausInit(8, "アクセスログ解析中です。");
  QAccessibleInterface* bar = Accessible(status.pbrStatus);
  ASSERT_NE(bar->valueInterface(), nullptr);
  // The screen reader reads each position as the bar reaches it.
  std::vector<int> heard;
  for (int16_t position : {1, 2}) {
    status.aauStatusChange(position);
    heard.push_back(bar->valueInterface()->currentValue().toInt());
  }
  EXPECT_EQ(heard, (std::vector<int>{1, 2}));
  EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("アクセスログ解析中です。"));
  EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 8);
  // A new message renames the bar with it.
  status.aauMessageChange("集計中です。");
  EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("集計中です。"));
  EXPECT_EQ(Accessible(&status)->text(QAccessible::Name), QStringLiteral("処理状況"));
  EXPECT_EQ(Accessible(&status)->role(), QAccessible::Dialog);
}

TEST_F(DialogAccessibilityTest, AboutBoxAndHelpWindowAreNamedAndStartOnTheirFirstControl) {
  frmAbout about(nullptr);
  about.show();
  QApplication::processEvents();
  EXPECT_EQ(UnnamedControls(&about), QStringList());
  EXPECT_EQ(about.focusWidget(), about.cmdOk);
  EXPECT_EQ(Accessible(about.cmdOk)->text(QAccessible::Name), QStringLiteral("閉じる"));
  EXPECT_TRUE(Accessible(&about)->text(QAccessible::Description).startsWith(QStringLiteral("ＨＰアクセス解析ソフト Version ")));

  platform::HelpWindow help(nullptr);
  help.show();
  EXPECT_EQ(UnnamedControls(&help), QStringList());
  EXPECT_EQ(Accessible(&help)->role(), QAccessible::Window);
  EXPECT_EQ(Accessible(&help)->text(QAccessible::Name), QStringLiteral("ＨＰアクセス解析 ヘルプ"));
  auto* text = help.findChild<QWidget*>(QStringLiteral("txtHelp"));
  EXPECT_EQ(TabWalk(&help, text, 3), (QStringList{"txtHelp", "cmdContents", "cmdClose", "txtHelp"}));
}

TEST_F(DialogAccessibilityTest, MessageBoxesReadTheirTextAndNameTheirButtonsInJapanese) {
  QStringList unnamed;
  QString name, description, focused;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    unnamed = UnnamedControls(box);
    name = Accessible(box)->text(QAccessible::Name);
    description = Accessible(box)->text(QAccessible::Description);
    for (QAbstractButton* button : box->buttons()) buttons << Accessible(button)->text(QAccessible::Name);
    focused = Accessible(box->focusWidget())->text(QAccessible::Name);
    PressKey(box->focusWidget(), Qt::Key_Space, QStringLiteral(" "));
  });
  platform::QtPrompter prompter;
  const platform::MessageAnswer answer =
      prompter.ShowMessage({"/tmp/a.txt\r\nこのファイルはすでに存在します。", "ＨＰアクセス解析", platform::MessageIcon::Question,
                            platform::MessageButtons::YesNo, platform::MessageAnswer::No});
  EXPECT_EQ(unnamed, QStringList());
  EXPECT_EQ(name, QStringLiteral("ＨＰアクセス解析"));
  EXPECT_EQ(description, QStringLiteral("/tmp/a.txt\nこのファイルはすでに存在します。"));
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"いいえ", "はい"}));
  // The default answer has the focus, so Space takes it.
  EXPECT_EQ(focused, QStringLiteral("いいえ"));
  EXPECT_EQ(answer, platform::MessageAnswer::No);
}

}  // namespace
}  // namespace vorel::ui
