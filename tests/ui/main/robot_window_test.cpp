// The robots in the desktop program: a server log's robots counted apart show
// in the summary beside the total and in their own graph window, opened from
// the View menu; the options dialog sets RobotMode.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "ui/main/frm_main.h"
#include "ui/options/frm_options.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_windows.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

using RobotWindowTest = UiTest;

QStringList ItemNames(QWidget* picture) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picture);
  QStringList names;
  for (int i = 0; list && i < list->childCount(); ++i) names << list->child(i)->text(QAccessible::Name);
  return names;
}

TEST_F(RobotWindowTest, AServerLogsRobotsShowInTheSummaryAndInTheirOwnGraph) {
  settings::SetParam("VisibleWindow", 1);
  const std::string line = " - - [10/Oct/2026:13:55:36 +0900] \"GET /diary/ HTTP/1.1\" 200 10 \"-\" \"";
  UseLog(dir.Write("access_log", "66.249.66.1" + line + "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)\"\n" +
                                     "66.249.66.1" + line + "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)\"\n" +
                                     "192.0.2.7" + line + "Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:121.0) Gecko/20100101 Firefox/121.0\"\n"));
  frmMain& main = OpenFrame();
  frmBase* base = main.BaseWindow();
  base->cmbFileName->setEditText(QString::fromStdString(settings::ParamText("LogFile", 1)));
  main.mnuEditAnalize_Click(0);
  ASSERT_TRUE(prompter.messages.empty());
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("1"));
  EXPECT_EQ(base->lblRobotAccess->text(), QStringLiteral("2"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(base->lblRobotAccess)->text(QAccessible::Name),
            base->lblRobotAccessTitle->text() + QStringLiteral(" 2"));
  EXPECT_EQ(base->lblUniqueHost->text(), QStringLiteral("1"));

  main.MenuItem("mnuViewRobot")->trigger();
  GraphWindow* robots = main.Graph(GraphKind::Robot);
  ASSERT_NE(qobject_cast<frmRobot*>(robots), nullptr);
  EXPECT_TRUE(qobject_cast<frmRobot*>(robots)->aayShowMe());
  EXPECT_EQ(robots->windowTitle(), QString::fromUtf8(TraitsOf(GraphKind::Robot).caption));
  EXPECT_EQ(ItemNames(robots->picture()), QStringList{QStringLiteral("Googlebot ( 2 )")});
}

TEST_F(RobotWindowTest, TheOptionsDialogSetsRobotModeWithThreeNamedOptionButtons) {
  settings::SetParam("RobotMode", 2);
  frmOptions dialog(nullptr);
  dialog.show();
  for (int mode = 0; mode < 3; ++mode) {
    QRadioButton* button = dialog.optRobotMode[static_cast<size_t>(mode)];
    EXPECT_EQ(button->text(), QString::fromUtf8(kRobotModeCaptions[static_cast<size_t>(mode)]));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), button->text());
    EXPECT_EQ(button->isChecked(), mode == 2);
  }
  dialog.optRobotMode[0]->setChecked(true);
  dialog.cmdOk_Click();
  EXPECT_EQ(settings::ParamInt("RobotMode"), 0);
}

}  // namespace
}  // namespace vorel::ui
